// The group operations from the main window: the context menu items, the creation dialog and
// the rename in place (F2 or the menu), all on the core's operations.

#include "groupops/OperationsGroupes.h"
#include "groupops/ui/frmAjoutMembres.h"
#include "menus/MenusNoeuds.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/ui/ModeleArbre.h"

#include <QTimer>
#include <QTreeView>

namespace arbrix {

void frmPrincipal::ExecuteOperationGroupe(Noeud* noeud, int identifiant) {
    if (!m_operations)
        return;
    switch (identifiant) {
    case IdMenu::CreerGroupe:
        enAttente([&] { m_operations->CreeGroupe(noeud); });
        break;
    case IdMenu::RetirerGroupe:
        enAttente([&] { m_operations->RetireMembre(noeud); });
        break;
    case IdMenu::RetirerCompte:
        enAttente([&] { m_operations->RetireCompte(noeud); });
        break;
    case IdMenu::SupprimerGroupe:
        enAttente([&] { m_operations->SupprimeGroupe(noeud); });
        break;
    case IdMenu::RenommerGroupe:
        PrepareRenommage(noeud);
        break;
    case IdMenu::AjouterComptes:
    case IdMenu::AjouterGroupes:
        AjouteMembres(noeud, identifiant == IdMenu::AjouterGroupes);
        break;
    default:
        break;
    }
}

void frmPrincipal::AjouteMembres(Noeud* noeud, bool groupes) {
    if (!noeud || noeud->LettreType() != u'G' || !m_session)
        return;
    const QString cle = noeud->Key();
    const QList<MembreChoisi> choix =
        ChoisitMembres(this, *m_session, *this, groupes ? GenreMembre::Groupe : GenreMembre::Compte);
    noeud = m_arbre.Node(cle);
    if (choix.isEmpty() || !noeud)
        return;
    QList<CompteChoisi> comptes;
    QList<GroupeChoisi> groupesChoisis;
    for (const MembreChoisi& m : choix) {
        if (const auto* g = std::get_if<GroupeChoisi>(&m))
            groupesChoisis.append(*g);
        else
            comptes.append(std::get<CompteChoisi>(m));
    }
    enAttente([&] {
        if (groupes)
            m_operations->AjouteGroupes(noeud, groupesChoisis);
        else
            m_operations->AjouteComptes(noeud, comptes);
    });
}

// The label is edited as the name alone; Escape gives it back, Enter renames (TermineRenommage).
void frmPrincipal::PrepareRenommage(Noeud* noeud) {
    if (!noeud || noeud->LettreType() != u'G' || !m_operations)
        return;
    const QModelIndex index = m_modele->indexDe(noeud);
    tvwGroupes->setCurrentIndex(index);
    tvwGroupes->edit(index);
}

void frmPrincipal::TermineRenommage(const QString& cle, const QString& texte) {
    // After the editor has closed: the operation may show messages.
    QTimer::singleShot(0, this, [this, cle, texte] {
        if (Noeud* noeud = m_arbre.Node(cle); noeud && m_operations)
            enAttente([&] { m_operations->RenommeGroupe(noeud, texte); });
    });
}

} // namespace arbrix
