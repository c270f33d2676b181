#pragma once

// Every group an account or a group belongs to: directly, through nesting and through an
// account's primary group, each with every chain of memberships that makes it a member. What an
// access review asks: of what is this object a member, and why.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace arbrix {

class SessionAD;

struct CheminAppartenance {
    QString dnGroupe; // the group reached
    QString type;     // its kind and scope, translated
    QString description;
    QStringList noms; // the object's name, then each group's along the chain, the group reached last
};

struct AppartenancesEffectives {
    QString nom;
    // Depth first: a group, then the groups it belongs to; siblings by name.
    QList<CheminAppartenance> chemins;
    // The chains that came back to a group already on them, cut there (names, that group last).
    QList<QStringList> cycles;
    // More chains than are listed (a nesting so tangled that they run into the tens of thousands).
    bool tronque = false;
};

// The memberships of the object at dn, every chain, or the direct ones alone (chains of one step)
// when effectives is false; nullopt when there is no object at dn. Raises DirectoryError.
std::optional<AppartenancesEffectives> LitAppartenancesEffectives(SessionAD& session, const QString& dn,
                                                                  bool effectives = true);

// "name > group > group", as the terminal and the window show a chain.
QString TexteChemin(const QStringList& noms);

} // namespace arbrix
