#pragma once

// What the icons of the tree mean: the legend of the help menu and the tooltips of the nodes,
// both in the user's language.

#include <QString>
#include <QStringList>

namespace arbrix {

class Noeud;

// The image keys the legend lists, in its order (no drag variants).
const QStringList& ClesLegende();

// The meaning of an image key ("Groupe de sécurité - Global", "Compte utilisateur, verrouillé");
// empty for an unknown key.
QString TexteImage(const QString& cle);

// A node's tooltip: its kind (and a group's scope or an account's state, an expiry with its
// date), then its DN.
QString InfoBulleNoeud(const Noeud& noeud);

} // namespace arbrix
