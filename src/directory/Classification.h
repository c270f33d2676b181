#pragma once

// Classification of directory objects into the program's image keys and type letters, and the
// text rules that put directory names into query texts and object paths.

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

namespace arbrix {

// "grp_sec" / "grp_dis" by bit 31, then "_rec" when recursive, else "_loc" (4), "_glo" (2) or
// "_uni" (8), tested in that order; no scope bit gives the base alone.
QString CleTypeGroupe(qint32 groupType, bool recursif);

// "svce" (managed service accounts, standalone or group), "comp", "user" (anything that is a
// "person") or "?", tested in that order on the objectClass values, without regard to case.
QString CleCategorieCompte(const QStringList& objectClass);
// The same for a field or attribute value: a QStringList, a single text, or null ("?").
QString CleCategorieCompte(const QVariant& objectClass);

// True when one element compares equal to texte; mode 1 ignores case, mode 0 is exact.
bool TableauContient(const QStringList& valeurs, const QString& texte, int mode = 1);
bool TableauContient(const QVariant& valeurs, const QString& texte, int mode = 1);

// The type letter of an account category key: "U", "C", "S" or "?".
QChar LettreTypeCompte(const QString& categorie);

// The state of an account, as its image key and expiry note need it.
struct EtatCompte {
    bool desactive = false;  // userAccountControl & 2
    bool verrouille = false; // IsAccountLocked
    QDateTime expiration;    // AccountExpirationDate
};

// True when an expiry date means "never": its date part is 1601-01-01 or 1970-01-01, or it is
// invalid.
bool ExpirationJamais(const QDateTime& expiration);
// True when the account has expired at maintenant (expiry not later than now, and not "never").
bool CompteExpire(const QDateTime& expiration, const QDateTime& maintenant);

// The account image key: category, "_ina" when disabled; with the locked/expired check on,
// "_ver" when locked, else "_exp" when expired, replacing "_ina".
QString CleImageCompte(const QString& categorie, const EtatCompte& etat, bool controlerVerrouilleExpire,
                       const QDateTime& maintenant);

// The DN with every "/" written "\/" (as object paths need it).
QString EchappeCheminLDAP(const QString& dn);

// The object path of a DN: "LDAP://", then baseRechercheAD + "/" in access mode 2, then the DN
// with "/" escaped. baseRechercheAD is the session's value (quotes doubled).
QString CheminObjet(const QString& dn, qint16 accesAD, const QString& baseRechercheAD);
// The credentials prefix alone: baseRechercheAD + "/" in mode 2, else empty.
QString PrefixeCheminObjet(qint16 accesAD, const QString& baseRechercheAD);

// Quoting for SQL-form query texts: every "'" doubled.
QString DoubleApostrophes(const QString& texte);

// The container tag of a node tag: "O" + the part of the tag after its first unescaped ","
// (a comma inside a name, written "\,", does not count). Empty when the DN has no container.
QString TagConteneur(const QString& tag);

} // namespace arbrix
