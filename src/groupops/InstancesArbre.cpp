#include "groupops/InstancesArbre.h"

#include "tree/Arbre.h"

namespace arbrix {

QList<Noeud*> Instances(const Arbre& arbre, const QString& tag) {
    QList<Noeud*> trouves;
    for (int i = 0; i < arbre.TopLevelCount(); ++i) {
        arbre.ParcoursPrefixe(arbre.TopLevel(i), [&](Noeud* n) {
            if (n->Tag() == tag)
                trouves.append(n);
            return true;
        });
    }
    return trouves;
}

Noeud* EnfantDeTag(const Noeud* parent, const QString& tag) {
    for (int i = 0; i < parent->ChildCount(); ++i) {
        if (parent->Child(i)->Tag() == tag)
            return parent->Child(i);
    }
    return nullptr;
}

} // namespace arbrix
