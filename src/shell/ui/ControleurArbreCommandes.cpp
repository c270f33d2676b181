// The commands of the tree's context menu: copies, opening a branch elsewhere, the account
// tool, messages, and the group operations with their dialogs and the rename in place.

#include "directory/Dn.h"
#include "groupops/OperationsGroupes.h"
#include "groupops/ui/frmAjoutMembres.h"
#include "groupops/ui/frmProprietesCompte.h"
#include "i18n/Traductions.h"
#include "menus/Copie.h"
#include "menus/MenusNoeuds.h"
#include "menus/ui/PressePapiers.h"
#include "netsend/ui/EnvoiDepuisArbre.h"
#include "shell/Commandes.h"
#include "shell/Programme.h"
#include "shell/ui/ControleurArbre.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"
#include "tree/ui/ModeleArbre.h"
#include "tree/ui/PointeurAttente.h"

#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

bool estCompte(QChar lettre) {
    return lettre == u'U' || lettre == u'C' || lettre == u'S';
}

} // namespace

bool ControleurArbre::AfficheProprietes(const Noeud* noeud) {
    if (!noeud || !estCompte(noeud->LettreType()) || !m_session)
        return false;
    frmProprietesCompte::Affiche(m_liens.fenetre, *m_session, noeud->DN(), m_liens.etat.CheminOutilCompte);
    return true;
}

std::optional<clsPopupMenu> ControleurArbre::menuDe(const Noeud* noeud) const {
    ContexteNoeud contexte;
    contexte.tag = noeud->Tag();
    contexte.tagParent = noeud->Parent() ? noeud->Parent()->Tag() : QString();
    contexte.estRacine = noeud->Parent() == nullptr;
    contexte.outilCompteDisponible = !m_liens.etat.CheminOutilCompte.isEmpty();
    contexte.operations = Operations();
    return MenuDuNoeud(contexte);
}

// The Delete key does what the menu offers first: take the member out of its group, else delete
// the group; each with its own confirmation.
void ControleurArbre::SupprimeSelection() {
    Noeud* noeud = noeudSelectionne();
    const std::optional<clsPopupMenu> menu = noeud ? menuDe(noeud) : std::nullopt;
    if (!menu)
        return;
    for (const int identifiant : {IdMenu::RetirerCompte, IdMenu::RetirerGroupe, IdMenu::SupprimerGroupe}) {
        if (const ElementMenu* element = menu->Element(identifiant); element && element->EstActif()) {
            ExecuteCommandeNoeud(noeud, identifiant);
            return;
        }
    }
}

void ControleurArbre::AfficheMenuNoeud(Noeud* noeud, std::optional<QPoint> position) {
    const std::optional<clsPopupMenu> menu = menuDe(noeud);
    if (!menu)
        return;
    const QString cle = noeud->Key();
    const int choix = IdentifiantRetenu(
        noeud->LettreType(), position ? menu->TrackPopup(position->x(), position->y()) : menu->TrackPopup());
    // The node may have gone while the menu was open.
    Noeud* encore = m_arbre.Node(cle);
    if (choix != IdMenu::Annuler && encore)
        ExecuteCommandeNoeud(encore, choix);
}

void ControleurArbre::ExecuteCommandeNoeud(Noeud* noeud, int identifiant) {
    if (const std::optional<QString> texte =
            TexteCopieDuNoeud(identifiant, {noeud->Text(), noeud->Key(), noeud->Tag()})) {
        // Copy name items cut at the count; the account and DN items copy as they are.
        if (identifiant == IdMenu::CopierCompte || identifiant == IdMenu::CopierDistinguishedName)
            CopieTexte(*texte);
        else
            CopieNom(*texte);
        return;
    }
    const ContexteEnvoi envoi{m_liens.fenetre, m_liens.interaction, m_session, m_liens.etat.Config};
    switch (identifiant) {
    case IdMenu::OuvrirAPartirDeCePoint:
        ouvreAPartirDuNoeud(false);
        break;
    case IdMenu::OuvrirAPartirDeCePointNouvelleInstance:
        ouvreAPartirDuNoeud(true);
        break;
    case IdMenu::OuvrirOUParente:
        ouvreOUParente(false);
        break;
    case IdMenu::OuvrirOUParenteNouvelleInstance:
        ouvreOUParente(true);
        break;
    case IdMenu::GroupeMembreDe:
    case IdMenu::CompteMembreDe:
        emit appartenancesDemandees(noeud);
        break;
    case IdMenu::Exporter:
        emit exportDemande(noeud);
        break;
    case IdMenu::InfosCompte:
        if (estCompte(noeud->LettreType()))
            lanceOutilCompte(CompteDeLaCle(noeud->Key()));
        break;
    case IdMenu::MessageNetSend:
        if (estCompte(noeud->LettreType()))
            EnvoieMessageCompte(envoi, noeud);
        else
            EnvoieMessageMembres(envoi, noeud);
        break;
    default:
        executeOperationGroupe(noeud, identifiant);
        break;
    }
}

// --- Opening elsewhere

void ControleurArbre::ouvreAPartirDuNoeud(bool nouvelleInstance) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    const QString dn = DnDuTag(noeud->Tag());
    if (nouvelleInstance)
        LanceCommande(CommandeNouvelleInstance(dn));
    else
        emit ouvertureDemandee(noeud->LettreType() == u'O' ? 0 : 1, dn);
}

void ControleurArbre::ouvreOUParente(bool nouvelleInstance) {
    Noeud* noeud = noeudSelectionne();
    if (!noeud)
        return;
    // The parent is found by parsing the DN, so an escaped comma in the node's own name
    // ("CN=Dupont\, Jean,OU=Sales,...") does not cut it in the wrong place.
    const QString parent = DnParent(DnDuTag(noeud->Tag()));
    if (!parent.startsWith(u"OU"_s)) {
        m_liens.interaction.Message(Traduction(u"MSG_ERREUR_PREMIER_ELEMENT"), IconeMessage::Exclamation);
        return;
    }
    if (nouvelleInstance)
        LanceCommande(CommandeNouvelleInstance(parent));
    else
        emit ouvertureDemandee(0, parent);
}

void ControleurArbre::lanceOutilCompte(const QString& argument) {
    if (!m_liens.etat.CheminOutilCompte.isEmpty())
        LanceCommande(CommandeOutilCompte(m_liens.etat.CheminOutilCompte, argument));
}

// --- Group operations

void ControleurArbre::executeOperationGroupe(Noeud* noeud, int identifiant) {
    if (!m_operations)
        return;
    PointeurAttente& pointeur = m_liens.pointeur;
    switch (identifiant) {
    case IdMenu::CreerGroupe:
        pointeur.Pendant([&] { m_operations->CreeGroupe(noeud); });
        break;
    case IdMenu::RetirerGroupe:
        pointeur.Pendant([&] { m_operations->RetireMembre(noeud); });
        break;
    case IdMenu::RetirerCompte:
        pointeur.Pendant([&] { m_operations->RetireCompte(noeud); });
        break;
    case IdMenu::SupprimerGroupe:
        pointeur.Pendant([&] { m_operations->SupprimeGroupe(noeud); });
        break;
    case IdMenu::RenommerGroupe:
        prepareRenommage(noeud);
        break;
    case IdMenu::AjouterComptes:
    case IdMenu::AjouterGroupes:
        ajouteMembres(noeud, identifiant == IdMenu::AjouterGroupes);
        break;
    default:
        break;
    }
}

void ControleurArbre::ajouteMembres(Noeud* noeud, bool groupes) {
    if (!noeud || noeud->LettreType() != u'G' || !m_session)
        return;
    const QString cle = noeud->Key();
    const QList<MembreChoisi> choix = ChoisitMembres(m_liens.fenetre, *m_session, m_liens.interaction,
                                                     groupes ? GenreMembre::Groupe : GenreMembre::Compte);
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
    m_liens.pointeur.Pendant([&] {
        if (groupes)
            m_operations->AjouteGroupes(noeud, groupesChoisis);
        else
            m_operations->AjouteComptes(noeud, comptes);
    });
}

void ControleurArbre::prepareRenommage(Noeud* noeud) {
    if (!noeud || noeud->LettreType() != u'G' || !m_operations)
        return;
    const QModelIndex index = m_modele->indexDe(noeud);
    tvwGroupes->setCurrentIndex(index);
    tvwGroupes->edit(index);
}

void ControleurArbre::termineRenommage(const QString& cle, const QString& texte) {
    // After the editor has closed: the operation may show messages.
    QTimer::singleShot(0, this, [this, cle, texte] {
        if (Noeud* noeud = m_arbre.Node(cle); noeud && m_operations)
            m_liens.pointeur.Pendant([&] { m_operations->RenommeGroupe(noeud, texte); });
    });
}

} // namespace arbrix
