#pragma once

// Classification of directory objects by their classes (the account category), and the text
// rules that put directory names into query texts and object paths.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

namespace arbrix {

// "svce" (managed service accounts, standalone or group), "comp", "user" (anything that is a
// "person" but not a contact) or "?", tested in that order on the objectClass values, without
// regard to case.
QString CleCategorieCompte(const QStringList& objectClass);
// The same for a field or attribute value: a QStringList, a single text, or null ("?").
QString CleCategorieCompte(const QVariant& objectClass);
// The category of a group's member that is no group: an account's category, else "contact",
// "fsp" (a foreign security principal) or "autre".
QString CleCategorieMembre(const QStringList& objectClass);
QString CleCategorieMembre(const QVariant& objectClass);

// True when one element compares equal to texte; mode 1 ignores case, mode 0 is exact.
bool TableauContient(const QStringList& valeurs, const QString& texte, int mode = 1);
bool TableauContient(const QVariant& valeurs, const QString& texte, int mode = 1);

// The DN with every "/" written "\/" (as object paths need it).
QString EchappeCheminLDAP(const QString& dn);

// The object path of a DN: "LDAP://", then baseRechercheAD + "/" in access mode 2, then the DN
// with "/" escaped. baseRechercheAD is the session's value (quotes doubled).
QString CheminObjet(const QString& dn, qint16 accesAD, const QString& baseRechercheAD);
// The credentials prefix alone: baseRechercheAD + "/" in mode 2, else empty.
QString PrefixeCheminObjet(qint16 accesAD, const QString& baseRechercheAD);

// Quoting for SQL-form query texts: every "'" doubled.
QString DoubleApostrophes(const QString& texte);

} // namespace arbrix
