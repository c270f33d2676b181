#pragma once

// What the properties of an account show: its names, its state with its dates, its mail,
// description and manager, and the groups it belongs to directly. Read-only; the properties
// window and "arbrix-cli properties" print the same rows.

#include "tree/Occurrence.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace arbrix {

class DirectoryObject;
class SessionAD;

struct LigneProprietes {
    QString libelle; // translated
    QString valeur;
};

struct ProprietesCompte {
    QString dn;
    QString nom;      // the name the tree shows the account by
    QString compte;   // sAMAccountName: what the account tool is given
    QString cleImage; // the image key of its kind and state, as in the tree
    QList<LigneProprietes> lignes;
    // The groups of which it is a direct member, its primary group with them, sorted by name.
    ListeOccurrences groupes;
};

// The account at dn (a user, a computer or a managed service account), its state judged at
// maintenant; nullopt when there is no object at dn or it is no account. Other directory
// failures raise DirectoryError.
std::optional<ProprietesCompte> LitProprietesCompte(SessionAD& session, const QString& dn,
                                                    const QDateTime& maintenant);

// The groups of which the object dn is a direct member: those naming it in "member", and the
// primary group of that SID when one is given (it never names its members), sorted by name. A
// group of another domain, or one that may not be read, is left out. Raises DirectoryError.
ListeOccurrences GroupesDirects(SessionAD& session, const QString& dn,
                                const QByteArray& sidGroupePrincipal = {});
// The object at dn, bound; nullptr when there is none. Other failures raise DirectoryError.
std::unique_ptr<DirectoryObject> LieSiPresent(SessionAD& session, const QString& dn);
// The SID of an account's primary group, from its "objectSid" and "primaryGroupID"; empty for an
// object without one (a group).
QByteArray SidDuGroupePrincipal(const DirectoryObject& compte);

// "Propriétés de <name>" translated.
QString TitreProprietes(const ProprietesCompte& proprietes);
// "<name> n'est membre d'aucun groupe." translated.
QString TexteAucunGroupe(const QString& nom);

} // namespace arbrix
