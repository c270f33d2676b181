// Creating a group under an O.U. node, or beside a group node and as its member.

#include "directory/DirectoryError.h"
#include "groupops/NomGroupe.h"
#include "groupops/OperationsGroupes.h"
#include "settings/Parametres.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/Interaction.h"

#include <algorithm>

namespace arbrix {

IssueOperation OperationsGroupes::CreeGroupe(Noeud* noeud) {
    // A name taken is told while the dialog is still open, so that nothing is typed again.
    const auto controle = [this](const QString& nom) -> std::optional<QString> {
        try {
            return m_annuaire.RefusNouveauGroupe(NomGroupeNettoye(nom));
        } catch (const DirectoryError& e) {
            return TexteErreurOperation(e);
        }
    };
    const std::optional<ChoixCreationGroupe> choix =
        m_interaction.DemandeCreationGroupe(m_parametres.TypeGroupe, m_parametres.EtendueGroupe, controle);
    if (!choix)
        return IssueOperation::Annulee;
    return CreeGroupe(noeud, *choix);
}

IssueOperation OperationsGroupes::CreeGroupe(Noeud* noeud, const ChoixCreationGroupe& choix) {
    m_parametres.TypeGroupe = qint16(choix.type == 0 ? 0 : 1);
    m_parametres.EtendueGroupe = qint16(std::clamp(choix.etendue, 0, 2));
    const QString tag = noeud->Tag();
    const QString cle = noeud->Key();
    const bool dansGroupe = !tag.startsWith(u'O');
    bool membre = false;
    std::optional<Changement> cree;
    const IssueOperation issue = execute(
        [&](const Changement& c) {
            if (c.nature == Changement::Nature::Creation)
                cree = c;
            else
                membre = true;
            if (c.nature == Changement::Nature::Ajout || !dansGroupe)
                ajouteSousInstances(tag, cle, c.nom, u'G' + c.dn, CleTypeGroupe(c.groupType, false));
        },
        [&] { return m_annuaire.CreeGroupe(noeud->DN(), dansGroupe, choix); });
    // Created, but not a member of the group: shown where the analysis would show it.
    if (cree && dansGroupe && !membre)
        retablitAuNiveauOU(cree->nom, u'G' + cree->dn, CleTypeGroupe(cree->groupType, false), true);
    return issue;
}

} // namespace arbrix
