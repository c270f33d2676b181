#pragma once

// What a node of the tree shows of a directory object: the image keys of groups and accounts,
// the type letters of accounts, the label of an account, and the tag of a node's container.

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace arbrix {

// "grp_sec" / "grp_dis" by bit 31, then "_rec" when recursive, else "_loc" (4), "_glo" (2) or
// "_uni" (8), tested in that order; no scope bit gives the base alone.
QString CleTypeGroupe(qint32 groupType, bool recursif);

// The type letter of a member category key: "U", "C", "S" for accounts, "K" for a contact, "F"
// for a foreign security principal, "?" for anything else.
QChar LettreTypeCompte(const QString& categorie);
// True for the letters of members that are neither accounts nor groups ("K", "F", "?").
bool EstAutreMembre(QChar lettre);

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

// An account node's label and image key.
struct AspectCompte {
    QString texte;
    QString image;
};

// The name an account is shown by: the display name of a person (an "objectCategory" of
// "CN=Person,..."), the common name of another account; when that is empty, the common name,
// then the account name.
QString NomCompte(const QString& objectCategory, const QString& displayName, const QString& cn,
                  const QString& sam);

// The name, then the account name in lower case in brackets; with the locked/expired check on,
// the expiry note of an account that is not locked and expires.
AspectCompte AspectDuCompte(const QString& categorie, const QString& nom, const QString& sam,
                            const EtatCompte& etat, bool controlerVerrouilleExpire,
                            const QDateTime& maintenant);

// The container tag of a node tag: "O" + the part of the tag after its first unescaped ","
// (a comma inside a name, written "\,", does not count). Empty when the DN has no container.
QString TagConteneur(const QString& tag);

} // namespace arbrix
