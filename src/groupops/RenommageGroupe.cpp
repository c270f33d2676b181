// Renaming a group: every instance takes the new name and DN, the relative name having changed
// even when the account name could not follow.

#include "groupops/OperationsGroupes.h"
#include "tree/Arbre.h"

namespace arbrix {

IssueOperation OperationsGroupes::RenommeGroupe(Noeud* noeud, const QString& nouveauNom) {
    const QString ancienTag = noeud->Tag();
    return execute([&](const Changement& c) { renommeInstances(ancienTag, u'G' + c.autre, c.nom); },
                   [&] { return m_annuaire.RenommeGroupe(noeud->DN(), nouveauNom); });
}

} // namespace arbrix
