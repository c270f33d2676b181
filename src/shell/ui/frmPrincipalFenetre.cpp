// The main window's life: window options and placement, tray icon, Edition and Options menus,
// start-up steps that belong to the window, and the writes made when it closes.

#include "directory/OuvertureAnnuaire.h"
#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "search/RechercheArbre.h"
#include "search/ui/Fenetres.h"
#include "shell/Sortie.h"
#include "shell/ui/BoiteRecherche.h"
#include "shell/ui/Dialogues.h"
#include "shell/ui/Geometrie.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Systeme.h"
#include "text/Version.h"
#include "tree/Analyse.h"
#include "tree/ui/Icones.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

void frmPrincipal::relieSignaux() {
    connect(mnuFichierQuitter, &QAction::triggered, this, &QWidget::close);
    connect(mnuSystrayQuitter, &QAction::triggered, this, &QWidget::close);
    connect(mnuSystrayRestaurer, &QAction::triggered, this, &frmPrincipal::mnuSystrayRestaurer_Click);
    connect(m_mnuEdition, &QMenu::aboutToShow, this, &frmPrincipal::mnuEdition_Ouverture);
    connect(mnuEditionRechercher, &QAction::triggered, this, &frmPrincipal::mnuEditionRechercher_Click);
    connect(mnuEditionRechercherSuivant, &QAction::triggered, this,
            &frmPrincipal::mnuEditionRechercherSuivant_Click);
    connect(mnuEditionRechercherPrécédent, &QAction::triggered, this,
            &frmPrincipal::mnuEditionRechercherPrécédent_Click);
    for (QAction* option : {mnuOptionsMémoriserPosition, mnuOptionsMémoriserTaille,
                            mnuOptionsMinimiserSystray, mnuOptionsToujoursAuDessus})
        connect(option, &QAction::triggered, this, [this, option] { basculeOption(option); });
    connect(mnuOptionsConfiguration, &QAction::triggered, this, &frmPrincipal::mnuOptionsConfiguration_Click);
    connect(mnuAideAPropos, &QAction::triggered, this, [this] { AfficheAPropos(this); });
    connect(btnChercher, &QPushButton::clicked, this, &frmPrincipal::btnChercher_Click);
    relieSignauxRecherche();
    relieSignauxArbre();
}

// The Edition items are enabled as the menu opens, so shortcuts follow the same rule.
void frmPrincipal::mnuEdition_Ouverture() {
    mnuEditionRechercher->setEnabled(!m_arbre.isEmpty());
    mnuEditionRechercherSuivant->setEnabled(RechercheRépétable(m_arbre));
    mnuEditionRechercherPrécédent->setEnabled(RechercheRépétable(m_arbre));
}

void frmPrincipal::mnuEditionRechercher_Click() {
    if (m_arbre.isEmpty())
        return;
    AfficheRechercher(this);
}

void frmPrincipal::mnuEditionRechercherSuivant_Click() {
    if (RechercheRépétable(m_arbre))
        RechercheDansArbre(m_arbre.SelectedItem(), RechercheSuivante);
}

void frmPrincipal::mnuEditionRechercherPrécédent_Click() {
    if (RechercheRépétable(m_arbre))
        RechercheDansArbre(m_arbre.SelectedItem(), RecherchePrécédente);
}

void frmPrincipal::RechercheDansArbre(Noeud* départ, int direction) {
    Noeud* trouvé = Rechercher(m_arbre, départ, direction, TexteRecherché());
    if (trouvé) {
        m_arbre.RendVisibleEtSélectionne(trouvé);
        return;
    }
    Message(Traduction(u"MSG_ERREUR_OCCURENCE_NON_TROUVEE"), IcôneMessage::Exclamation);
}

void frmPrincipal::basculeOption(QAction* option) {
    m_état.OptionsFenêtreModifiées = true;
    if (option == mnuOptionsToujoursAuDessus)
        appliquePremierPlan();
}

void frmPrincipal::appliquePremierPlan() {
    AppliquePremierPlan(this, mnuOptionsToujoursAuDessus->isChecked());
}

void frmPrincipal::mnuOptionsConfiguration_Click() {
    const QString texte = cboRecherche->currentText();
    if (!AfficheConfiguration(this))
        return;
    ReconstruitListeRecherche();
    cboRecherche->setEditText(texte);
    cboRecherche_Change();
    m_état.ConfigurationModifiée = true;
    m_arbre.setAfficherNombreMembres(m_état.Config.AfficherNombreMembres);
    if (m_état.RedémarrageDemandé)
        close();
}

// --- Start-up

void frmPrincipal::AppliqueOptionsFenêtre() {
    const Paramètres& p = m_état.Config;
    m_arbre.setAfficherNombreMembres(p.AfficherNombreMembres);
    mnuOptionsMémoriserTaille->setChecked(p.FenêtreMémoriserTaille);
    mnuOptionsMémoriserPosition->setChecked(p.FenêtreMémoriserPosition);
    mnuOptionsMinimiserSystray->setChecked(p.MinimiserSystray);
    mnuOptionsToujoursAuDessus->setChecked(p.ToujoursAuDessus);

    Qt::WindowStates état = Qt::WindowNoState;
    if (p.FenêtreMémoriserTaille) {
        m_largeurFenêtre = std::max(EnPixels(p.FenêtreLargeur), minimumWidth());
        m_hauteurFenêtre = std::max(EnPixels(p.FenêtreHauteur), minimumHeight());
        if (p.FenêtreEtat == 2)
            état = Qt::WindowMaximized;
        else if (p.FenêtreEtat == 1)
            état = Qt::WindowMinimized;
    }
    resize(m_largeurFenêtre, m_hauteurFenêtre);
    const QRect écran = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    if (p.FenêtreMémoriserPosition)
        move(EnPixels(p.FenêtreGauche), EnPixels(p.FenêtreHaut));
    else
        move(écran.x() + (écran.width() - m_largeurFenêtre) / 2,
             écran.y() + (écran.height() - m_hauteurFenêtre) / 2);
    setWindowState(état);
    appliquePremierPlan();
}

void frmPrincipal::DéfinitSession(std::shared_ptr<SessionAD> session) {
    m_session = std::move(session);
    m_analyse = std::make_unique<Analyse>(m_arbre, *m_session, m_état.Config, *this);
    setWindowTitle(windowTitle() + u" - "_s + m_session->UtilisateurAffiché());
}

bool frmPrincipal::OuvreSession() {
    const AnnuaireOuvert annuaire = OuvreAnnuaire(m_état.Config.AccèsADServeur);
    if (!annuaire.ouvert())
        return échecSession(u"MSG_ERREUR_RECHERCHE_ROOT_AD"_s, annuaire.erreur);
    auto session = std::make_shared<SessionAD>(annuaire.backend, AccesAnnuaire::depuis(m_état.Config));
    const ResultatSession résultat = session->Ouvre();
    if (!résultat.reussi()) {
        const bool racine = résultat.issue == IssueSession::EchecRacine;
        return échecSession(racine ? u"MSG_ERREUR_RECHERCHE_ROOT_AD"_s : u"MSG_ERREUR_ACCES_AD"_s,
                            résultat.texte);
    }
    InstalleSession(session);
    DéfinitSession(session);
    return true;
}

// The directory cannot be used: say why, offer the configuration, and end the program. An
// accepted configuration is saved (it is what the next start needs), with a restart when asked.
bool frmPrincipal::échecSession(const QString& cléMessage, const QString& détail) {
    Sablier(false);
    QString texte = Traduction(cléMessage);
    if (!détail.isEmpty())
        texte += u"\r\n\r\n"_s + détail;
    texte += u"\r\n\r\n"_s + Traduction(u"MSG_CONFIGURER_ACCES_AD");
    const RéponseMessage réponse =
        Message(texte, IcôneMessage::Critique, BoutonsMessage::OuiNon, RéponseMessage::Non);
    if (réponse == RéponseMessage::Oui && AfficheConfiguration(this)) {
        m_état.ConfigurationModifiée = true;
        EnregistreÀLaFermeture();
    }
    return false;
}

void frmPrincipal::FinDémarrage() {
    m_hauteurLigneComplétion = std::max(QFontMetrics(lstComplétion->font()).height() + 2, 14);
    cboRecherche->setFocus();
}

// --- Tray

void frmPrincipal::créeSystray() {
    m_systray = new QSystemTrayIcon(IcôneApplication(), this);
    m_systray->setObjectName(u"systray"_s);
    m_systray->setContextMenu(m_mnuSystray);
    connect(m_systray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason raison) {
        if (!m_icôneSystrayAffichée || m_traitementSystray)
            return;
        m_traitementSystray = true;
        if (raison == QSystemTrayIcon::DoubleClick || raison == QSystemTrayIcon::Trigger)
            mnuSystrayRestaurer_Click();
        m_traitementSystray = false;
    });
}

void frmPrincipal::AfficheIcôneSystray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return; // without a tray the window just stays minimised
    hide();
    // The tip holds at most 63 characters of the caption.
    m_systray->setToolTip(windowTitle().left(63));
    m_systray->show();
    m_icôneSystrayAffichée = true;
}

void frmPrincipal::RetireIcôneSystray() {
    show();
    m_systray->hide();
    m_icôneSystrayAffichée = false;
}

void frmPrincipal::mnuSystrayRestaurer_Click() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    if (m_icôneSystrayAffichée)
        RetireIcôneSystray();
}

void frmPrincipal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            // The option is read at each minimising, so toggling it changes nothing until then.
            if (mnuOptionsMinimiserSystray->isChecked())
                QTimer::singleShot(0, this, [this] {
                    if (isMinimized())
                        AfficheIcôneSystray();
                });
        } else if (m_icôneSystrayAffichée) {
            RetireIcôneSystray();
        }
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_bêtaAnnoncée &&
               EstVersionBêta(TexteVersion())) {
        // Once per run: a box shown at every activation would come back as soon as it closes.
        m_bêtaAnnoncée = true;
        QTimer::singleShot(0, this, [this] { AfficheAvertissementBêta(this); });
    }
}

// --- Shutdown

void frmPrincipal::closeEvent(QCloseEvent* event) {
    // Closed during a build: the build stops first, then the window closes.
    if (m_analyseEnCours) {
        m_fermetureDemandée = true;
        DemandeArrêt();
        event->ignore();
        return;
    }
    EnregistreÀLaFermeture();
    event->accept();
}

void frmPrincipal::EnregistreÀLaFermeture() {
    if (m_enregistré)
        return;
    m_enregistré = true;
    m_état.Config.FenêtreMémoriserTaille = mnuOptionsMémoriserTaille->isChecked();
    m_état.Config.FenêtreMémoriserPosition = mnuOptionsMémoriserPosition->isChecked();
    m_état.Config.MinimiserSystray = mnuOptionsMinimiserSystray->isChecked();
    m_état.Config.ToujoursAuDessus = mnuOptionsToujoursAuDessus->isChecked();
    m_état.Config.NbElémentsMémorisésMax = m_mémos.MaximumRécents();

    FenêtreÀLaFermeture fenêtre;
    // A window hidden in the tray is a minimised one.
    if (isMinimized() || m_icôneSystrayAffichée)
        fenêtre.état = ÉtatFenêtre::Minimisée;
    else if (isMaximized())
        fenêtre.état = ÉtatFenêtre::Maximisée;
    fenêtre.gauche = EnTwips(x());
    fenêtre.haut = EnTwips(y());
    fenêtre.largeur = EnTwips(m_largeurFenêtre);
    fenêtre.hauteur = EnTwips(m_hauteurFenêtre);

    ÉtapesSortie étapes;
    étapes.fermeFenêtres = [] { FermeRechercher(); };
    étapes.sauveMémos = [this](const QString& cheminIni) { m_mémos.Sauve(cheminIni); };
    étapes.retireIcôneTray = [this] {
        if (m_icôneSystrayAffichée)
            m_systray->hide();
        m_icôneSystrayAffichée = false;
    };
    Termine(fenêtre, étapes, m_état);
}

} // namespace arbrix
