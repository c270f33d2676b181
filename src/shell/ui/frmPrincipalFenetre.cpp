// The main window's life: the Edition, Options and help menus, window options and placement,
// the tray, start-up steps that belong to the window, and the writes made when it closes.

#include "directory/EchecConnexion.h"
#include "directory/OuvertureAnnuaire.h"
#include "directory/Session.h"
#include "export/ui/frmExporter.h"
#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "menus/MenusNoeuds.h"
#include "search/RechercheArbre.h"
#include "search/ui/Fenetres.h"
#include "shell/Sortie.h"
#include "shell/ui/BarreEtatFenetre.h"
#include "shell/ui/Dialogues.h"
#include "shell/ui/Geometrie.h"
#include "shell/ui/IconeSystray.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Version.h"
#include "tree/ui/frmLegende.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

void frmPrincipal::relieMenus() {
    connect(mnuFichierQuitter, &QAction::triggered, this, &QWidget::close);
    connect(m_mnuEdition, &QMenu::aboutToShow, this, &frmPrincipal::mnuEdition_Ouverture);
    // A disabled action ignores its shortcut: once the menu is closed, Ctrl+F, F3 and Shift+F3
    // reach their handlers, which check the tree themselves.
    connect(m_mnuEdition, &QMenu::aboutToHide, this, [this] {
        for (QAction* action :
             {mnuEditionRechercher, mnuEditionRechercherSuivant, mnuEditionRechercherPrecedent,
              mnuEditionActualiser, mnuEditionCopierNomCompte, mnuEditionCopierNom})
            action->setEnabled(true);
    });
    connect(mnuEditionRechercher, &QAction::triggered, this, &frmPrincipal::mnuEditionRechercher_Click);
    connect(mnuEditionRechercherSuivant, &QAction::triggered, this,
            [this] { rechercheDansArbre(RechercheSuivante); });
    connect(mnuEditionRechercherPrecedent, &QAction::triggered, this,
            [this] { rechercheDansArbre(RecherchePrecedente); });
    connect(mnuEditionExporter, &QAction::triggered, this, &frmPrincipal::mnuEditionExporter_Click);
    connect(mnuEditionActualiser, &QAction::triggered, this, &frmPrincipal::Actualise);
    // Ctrl+E works without opening the menu: the item follows the selection.
    connect(&m_arbre, &Arbre::selectionChanged, this,
            [this](Noeud* noeud) { mnuEditionExporter->setEnabled(noeud != nullptr); });
    for (QAction* option : {mnuOptionsMemoriserPosition, mnuOptionsMemoriserTaille,
                            mnuOptionsMinimiserSystray, mnuOptionsToujoursAuDessus})
        connect(option, &QAction::triggered, this, [this, option] { basculeOption(option); });
    connect(mnuOptionsConfiguration, &QAction::triggered, this, &frmPrincipal::mnuOptionsConfiguration_Click);
    connect(mnuAideAPropos, &QAction::triggered, this, [this] { AfficheAPropos(this); });
    connect(mnuAideLegende, &QAction::triggered, this, [this] { frmLegende::Affiche(this); });
    connect(mnuEditionCopierNomCompte, &QAction::triggered, this,
            [this] { m_controleur->CopieSelection(false); });
    connect(mnuEditionCopierNom, &QAction::triggered, this, [this] { m_controleur->CopieSelection(true); });
}

// The Edition items are enabled as the menu opens, so shortcuts follow the same rule.
void frmPrincipal::mnuEdition_Ouverture() {
    mnuEditionRechercher->setEnabled(!m_arbre.isEmpty());
    mnuEditionRechercherSuivant->setEnabled(RechercheRepetable(m_arbre));
    mnuEditionRechercherPrecedent->setEnabled(RechercheRepetable(m_arbre));
    mnuEditionExporter->setEnabled(m_arbre.SelectedItem() != nullptr);
    mnuEditionActualiser->setEnabled(!m_arbre.isEmpty());
    mnuEditionCopierNomCompte->setEnabled(m_arbre.SelectedItem() != nullptr);
    mnuEditionCopierNom->setEnabled(m_arbre.SelectedItem() != nullptr);
}

void frmPrincipal::mnuEditionExporter_Click() {
    if (Noeud* noeud = m_arbre.SelectedItem())
        Exporte(noeud);
}

void frmPrincipal::Exporte(Noeud* noeud) {
    frmExporter::Affiche(this, *noeud, m_etat.CheminIni());
    QApplication::processEvents();
    activateWindow();
    m_controleur->vue()->setFocus();
}

void frmPrincipal::mnuEditionRechercher_Click() {
    if (m_arbre.isEmpty())
        return;
    AfficheRechercher(this);
}

// F3 and Shift+F3 search again for the find window's text, from the selected node.
void frmPrincipal::rechercheDansArbre(int direction) {
    if (!RechercheRepetable(m_arbre))
        return;
    if (Noeud* trouve = Rechercher(m_arbre, m_arbre.SelectedItem(), direction, TexteRecherche())) {
        m_arbre.RendVisibleEtSelectionne(trouve);
        return;
    }
    Message(Traduction(u"MSG_ERREUR_OCCURENCE_NON_TROUVEE"), IconeMessage::Exclamation);
}

void frmPrincipal::basculeOption(QAction* option) {
    m_etat.OptionsFenetreModifiees = true;
    if (option == mnuOptionsToujoursAuDessus)
        appliquePremierPlan();
}

void frmPrincipal::appliquePremierPlan() {
    AppliquePremierPlan(this, mnuOptionsToujoursAuDessus->isChecked());
}

void frmPrincipal::mnuOptionsConfiguration_Click() {
    if (!AfficheConfiguration(this))
        return;
    m_zone->ReconstruitListe();
    m_etat.ConfigurationModifiee = true;
    m_arbre.setAfficherNombreMembres(m_etat.Config.AfficherNombreMembres);
    if (m_etat.RedemarrageDemande)
        close();
}

// --- Start-up

void frmPrincipal::AppliqueOptionsFenetre() {
    const Parametres& p = m_etat.Config;
    m_arbre.setAfficherNombreMembres(p.AfficherNombreMembres);
    mnuOptionsMemoriserTaille->setChecked(p.FenetreMemoriserTaille);
    mnuOptionsMemoriserPosition->setChecked(p.FenetreMemoriserPosition);
    mnuOptionsMinimiserSystray->setChecked(p.MinimiserSystray);
    mnuOptionsToujoursAuDessus->setChecked(p.ToujoursAuDessus);

    Qt::WindowStates etat = Qt::WindowNoState;
    if (p.FenetreMemoriserTaille) {
        m_largeurFenetre = std::max(EnPixels(p.FenetreLargeur), minimumWidth());
        m_hauteurFenetre = std::max(EnPixels(p.FenetreHauteur), minimumHeight());
        if (p.FenetreEtat == 2)
            etat = Qt::WindowMaximized;
        else if (p.FenetreEtat == 1)
            etat = Qt::WindowMinimized;
    }
    resize(m_largeurFenetre, m_hauteurFenetre);
    const QRect ecran = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    if (p.FenetreMemoriserPosition)
        move(EnPixels(p.FenetreGauche), EnPixels(p.FenetreHaut));
    else
        move(ecran.x() + (ecran.width() - m_largeurFenetre) / 2,
             ecran.y() + (ecran.height() - m_hauteurFenetre) / 2);
    setWindowState(etat);
    appliquePremierPlan();
}

void frmPrincipal::DefinitSession(std::shared_ptr<SessionAD> session) {
    m_session = std::move(session);
    m_analyse = std::make_unique<Analyse>(m_arbre, *m_session, m_etat.Config, *this);
    m_operations = std::make_unique<OperationsGroupes>(m_arbre, *m_session, m_etat.Config, *this, *m_analyse);
    OperationsDisponibles& operations = Operations();
    operations.creerGroupe = operations.retirerMembre = operations.supprimerGroupe =
        operations.renommerGroupe = operations.ajouterComptes = operations.ajouterGroupes = true;
    m_controleur->DefinitSession(*m_session, *m_operations);
    setWindowTitle(windowTitle() + u" - "_s + m_session->UtilisateurAffiche());
    m_barreEtat->MetAJour();
}

bool frmPrincipal::OuvreSession() {
    const AnnuaireOuvert annuaire = OuvreAnnuaire(m_etat.Config.AccesADServeur, m_etat.Config.DelaiAnnuaire);
    if (!annuaire.ouvert())
        return echecSession(MessageEchecAnnuaire(annuaire));
    auto session = std::make_shared<SessionAD>(annuaire.backend, AccesAnnuaire::depuis(m_etat.Config));
    const ResultatSession resultat = session->Ouvre();
    if (!resultat.reussi())
        return echecSession(MessageEchecSession(resultat, m_etat.Config.AccesAD, m_etat.Config.AccesADLogin));
    InstalleSession(session);
    DefinitSession(session);
    return true;
}

// The directory cannot be used: say why, offer the configuration, and end the program. An
// accepted configuration is saved (it is what the next start needs), with a restart when asked.
bool frmPrincipal::echecSession(const QString& message) {
    m_pointeur.Retablit();
    const QString texte = message + u"\r\n\r\n"_s + Traduction(u"MSG_CONFIGURER_ACCES_AD");
    const ReponseMessage reponse =
        Message(texte, IconeMessage::Critique, BoutonsMessage::OuiNon, ReponseMessage::Non);
    if (reponse == ReponseMessage::Oui && AfficheConfiguration(this)) {
        m_etat.ConfigurationModifiee = true;
        EnregistreALaFermeture();
    }
    return false;
}

void frmPrincipal::ChargeMemos() {
    m_zone->ChargeMemos();
}

void frmPrincipal::FinDemarrage() {
    m_zone->PrendLaSaisie();
}

// --- Tray

bool frmPrincipal::IconeSystrayAffichee() const {
    return m_systray->Affichee();
}

void frmPrincipal::AfficheIconeSystray() {
    if (!IconeSystray::Disponible())
        return;
    hide();
    m_systray->Affiche(windowTitle());
}

void frmPrincipal::RetireIconeSystray() {
    show();
    m_systray->Retire();
}

void frmPrincipal::mnuSystrayRestaurer_Click() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    if (m_systray->Affichee())
        RetireIconeSystray();
}

void frmPrincipal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            // The option is read at each minimising, so toggling it changes nothing until then.
            if (mnuOptionsMinimiserSystray->isChecked())
                QTimer::singleShot(0, this, [this] {
                    if (isMinimized())
                        AfficheIconeSystray();
                });
        } else if (m_systray->Affichee()) {
            RetireIconeSystray();
        }
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_betaAnnoncee &&
               EstVersionBeta(TexteVersion())) {
        // Once per run: a box shown at every activation would come back as soon as it closes.
        m_betaAnnoncee = true;
        QTimer::singleShot(0, this, [this] { AfficheAvertissementBeta(this); });
    }
}

// --- Shutdown

void frmPrincipal::closeEvent(QCloseEvent* event) {
    // Closed during a build: the build stops first, then the window closes.
    if (m_analyseEnCours) {
        m_fermetureDemandee = true;
        DemandeArret();
        event->ignore();
        return;
    }
    EnregistreALaFermeture();
    event->accept();
    m_fermee = true;
    emit Fermee();
}

void frmPrincipal::EnregistreALaFermeture() {
    if (m_enregistre)
        return;
    m_enregistre = true;
    m_etat.Config.FenetreMemoriserTaille = mnuOptionsMemoriserTaille->isChecked();
    m_etat.Config.FenetreMemoriserPosition = mnuOptionsMemoriserPosition->isChecked();
    m_etat.Config.MinimiserSystray = mnuOptionsMinimiserSystray->isChecked();
    m_etat.Config.ToujoursAuDessus = mnuOptionsToujoursAuDessus->isChecked();
    m_etat.Config.NbElementsMemorisesMax = memos().MaximumRecents();

    FenetreALaFermeture fenetre;
    // A window hidden in the tray is a minimised one.
    if (isMinimized() || m_systray->Affichee())
        fenetre.etat = EtatFenetre::Minimisee;
    else if (isMaximized())
        fenetre.etat = EtatFenetre::Maximisee;
    fenetre.gauche = EnTwips(x());
    fenetre.haut = EnTwips(y());
    fenetre.largeur = EnTwips(m_largeurFenetre);
    fenetre.hauteur = EnTwips(m_hauteurFenetre);

    EtapesSortie etapes;
    etapes.fermeFenetres = [] { FermeRechercher(); };
    etapes.sauveMemos = [this](LotIni& lot) { memos().Ecrit(lot); };
    etapes.retireIconeTray = [this] { m_systray->Retire(); };
    Termine(fenetre, etapes, *this, m_etat);
}

} // namespace arbrix
