#include "shell/ui/Dialogues.h"

#include "about/ui/frmAPropos.h"
#include "config/ui/frmConfiguration.h"
#include "groupops/Appartenances.h"
#include "search/ui/frmListeOccurrences.h"
#include "search/ui/frmRechercher.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Version.h"
#include "tree/Arbre.h"

#include <QPointer>

namespace arbrix {

std::optional<int> ChoisitDansListeOccurrences(frmPrincipal* principal, const ListeOccurrences& occurrences) {
    return frmListeOccurrences::Choisit(principal, occurrences);
}

void AfficheAppartenances(frmPrincipal* principal, Noeud* noeud) {
    if (!noeud || !principal->session())
        return;
    const std::optional<Appartenances> liste =
        ListeAppartenances(*principal->session(), noeud->DN(), *principal);
    if (!liste)
        return;
    const std::optional<int> choix = frmListeOccurrences::Choisit(
        principal, liste->groupes, frmListeOccurrences::Usage::Appartenances, liste->titre);
    if (!choix)
        return;
    // A chosen group opens in the tree, as a choice among found objects does.
    const clsOccurrence& groupe = liste->groupes.at(*choix);
    principal->ChangeTypeRecherche(groupe.TypeObjet);
    principal->LanceAnalyse(principal->paramètres().AnalyseParDéfaut, groupe.DistinguishedName);
}

bool AfficheConfiguration(frmPrincipal* principal) {
    const std::optional<IssueConfiguration> issue =
        frmConfiguration::Affiche(principal, principal->état().Config, principal->mémos());
    if (!issue)
        return false;
    // The directory access changed: only a new start opens the new session.
    if (issue->RedémarrageDemandé)
        principal->état().RedémarrageDemandé = true;
    return true;
}

void AfficheAPropos(QWidget* parent) {
    frmAPropos::Affiche(parent);
}

namespace {
QPointer<frmRechercher>& fenêtreRechercher() {
    static QPointer<frmRechercher> fenêtre;
    return fenêtre;
}
} // namespace

void AfficheRechercher(frmPrincipal* principal) {
    QPointer<frmRechercher>& fenêtre = fenêtreRechercher();
    if (!fenêtre)
        fenêtre = new frmRechercher(principal->arbre(), *principal, principal);
    fenêtre->show();
    fenêtre->raise();
    fenêtre->activateWindow();
}

void FermeRechercher() {
    if (QPointer<frmRechercher>& fenêtre = fenêtreRechercher())
        fenêtre->close();
}

void AfficheAvertissementBêta(QWidget* parent) {
    AfficheMessage(parent, QStringLiteral("ATTENTION, version bêta !"), IcôneMessage::Aucune,
                   BoutonsMessage::Ok, RéponseMessage::Ok, TitreApplication(), false);
}

} // namespace arbrix
