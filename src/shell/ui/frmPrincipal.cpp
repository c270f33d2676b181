#include "shell/ui/frmPrincipal.h"

#include "groupops/OperationsGroupes.h"
#include "i18n/TraductionFeuille.h"
#include "i18n/Traductions.h"
#include "menus/MenusNoeuds.h"
#include "menus/ui/MenuQt.h"
#include "shell/ui/BoiteRecherche.h"
#include "shell/ui/Geometrie.h"
#include "shell/ui/frmTraitementEnCours.h"
#include "text/Version.h"
#include "tree/Analyse.h"
#include "tree/ui/Icones.h"
#include "tree/ui/ModeleArbre.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

// Designed geometry of the search area, in pixels.
constexpr int marge = 8; // 120 twips
constexpr int hauteurCadreType = 56;
constexpr int hauteurBoite = 24;
constexpr int largeurChercherPlus = 24;

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
    creeControles();
    creeMenus();
    creeSystray();
    creeBarreEtat();
    relieSignaux();
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

void frmPrincipal::creeControles() {
    auto* centre = new QWidget(this);
    centre->setObjectName(u"centre"_s);
    setCentralWidget(centre);

    fraType = new QGroupBox(u"Recherche"_s, centre);
    fraType->setObjectName(u"fraType"_s);
    optType[0] = new QRadioButton(u"&O.U."_s, fraType);
    optType[0]->setObjectName(u"optType_0"_s);
    optType[1] = new QRadioButton(u"G&roupe"_s, fraType);
    optType[1]->setObjectName(u"optType_1"_s);
    optType[1]->setChecked(true);

    lblChercher = new QLabel(u"Occurrence à rechercher"_s, centre);
    lblChercher->setObjectName(u"lblChercher"_s);

    cboRecherche = new BoiteRecherche(centre);
    cboRecherche->setObjectName(u"cboRecherche"_s);
    cboRecherche->setEditable(true);
    cboRecherche->setInsertPolicy(QComboBox::NoInsert);
    cboRecherche->setMaxVisibleItems(20);
    // The box completes from the memorised entries itself, through lstComplétion.
    cboRecherche->setCompleter(nullptr);
    cboRecherche->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboRecherche->setMinimumContentsLength(8);

    btnChercher = new QPushButton(u"&Go !"_s, centre);
    btnChercher->setObjectName(u"btnChercher"_s);
    btnChercher->setDefault(true);
    btnChercherPlus = new QPushButton(QString(QChar(0x25BE)), centre);
    btnChercherPlus->setObjectName(u"btnChercherPlus"_s);
    btnChercherPlus->setToolTip(QString());

    tvwGroupes = new QTreeView(centre);
    tvwGroupes->setObjectName(u"tvwGroupes"_s);
    m_modele = new ModeleArbre(m_arbre, this);
    tvwGroupes->setModel(m_modele);
    tvwGroupes->setHeaderHidden(true);
    // Every row has the height of one line: the view then lays out 200,000 rows without
    // asking each of them for its size.
    tvwGroupes->setUniformRowHeights(true);
    tvwGroupes->setIconSize(QSize(16, 16));
    tvwGroupes->setSelectionMode(QAbstractItemView::SingleSelection);
    tvwGroupes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvwGroupes->setExpandsOnDoubleClick(true);
    tvwGroupes->setAnimated(false);
    tvwGroupes->setDragEnabled(false); // drags start from our own mouse handling
    tvwGroupes->setAcceptDrops(true);
    tvwGroupes->setDropIndicatorShown(true);
    tvwGroupes->setTextElideMode(Qt::ElideNone);
    tvwGroupes->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvwGroupes->header()->setStretchLastSection(false);
    tvwGroupes->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    lblDescriptionLabel = new QLabel(u"Description :"_s, centre);
    lblDescriptionLabel->setObjectName(u"lblDescriptionLabel"_s);
    lblDescription = new QLabel(centre);
    lblDescription->setObjectName(u"lblDescription"_s);
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblGereParLabel = new QLabel(u"Géré par :"_s, centre);
    lblGereParLabel->setObjectName(u"lblGéréParLabel"_s);
    lblGerePar = new QLabel(centre);
    lblGerePar->setObjectName(u"lblGéréPar"_s);
    lblGerePar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (QLabel* etiquette : {lblDescriptionLabel, lblGereParLabel}) {
        QFont police = etiquette->font();
        police.setBold(true);
        etiquette->setFont(police);
    }
    for (QLabel* etiquette : {lblDescriptionLabel, lblDescription, lblGereParLabel, lblGerePar})
        etiquette->hide();

    // Floats above the other controls, under the search box; it never takes the focus, so a
    // click on it reaches it while the search box keeps the caret.
    lstCompletion = new QListWidget(centre);
    lstCompletion->setObjectName(u"lstComplétion"_s);
    lstCompletion->setFocusPolicy(Qt::NoFocus);
    lstCompletion->setMouseTracking(true);
    lstCompletion->setUniformItemSizes(true);
    lstCompletion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstCompletion->hide();

    tmrExpand = new QTimer(this);
    tmrDescription = new QTimer(this);
    tmrExpand->setObjectName(u"tmrExpand"_s);
    tmrExpand->setInterval(1000);
    tmrExpand->setSingleShot(false);
    tmrRenommage = new QTimer(this);
    tmrRenommage->setObjectName(u"tmrRenommage"_s);

    cboRecherche->installEventFilter(this);
    cboRecherche->lineEdit()->installEventFilter(this);
    cboRecherche->view()->installEventFilter(this);
    lstCompletion->viewport()->installEventFilter(this);
    tvwGroupes->installEventFilter(this);
    tvwGroupes->viewport()->installEventFilter(this);
    btnChercherPlus->installEventFilter(this);
    lblGerePar->installEventFilter(this);
    cboRecherche_Change();
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

    // The tray's popup: a menu of its own, never in the menu bar.
    m_mnuSystray = new QMenu(u"Systray"_s, this);
    m_mnuSystray->setObjectName(u"mnuSystray"_s);
    mnuSystrayRestaurer = ajouteAction(m_mnuSystray, u"mnuSystrayRestaurer"_s, u"&Restaurer"_s);
    m_mnuSystray->addSeparator()->setObjectName(u"mnuSystraySep1"_s);
    mnuSystrayAnnuler = ajouteAction(m_mnuSystray, u"mnuSystrayAnnuler"_s, u"&Annuler"_s);
    m_mnuSystray->addSeparator()->setObjectName(u"mnuSystraySep2"_s);
    mnuSystrayQuitter = ajouteAction(m_mnuSystray, u"mnuSystrayQuitter"_s, u"&Quitter"_s);
    QFont gras = mnuSystrayRestaurer->font();
    gras.setBold(true);
    mnuSystrayRestaurer->setFont(gras);
    m_mnuSystray->setDefaultAction(mnuSystrayRestaurer);
}

void frmPrincipal::TraduitEtDispose() {
    DescriptionFeuille feuille{objectName(), windowTitle(), {}};
    auto decrit = [&feuille](QObject* objet, GenreControle genre, const QString& texte, int index = -1) {
        QString nom = objet->objectName();
        if (index >= 0)
            nom = nom.left(nom.lastIndexOf(u'_'));
        feuille.controles.append({nom, index, genre, texte, {}});
    };
    decrit(lblChercher, GenreControle::Etiquette, lblChercher->text());
    decrit(btnChercher, GenreControle::Bouton, btnChercher->text());
    decrit(fraType, GenreControle::Cadre, fraType->title());
    decrit(optType[0], GenreControle::BoutonOption, optType[0]->text(), 0);
    decrit(optType[1], GenreControle::BoutonOption, optType[1]->text(), 1);
    decrit(lblDescriptionLabel, GenreControle::Etiquette, lblDescriptionLabel->text());
    decrit(lblGereParLabel, GenreControle::Etiquette, lblGereParLabel->text());
    QList<QAction*> actions;
    for (QMenu* menu : {m_mnuFichier, m_mnuEdition, m_mnuOptions, m_mnuAide, m_mnuSystray}) {
        feuille.controles.append({menu->objectName(), -1, GenreControle::Menu, menu->title(), {}});
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) {
                actions << action;
                decrit(action, GenreControle::Menu, action->text());
            }
    }
    TraduitFeuille(feuille);

    // The window's caption is the program's title, never a translated text.
    qsizetype i = 0;
    lblChercher->setText(feuille.controles[i++].texte);
    btnChercher->setText(feuille.controles[i++].texte);
    fraType->setTitle(feuille.controles[i++].texte);
    optType[0]->setText(feuille.controles[i++].texte);
    optType[1]->setText(feuille.controles[i++].texte);
    lblDescriptionLabel->setText(feuille.controles[i++].texte);
    lblGereParLabel->setText(feuille.controles[i++].texte);
    qsizetype a = 0;
    for (QMenu* menu : {m_mnuFichier, m_mnuEdition, m_mnuOptions, m_mnuAide, m_mnuSystray}) {
        menu->setTitle(feuille.controles[i++].texte);
        for (qsizetype n = 0; n < menu->actions().size(); ++n)
            if (!menu->actions()[n]->isSeparator())
                actions[a++]->setText(feuille.controles[i++].texte);
    }
    nommeControlesSansTitre();
    disposeZoneRecherche();
}

// What a screen reader says of the controls whose caption says nothing or that have none; the
// others are read by their caption.
void frmPrincipal::nommeControlesSansTitre() {
    const QString recherche = QString(lblChercher->text()).remove(u'&');
    cboRecherche->setAccessibleName(recherche);
    cboRecherche->lineEdit()->setAccessibleName(recherche);
    btnChercher->setAccessibleDescription(Traduction(u"ACC_CHERCHER"));
    btnChercherPlus->setAccessibleName(Traduction(u"ACC_CHERCHER_PLUS"));
    btnChercherPlus->setAccessibleDescription(Traduction(u"ACC_CHERCHER_PLUS_DESCRIPTION"));
    tvwGroupes->setAccessibleName(Traduction(u"ACC_ARBRE"));
    tvwGroupes->setAccessibleDescription(Traduction(u"ACC_ARBRE_DESCRIPTION"));
    lstCompletion->setAccessibleName(Traduction(u"ACC_COMPLETION"));
}

// Widths follow the translated captions, measured in the window's font.
void frmPrincipal::disposeZoneRecherche() {
    const QFontMetrics mesure(lblChercher->font());
    auto largeur = [&mesure](const QString& texte) {
        return mesure.horizontalAdvance(QString(texte).remove(u'&'));
    };
    const int w =
        std::max({largeur(fraType->title()), largeur(optType[0]->text()), largeur(optType[1]->text())}) +
        EnPixels(220) + optType[0]->iconSize().width();
    // The frame's title takes the top of the frame: the buttons go below it, one under the other.
    fraType->setGeometry(marge, 2, marge + w + EnPixels(60), hauteurCadreType);
    const int hautOptions = std::max(fraType->contentsRect().top(), 14);
    const int hauteurOption = optType[0]->sizeHint().height();
    optType[0]->setGeometry(marge, hautOptions, w, hauteurOption);
    optType[1]->setGeometry(marge, hautOptions + hauteurOption, w, hauteurOption);
    fraType->resize(fraType->width(), std::max(hauteurCadreType, hautOptions + 2 * hauteurOption + 4));
    const int gaucheBoite = fraType->geometry().right() + 1 + marge;
    lblChercher->setGeometry(gaucheBoite, 6, largeur(lblChercher->text()) + 8, 18);
    btnChercher->resize(largeur(btnChercher->text()) + EnPixels(180) + 8, hauteurBoite + 2);
    btnChercherPlus->resize(largeurChercherPlus, hauteurBoite + 2);
    cboRecherche->move(gaucheBoite, 26);
    // These two captions are bold: measured in their own font.
    for (QLabel* etiquette : {lblDescriptionLabel, lblGereParLabel})
        etiquette->resize(etiquette->fontMetrics().horizontalAdvance(etiquette->text()) + 6,
                          etiquette->sizeHint().height());
    m_hauteurLigneCompletion = std::max(QFontMetrics(lstCompletion->font()).height() + 2, 14);
    Form_Resize();
}

void frmPrincipal::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmPrincipal::Form_Resize() {
    if (isMinimized())
        return;
    if (windowState() == Qt::WindowNoState) {
        m_largeurFenetre = width();
        m_hauteurFenetre = height();
    }
    QWidget* centre = centralWidget();
    const int largeur = centre->width();
    btnChercherPlus->move(largeur - marge - btnChercherPlus->width(), cboRecherche->y() - 1);
    btnChercher->move(btnChercherPlus->x() - btnChercher->width(), cboRecherche->y() - 1);
    cboRecherche->resize(std::max(btnChercher->x() - cboRecherche->x() - marge, 40), hauteurBoite);
    if (lstCompletion->isVisible())
        placeCompletion();
    tvwGroupes->move(marge, fraType->geometry().bottom() + 1 + marge);
    DisposeZoneDescription();
}

// The labels under the tree take room only when they have something to show.
void frmPrincipal::DisposeZoneDescription() {
    QWidget* centre = centralWidget();
    const int largeur = centre->width() - 2 * marge;
    const bool visibles = !lblDescription->text().isEmpty() || !lblGerePar->text().isEmpty();
    int basArbre = centre->height() - marge;
    if (visibles) {
        const int hauteurLigne = lblDescriptionLabel->sizeHint().height();
        const int yGerePar = basArbre - hauteurLigne;
        const int yDescription = yGerePar - hauteurLigne - 2;
        const int gaucheTextes = marge + std::max(lblDescriptionLabel->width(), lblGereParLabel->width()) + 4;
        lblDescriptionLabel->move(marge, yDescription);
        lblGereParLabel->move(marge, yGerePar);
        lblDescription->setGeometry(gaucheTextes, yDescription, marge + largeur - gaucheTextes, hauteurLigne);
        lblGerePar->setGeometry(gaucheTextes, yGerePar, marge + largeur - gaucheTextes, hauteurLigne);
        basArbre = yDescription - marge;
    }
    for (QLabel* etiquette : {lblDescriptionLabel, lblDescription, lblGereParLabel, lblGerePar})
        etiquette->setVisible(visibles);
    tvwGroupes->resize(largeur, std::max(basArbre - tvwGroupes->y(), 20));
}

} // namespace arbrix
