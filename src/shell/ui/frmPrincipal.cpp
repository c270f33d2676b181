#include "shell/ui/frmPrincipal.h"

#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "menus/MenusNoeuds.h"
#include "menus/ui/MenuQt.h"
#include "search/ui/Fenetres.h"
#include "shell/ui/BarreEtatFenetre.h"
#include "shell/ui/Dialogues.h"
#include "shell/ui/Geometrie.h"
#include "shell/ui/IconeSystray.h"
#include "shell/ui/ZoneDescription.h"
#include "text/Version.h"
#include "tree/ui/Icones.h"

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

constexpr int marge = 8; // 120 twips, around the areas of the window

QAction* ajouteAction(QMenu* menu, const QString& nom, const QString& texte) {
    QAction* action = menu->addAction(texte);
    action->setObjectName(nom);
    return action;
}

QMenu* ajouteMenu(QMenuBar* barre, const QString& nom, const QString& texte) {
    QMenu* menu = barre->addMenu(texte);
    menu->setObjectName(nom);
    menu->menuAction()->setObjectName(nom);
    return menu;
}

} // namespace

frmPrincipal::frmPrincipal(EtatProgramme& etat, QWidget* parent)
    : QMainWindow(parent)
    , m_etat(etat) {
    setObjectName(u"frmPrincipal"_s);
    setWindowTitle(TitreApplication());
    setWindowIcon(IconeApplication());
    setFont(PoliceInterface());
    auto* centre = new QWidget(this);
    centre->setObjectName(u"centre"_s);
    setCentralWidget(centre);
    m_zone = new ZoneRecherche(centre, m_etat, this);
    m_description = new ZoneDescription(centre, m_etat, this);
    m_controleur = new ControleurArbre(centre, {this, m_arbre, m_etat, *this, m_pointeur, *m_description,
                                                [this] { return m_analyseEnCours; }});
    m_barreEtat = new BarreEtatFenetre(
        statusBar(), m_arbre,
        [this] {
            return CalculeTextesBarreEtat(
                m_session.get(), m_analyse ? m_analyse->ModeAnalyse : Mode::Standard, m_arbre.Count());
        },
        [this] { return m_analyseEnCours; });
    m_systray = new IconeSystray(this);
    creeMenus();
    relieMenus();
    relieParties();
    InstalleAfficheurMenusQt(this);
    Operations().netSend = true;
    Operations().exporter = true;
    // The window's smallest size: 4500 x 3000 twips.
    setMinimumSize(EnPixels(4500), EnPixels(3000));
    resize(EnPixels(9000), EnPixels(7500));
    m_largeurFenetre = width();
    m_hauteurFenetre = height();
}

frmPrincipal::~frmPrincipal() {
    // The tree must not notify a model that is being destroyed.
    m_arbre.disconnect();
}

void frmPrincipal::creeMenus() {
    QMenuBar* barre = menuBar();
    m_mnuFichier = ajouteMenu(barre, u"mnuFichier"_s, u"&Fichier"_s);
    mnuFichierQuitter = ajouteAction(m_mnuFichier, u"mnuFichierQuitter"_s, u"&Quitter"_s);

    m_mnuEdition = ajouteMenu(barre, u"mnuEdition"_s, u"&Edition"_s);
    mnuEditionRechercher = ajouteAction(m_mnuEdition, u"mnuEditionRechercher"_s, u"&Rechercher..."_s);
    mnuEditionRechercherSuivant = ajouteAction(m_mnuEdition, u"mnuEditionRechercherSuivant"_s, u"&Suivant"_s);
    mnuEditionRechercherPrecedent =
        ajouteAction(m_mnuEdition, u"mnuEditionRechercherPrécédent"_s, u"&Précédent"_s);
    mnuEditionRechercher->setShortcut(QKeySequence::Find);
    mnuEditionRechercherSuivant->setShortcut(QKeySequence::FindNext);
    mnuEditionRechercherPrecedent->setShortcut(QKeySequence::FindPrevious);
    m_mnuEdition->addSeparator()->setObjectName(u"mnuEditionSep1"_s);
    mnuEditionExporter = ajouteAction(m_mnuEdition, u"mnuEditionExporter"_s, u"&Exporter..."_s);
    mnuEditionExporter->setShortcut(Qt::CTRL | Qt::Key_E);
    mnuEditionExporter->setEnabled(false);
    mnuEditionActualiser = ajouteAction(m_mnuEdition, u"mnuEditionActualiser"_s, u"&Actualiser"_s);
    mnuEditionActualiser->setShortcut(QKeySequence::Refresh);
    m_mnuEdition->addSeparator()->setObjectName(u"mnuEditionSep2"_s);
    // Shortcuts act on the key press: letting go of Ctrl before C still copies.
    mnuEditionCopierNomCompte =
        ajouteAction(m_mnuEdition, u"mnuEditionCopierNomCompte"_s, u"&Copier le nom (avec le compte)"_s);
    mnuEditionCopierNomCompte->setShortcut(QKeySequence::Copy);
    mnuEditionCopierNom = ajouteAction(m_mnuEdition, u"mnuEditionCopierNom"_s, u"Copier le &nom"_s);
    mnuEditionCopierNom->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_C);

    m_mnuOptions = ajouteMenu(barre, u"mnuOptions"_s, u"&Options"_s);
    mnuOptionsMemoriserPosition =
        ajouteAction(m_mnuOptions, u"mnuOptionsMémoriserPosition"_s, u"Mémoriser &position fenêtre"_s);
    mnuOptionsMemoriserTaille =
        ajouteAction(m_mnuOptions, u"mnuOptionsMémoriserTaille"_s, u"Mémoriser &taille fenêtre"_s);
    m_mnuOptions->addSeparator()->setObjectName(u"mnuOptionsSep1"_s);
    mnuOptionsMinimiserSystray =
        ajouteAction(m_mnuOptions, u"mnuOptionsMinimiserSystray"_s, u"Minimiser dans la &systray"_s);
    mnuOptionsToujoursAuDessus =
        ajouteAction(m_mnuOptions, u"mnuOptionsToujoursAuDessus"_s, u"Fenêtre toujours au &dessus"_s);
    m_mnuOptions->addSeparator()->setObjectName(u"mnuOptionsSep2"_s);
    mnuOptionsConfiguration =
        ajouteAction(m_mnuOptions, u"mnuOptionsConfiguration"_s, u"&Configuration..."_s);
    for (QAction* option : {mnuOptionsMemoriserPosition, mnuOptionsMemoriserTaille,
                            mnuOptionsMinimiserSystray, mnuOptionsToujoursAuDessus})
        option->setCheckable(true);

    m_mnuAide = ajouteMenu(barre, u"mnuAide"_s, u"&?"_s);
    mnuAideLegende = ajouteAction(m_mnuAide, u"mnuAideLégende"_s, u"&Légende des icônes..."_s);
    mnuAideAPropos = ajouteAction(m_mnuAide, u"mnuAideAPropos"_s, u"&A propos d'Arbrix..."_s);
}

// What the parts ask of the window, and what the window asks of them.
void frmPrincipal::relieParties() {
    connect(m_zone, &ZoneRecherche::analyseDemandee, this, &frmPrincipal::AnalyseRecherche);
    m_zone->LaisseALaFenetre({mnuEditionRechercher, mnuEditionRechercherSuivant,
                              mnuEditionRechercherPrecedent, mnuEditionExporter, mnuEditionActualiser});
    connect(m_controleur, &ControleurArbre::ouvertureDemandee, this, [this](int type, const QString& dn) {
        m_zone->ChangeType(type);
        LanceAnalyse(m_etat.Config.AnalyseParDefaut, dn);
    });
    connect(m_controleur, &ControleurArbre::exportDemande, this, &frmPrincipal::Exporte);
    connect(m_controleur, &ControleurArbre::appartenancesDemandees, this,
            [this](Noeud* noeud) { AfficheAppartenances(this, noeud); });
    connect(m_description, &ZoneDescription::contenuChange, this, &frmPrincipal::disposeZones);
    connect(m_systray, &IconeSystray::restaurationDemandee, this, &frmPrincipal::mnuSystrayRestaurer_Click);
    connect(m_systray, &IconeSystray::fermetureDemandee, this, &QWidget::close);
}

void frmPrincipal::TraduitEtDispose() {
    TraduitControles(this, m_zone->ControlesTitres() + m_description->ControlesTitres(),
                     {m_mnuFichier, m_mnuEdition, m_mnuOptions, m_mnuAide, m_systray->menu()});
    m_zone->NommeControlesSansTitre();
    m_controleur->NommeControlesSansTitre();
    m_zone->Dispose();
    m_description->Dispose();
    disposeZones();
}

void frmPrincipal::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    disposeZones();
}

// The search area on top, the description labels at the bottom when they have something to
// show, the tree between them.
void frmPrincipal::disposeZones() {
    if (isMinimized())
        return;
    if (windowState() == Qt::WindowNoState) {
        m_largeurFenetre = width();
        m_hauteurFenetre = height();
    }
    const QWidget* centre = centralWidget();
    const int largeur = centre->width() - 2 * marge;
    m_zone->Place();
    QTreeView* vue = m_controleur->vue();
    vue->move(marge, m_zone->Bas() + marge);
    const int basArbre = m_description->Place(marge, largeur, centre->height() - marge, marge);
    vue->resize(largeur, std::max(basArbre - vue->y(), 20));
}

// --- The analysis

void frmPrincipal::LanceAnalyse(qint16 mode, const QString& dn) {
    construitArbre([&] { return m_analyse->LanceAnalyse(mode, dn); });
}

void frmPrincipal::AnalyseRecherche(qint16 mode) {
    construitArbre([&] { return m_analyse->AnalyseTexte(mode, m_zone->Texte(), m_zone->Type()); });
}

void frmPrincipal::Actualise() {
    if (!m_analyse || m_arbre.isEmpty() || m_analyse->DNRacine.isEmpty())
        return;
    const VueArbre vue = CaptureVue(m_arbre);
    construitArbre([&] { return m_analyse->LanceAnalyse(m_analyse->ModeAnalyse, m_analyse->DNRacine); });
    if (m_analyse->Resultat().construite)
        RestaureVue(m_arbre, vue);
}

void frmPrincipal::construitArbre(const std::function<ResultatAnalyse()>& construction) {
    // The build lets window events run: a second search started meanwhile would empty the tree
    // under the running one. It is ignored until the first one ends.
    if (!m_analyse || m_analyseEnCours)
        return;
    m_analyseEnCours = true;
    m_zone->MasqueCompletion();
    m_pointeur.Attend();
    // The tree takes no input while it is rebuilt.
    QTreeView* vue = m_controleur->vue();
    vue->setEnabled(false);
    const ResultatAnalyse resultat = construction();
    if (!resultat.racine.isEmpty()) {
        m_zone->ChangeTexte(resultat.racine);
        m_zone->ChangeType(resultat.typeRacine);
    }
    if (resultat.memoriser)
        m_zone->Memorise(m_zone->Texte(), m_zone->Type());
    // The node the build selected, else its root: the keys and Edition's items have a node to
    // act on at once, and the labels describe it.
    if (resultat.construite) {
        if (!m_arbre.SelectedItem())
            m_arbre.Selectionne(m_arbre.Racine());
        m_controleur->tvwGroupes_NodeClick(m_arbre.SelectedItem());
    }
    vue->setEnabled(true);
    vue->setFocus();
    m_pointeur.Retablit();
    m_analyseEnCours = false;
    rattacheVue();
    m_barreEtat->MetAJour();
    if (m_fermetureDemandee)
        close();
}

} // namespace arbrix
