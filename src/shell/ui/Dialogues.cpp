#include "shell/ui/Dialogues.h"

#include "tree/ui/BoiteMessage.h"

#include "about/ui/frmAPropos.h"
#include "config/ui/frmConfiguration.h"
#include "groupops/ui/frmAppartenances.h"
#include "i18n/Traductions.h"
#include "menus/Copie.h"
#include "search/ui/frmListeOccurrences.h"
#include "search/ui/frmRechercher.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Texte.h"
#include "text/Version.h"
#include "tree/Arbre.h"

#include <QPointer>

namespace arbrix {

using namespace Qt::StringLiterals;

std::optional<int> ChoisitDansListeOccurrences(frmPrincipal* principal, const ListeOccurrences& occurrences) {
    return frmListeOccurrences::Choisit(principal, occurrences);
}

void AfficheAppartenances(frmPrincipal* principal, Noeud* noeud) {
    if (!noeud || !principal->session())
        return;
    const bool groupe = noeud->LettreType() == u'G';
    const QString titre =
        FormateMessage(Traduction(groupe ? u"TXT_GROUPE_MEMBRE_DE" : u"TXT_COMPTE_MEMBRE_DE"),
                       {groupe ? NomDuLibelle(noeud->Text()) : NomSansCompte(noeud->Text())});
    const std::optional<QString> choisi =
        frmAppartenances::Choisit(principal, *principal->session(), noeud->DN(), titre, *principal);
    if (!choisi)
        return;
    // A chosen group opens in the tree, as a choice among found objects does.
    principal->zoneRecherche().ChangeType(1);
    principal->LanceAnalyse(principal->parametres().AnalyseParDefaut, *choisi);
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
