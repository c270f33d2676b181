#include "shell/ui/frmPrincipal.h"

#include "i18n/TraductionFeuille.h"
#include "i18n/Traductions.h"
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
constexpr int hauteurBoîte = 24;
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

frmPrincipal::frmPrincipal(ÉtatProgramme& état, QWidget* parent)
    : QMainWindow(parent)
    , m_état(état) {
    setObjectName(u"frmPrincipal"_s);
    setWindowTitle(TitreApplication());
    setWindowIcon(IcôneApplication());
    setFont(PoliceInterface());
    créeContrôles();
    créeMenus();
    créeSystray();
    relieSignaux();
    InstalleAfficheurMenusQt(this);
    // The window's smallest size: 4500 x 3000 twips.
    setMinimumSize(EnPixels(4500), EnPixels(3000));
    resize(EnPixels(9000), EnPixels(7500));
    m_largeurFenêtre = width();
    m_hauteurFenêtre = height();
}

frmPrincipal::~frmPrincipal() {
    // The tree must not notify a model that is being destroyed.
    m_arbre.disconnect();
}

void frmPrincipal::créeContrôles() {
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
    m_modèle = new ModeleArbre(m_arbre, this);
    tvwGroupes->setModel(m_modèle);
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
    lblGéréParLabel = new QLabel(u"Géré par :"_s, centre);
    lblGéréParLabel->setObjectName(u"lblGéréParLabel"_s);
    lblGéréPar = new QLabel(centre);
    lblGéréPar->setObjectName(u"lblGéréPar"_s);
    lblGéréPar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (QLabel* étiquette : {lblDescriptionLabel, lblGéréParLabel}) {
        QFont police = étiquette->font();
        police.setBold(true);
        étiquette->setFont(police);
    }
    for (QLabel* étiquette : {lblDescriptionLabel, lblDescription, lblGéréParLabel, lblGéréPar})
        étiquette->hide();

    // Floats above the other controls, under the search box; it never takes the focus, so a
    // click on it reaches it while the search box keeps the caret.
    lstComplétion = new QListWidget(centre);
    lstComplétion->setObjectName(u"lstComplétion"_s);
    lstComplétion->setFocusPolicy(Qt::NoFocus);
    lstComplétion->setMouseTracking(true);
    lstComplétion->setUniformItemSizes(true);
    lstComplétion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstComplétion->hide();

    tmrExpand = new QTimer(this);
    tmrExpand->setObjectName(u"tmrExpand"_s);
    tmrExpand->setInterval(1000);
    tmrExpand->setSingleShot(false);
    tmrRenommage = new QTimer(this);
    tmrRenommage->setObjectName(u"tmrRenommage"_s);

    cboRecherche->installEventFilter(this);
    cboRecherche->lineEdit()->installEventFilter(this);
    cboRecherche->view()->installEventFilter(this);
    lstComplétion->viewport()->installEventFilter(this);
    tvwGroupes->installEventFilter(this);
    tvwGroupes->viewport()->installEventFilter(this);
    btnChercherPlus->installEventFilter(this);
    lblGéréPar->installEventFilter(this);
    cboRecherche_Change();
}

void frmPrincipal::créeMenus() {
    QMenuBar* barre = menuBar();
    m_mnuFichier = ajouteMenu(barre, u"mnuFichier"_s, u"&Fichier"_s);
    mnuFichierQuitter = ajouteAction(m_mnuFichier, u"mnuFichierQuitter"_s, u"&Quitter"_s);

    m_mnuEdition = ajouteMenu(barre, u"mnuEdition"_s, u"&Edition"_s);
    mnuEditionRechercher = ajouteAction(m_mnuEdition, u"mnuEditionRechercher"_s, u"&Rechercher..."_s);
    mnuEditionRechercherSuivant = ajouteAction(m_mnuEdition, u"mnuEditionRechercherSuivant"_s, u"&Suivant"_s);
    mnuEditionRechercherPrécédent =
        ajouteAction(m_mnuEdition, u"mnuEditionRechercherPrécédent"_s, u"&Précédent"_s);
    mnuEditionRechercher->setShortcut(QKeySequence::Find);
    mnuEditionRechercherSuivant->setShortcut(QKeySequence::FindNext);
    mnuEditionRechercherPrécédent->setShortcut(QKeySequence::FindPrevious);

    m_mnuOptions = ajouteMenu(barre, u"mnuOptions"_s, u"&Options"_s);
    mnuOptionsMémoriserPosition =
        ajouteAction(m_mnuOptions, u"mnuOptionsMémoriserPosition"_s, u"Mémoriser &position fenêtre"_s);
    mnuOptionsMémoriserTaille =
        ajouteAction(m_mnuOptions, u"mnuOptionsMémoriserTaille"_s, u"Mémoriser &taille fenêtre"_s);
    m_mnuOptions->addSeparator()->setObjectName(u"mnuOptionsSep1"_s);
    mnuOptionsMinimiserSystray =
        ajouteAction(m_mnuOptions, u"mnuOptionsMinimiserSystray"_s, u"Minimiser dans la &systray"_s);
    mnuOptionsToujoursAuDessus =
        ajouteAction(m_mnuOptions, u"mnuOptionsToujoursAuDessus"_s, u"Fenêtre toujours au &dessus"_s);
    m_mnuOptions->addSeparator()->setObjectName(u"mnuOptionsSep2"_s);
    mnuOptionsConfiguration =
        ajouteAction(m_mnuOptions, u"mnuOptionsConfiguration"_s, u"&Configuration..."_s);
    for (QAction* option : {mnuOptionsMémoriserPosition, mnuOptionsMémoriserTaille,
                            mnuOptionsMinimiserSystray, mnuOptionsToujoursAuDessus})
        option->setCheckable(true);

    m_mnuAide = ajouteMenu(barre, u"mnuAide"_s, u"&?"_s);
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
    auto décrit = [&feuille](QObject* objet, GenreContrôle genre, const QString& texte, int index = -1) {
        QString nom = objet->objectName();
        if (index >= 0)
            nom = nom.left(nom.lastIndexOf(u'_'));
        feuille.contrôles.append({nom, index, genre, texte, {}});
    };
    décrit(lblChercher, GenreContrôle::Etiquette, lblChercher->text());
    décrit(btnChercher, GenreContrôle::Bouton, btnChercher->text());
    décrit(fraType, GenreContrôle::Cadre, fraType->title());
    décrit(optType[0], GenreContrôle::BoutonOption, optType[0]->text(), 0);
    décrit(optType[1], GenreContrôle::BoutonOption, optType[1]->text(), 1);
    décrit(lblDescriptionLabel, GenreContrôle::Etiquette, lblDescriptionLabel->text());
    décrit(lblGéréParLabel, GenreContrôle::Etiquette, lblGéréParLabel->text());
    QList<QAction*> actions;
    for (QMenu* menu : {m_mnuFichier, m_mnuEdition, m_mnuOptions, m_mnuAide, m_mnuSystray}) {
        feuille.contrôles.append({menu->objectName(), -1, GenreContrôle::Menu, menu->title(), {}});
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) {
                actions << action;
                décrit(action, GenreContrôle::Menu, action->text());
            }
    }
    TraduitFeuille(feuille);

    // The window's caption is the program's title, never a translated text.
    qsizetype i = 0;
    lblChercher->setText(feuille.contrôles[i++].texte);
    btnChercher->setText(feuille.contrôles[i++].texte);
    fraType->setTitle(feuille.contrôles[i++].texte);
    optType[0]->setText(feuille.contrôles[i++].texte);
    optType[1]->setText(feuille.contrôles[i++].texte);
    lblDescriptionLabel->setText(feuille.contrôles[i++].texte);
    lblGéréParLabel->setText(feuille.contrôles[i++].texte);
    qsizetype a = 0;
    for (QMenu* menu : {m_mnuFichier, m_mnuEdition, m_mnuOptions, m_mnuAide, m_mnuSystray}) {
        menu->setTitle(feuille.contrôles[i++].texte);
        for (qsizetype n = 0; n < menu->actions().size(); ++n)
            if (!menu->actions()[n]->isSeparator())
                actions[a++]->setText(feuille.contrôles[i++].texte);
    }
    disposeZoneRecherche();
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
    const int gaucheBoîte = fraType->geometry().right() + 1 + marge;
    lblChercher->setGeometry(gaucheBoîte, 6, largeur(lblChercher->text()) + 8, 18);
    btnChercher->resize(largeur(btnChercher->text()) + EnPixels(180) + 8, hauteurBoîte + 2);
    btnChercherPlus->resize(largeurChercherPlus, hauteurBoîte + 2);
    cboRecherche->move(gaucheBoîte, 26);
    // These two captions are bold: measured in their own font.
    for (QLabel* étiquette : {lblDescriptionLabel, lblGéréParLabel})
        étiquette->resize(étiquette->fontMetrics().horizontalAdvance(étiquette->text()) + 6,
                          étiquette->sizeHint().height());
    m_hauteurLigneComplétion = std::max(QFontMetrics(lstComplétion->font()).height() + 2, 14);
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
        m_largeurFenêtre = width();
        m_hauteurFenêtre = height();
    }
    QWidget* centre = centralWidget();
    const int largeur = centre->width();
    btnChercherPlus->move(largeur - marge - btnChercherPlus->width(), cboRecherche->y() - 1);
    btnChercher->move(btnChercherPlus->x() - btnChercher->width(), cboRecherche->y() - 1);
    cboRecherche->resize(std::max(btnChercher->x() - cboRecherche->x() - marge, 40), hauteurBoîte);
    if (lstComplétion->isVisible())
        placeComplétion();
    tvwGroupes->move(marge, fraType->geometry().bottom() + 1 + marge);
    DisposeZoneDescription();
}

// The labels under the tree take room only when they have something to show.
void frmPrincipal::DisposeZoneDescription() {
    QWidget* centre = centralWidget();
    const int largeur = centre->width() - 2 * marge;
    const bool visibles = !lblDescription->text().isEmpty() || !lblGéréPar->text().isEmpty();
    int basArbre = centre->height() - marge;
    if (visibles) {
        const int hauteurLigne = lblDescriptionLabel->sizeHint().height();
        const int yGéréPar = basArbre - hauteurLigne;
        const int yDescription = yGéréPar - hauteurLigne - 2;
        const int gaucheTextes = marge + std::max(lblDescriptionLabel->width(), lblGéréParLabel->width()) + 4;
        lblDescriptionLabel->move(marge, yDescription);
        lblGéréParLabel->move(marge, yGéréPar);
        lblDescription->setGeometry(gaucheTextes, yDescription, marge + largeur - gaucheTextes, hauteurLigne);
        lblGéréPar->setGeometry(gaucheTextes, yGéréPar, marge + largeur - gaucheTextes, hauteurLigne);
        basArbre = yDescription - marge;
    }
    for (QLabel* étiquette : {lblDescriptionLabel, lblDescription, lblGéréParLabel, lblGéréPar})
        étiquette->setVisible(visibles);
    tvwGroupes->resize(largeur, std::max(basArbre - tvwGroupes->y(), 20));
}

} // namespace arbrix
