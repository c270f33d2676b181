#include "shell/ui/Dialogues.h"

#include "tree/ui/BoiteMessage.h"

#include "about/ui/frmAPropos.h"
#include "config/ui/frmConfiguration.h"
#include "groupops/Appartenances.h"
#include "i18n/Traductions.h"
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
    principal->zoneRecherche().ChangeType(groupe.TypeObjet);
    principal->LanceAnalyse(principal->parametres().AnalyseParDefaut, groupe.DistinguishedName);
}

bool AfficheConfiguration(frmPrincipal* principal) {
    const std::optional<IssueConfiguration> issue =
        frmConfiguration::Affiche(principal, principal->etat().Config, principal->memos());
    if (!issue)
        return false;
    // The directory access changed: only a new start opens the new session. The user says when;
    // later, the settings are kept for the next start.
    if (issue->RedemarrageDemande &&
        principal->Message(Traduction(u"MSG_REDEMARRER_MAINTENANT"), IconeMessage::Question,
                           BoutonsMessage::OuiNon, ReponseMessage::Oui) == ReponseMessage::Oui)
        principal->etat().RedemarrageDemande = true;
    return true;
}

void AfficheAPropos(QWidget* parent) {
    frmAPropos::Affiche(parent);
}

namespace {
QPointer<frmRechercher>& fenetreRechercher() {
    static QPointer<frmRechercher> fenetre;
    return fenetre;
}
} // namespace

void AfficheRechercher(frmPrincipal* principal) {
    QPointer<frmRechercher>& fenetre = fenetreRechercher();
    if (!fenetre)
        fenetre = new frmRechercher(principal->arbre(), *principal, principal);
    fenetre->show();
    fenetre->raise();
    fenetre->activateWindow();
}

void FermeRechercher() {
    if (QPointer<frmRechercher>& fenetre = fenetreRechercher())
        fenetre->close();
}

void AfficheAvertissementBeta(QWidget* parent) {
    AfficheMessage(parent, QStringLiteral("ATTENTION, version bêta !"), IconeMessage::Aucune,
                   BoutonsMessage::Ok, ReponseMessage::Ok, TitreApplication(), false);
}

} // namespace arbrix
