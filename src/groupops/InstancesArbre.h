#pragma once

// The instances of one object in the tree: the same O.U. or group may be shown at several places.

#include <QList>
#include <QString>

namespace arbrix {

class Arbre;
class Noeud;

// Every node whose Tag is tag, in pre-order.
QList<Noeud*> Instances(const Arbre& arbre, const QString& tag);
// The child of parent whose Tag is tag, or nullptr.
Noeud* EnfantDeTag(const Noeud* parent, const QString& tag);

} // namespace arbrix
