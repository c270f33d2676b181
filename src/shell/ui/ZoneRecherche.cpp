#include "shell/ui/ZoneRecherche.h"

#include "i18n/Traductions.h"
#include "menus/PopupMenu.h"
#include "shell/Programme.h"
#include "shell/ui/BoiteRecherche.h"
#include "shell/ui/Geometrie.h"
#include "tree/Analyse.h"

#include <QAbstractItemView>
#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {
// Designed geometry of the search area, in pixels.
constexpr int marge = 8;    // 120 twips
constexpr int margeBas = 8; // above the bottom of the client area
constexpr int hauteurCadreType = 56;
constexpr int hauteurBoite = 24;
constexpr int largeurChercherPlus = 24;
} // namespace

ZoneRecherche::ZoneRecherche(QWidget* centre, const EtatProgramme& etat, QObject* parent)
    : QObject(parent)
    , m_etat(etat)
    , m_centre(centre) {
    fraType = new QGroupBox(u"Recherche"_s, centre);
    fraType->setObjectName(u"fraType"_s);
    optType[0] = new QRadioButton(u"O.&U."_s, fraType);
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

    // Floats above the other controls, under the search box; it never takes the focus, so a
    // click on it reaches it while the search box keeps the caret.
    lstCompletion = new QListWidget(centre);
    lstCompletion->setObjectName(u"lstComplétion"_s);
    lstCompletion->setFocusPolicy(Qt::NoFocus);
    lstCompletion->setMouseTracking(true);
    lstCompletion->setUniformItemSizes(true);
    lstCompletion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstCompletion->hide();

    m_ligneRecherche = cboRecherche->lineEdit();
    m_listeRecherche = cboRecherche->view();
    m_zoneCompletion = lstCompletion->viewport();
    for (QObject* controle : std::initializer_list<QObject*>{cboRecherche, m_ligneRecherche, m_listeRecherche,
                                                             m_zoneCompletion, btnChercherPlus})
        controle->installEventFilter(this);
    connect(cboRecherche, &QComboBox::editTextChanged, this, [this] { cboRecherche_Change(); });
    connect(cboRecherche, &QComboBox::activated, this, &ZoneRecherche::cboRecherche_Click);
    cboRecherche->avantOuverture = [this] { cboRecherche_DropDown(); };
    connect(btnChercher, &QPushButton::clicked, this, &ZoneRecherche::btnChercher_Click);
    cboRecherche_Change();
}

bool ZoneRecherche::eventFilter(QObject* objet, QEvent* event) {
    const QEvent::Type type = event->type();
    if (objet == m_ligneRecherche || objet == cboRecherche) {
        if (type == QEvent::ShortcutOverride && estRaccourciDeLaFenetre(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        if (type == QEvent::KeyPress)
            return cboRecherche_KeyDown(static_cast<QKeyEvent*>(event));
        if (type == QEvent::KeyRelease)
            return cboRecherche_KeyUp(static_cast<QKeyEvent*>(event));
        if (type == QEvent::FocusOut)
            lstCompletion->hide();
    } else if (objet == m_listeRecherche && type == QEvent::KeyPress) {
        return cboRechercheListe_KeyDown(static_cast<QKeyEvent*>(event));
    } else if (objet == m_zoneCompletion) {
        if (type == QEvent::MouseMove)
            lstCompletion_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (type == QEvent::MouseButtonRelease)
            QTimer::singleShot(0, this, &ZoneRecherche::lstCompletion_Click);
    } else if (objet == btnChercherPlus && type == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QTimer::singleShot(0, this, &ZoneRecherche::btnChercherPlus_MouseDown);
        return true;
    } else if (objet == btnChercherPlus && type == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(event)->key();
        if (touche == Qt::Key_Space || touche == Qt::Key_Down) {
            btnChercherPlus_MouseDown();
            return true;
        }
    }
    return false;
}

bool ZoneRecherche::estRaccourciDeLaFenetre(const QKeyEvent* event) const {
    const QKeySequence tape(event->keyCombination());
    return std::any_of(m_actionsFenetre.begin(), m_actionsFenetre.end(), [&](const QAction* action) {
        return action->isEnabled() && action->shortcut().matches(tape) == QKeySequence::ExactMatch;
    });
}

// --- Text, kind and memorised entries

QString ZoneRecherche::Texte() const {
    return cboRecherche->currentText();
}

void ZoneRecherche::ChangeTexte(const QString& texte) {
    cboRecherche->setEditText(texte);
    m_completion.NoteTexte(texte);
    cboRecherche_Change();
}

int ZoneRecherche::Type() const {
    return optType[0]->isChecked() ? 0 : 1;
}

void ZoneRecherche::ChangeType(int type) {
    selectionneOptType(type);
}

void ZoneRecherche::selectionneOptType(int type) {
    // A type read from an old settings file may be outside 0..1: it selects no button.
    if (type == 0 || type == 1)
        optType[type]->setChecked(true);
}

void ZoneRecherche::ChargeMemos() {
    m_memos.Charge(m_etat.CheminIni());
    ReconstruitListe();
}

void ZoneRecherche::Memorise(const QString& nom, int type) {
    m_memos.MemoriseRecherche(nom, type);
    ReconstruitListe();
}

// Each item of the list holds its type as item data.
void ZoneRecherche::ReconstruitListe() {
    const QString texte = cboRecherche->currentText();
    const bool bloque = cboRecherche->blockSignals(true);
    cboRecherche->clear();
    for (const EntreeMemo& entree : m_memos.Elements())
        cboRecherche->addItem(entree.nom, entree.type);
    cboRecherche->setCurrentIndex(-1);
    cboRecherche->setEditText(texte);
    cboRecherche->blockSignals(bloque);
    cboRecherche_Change();
}

void ZoneRecherche::MasqueCompletion() {
    lstCompletion->hide();
}

void ZoneRecherche::PrendLaSaisie() {
    m_hauteurLigneCompletion = std::max(QFontMetrics(lstCompletion->font()).height() + 2, 14);
    cboRecherche->setFocus();
}

// --- Captions and layout

QList<QWidget*> ZoneRecherche::ControlesTitres() const {
    return {lblChercher, btnChercher, fraType, optType[0], optType[1]};
}

// What a screen reader says of the controls whose caption says nothing or that have none.
void ZoneRecherche::NommeControlesSansTitre() {
    const QString recherche = QString(lblChercher->text()).remove(u'&');
    cboRecherche->setAccessibleName(recherche);
    cboRecherche->lineEdit()->setAccessibleName(recherche);
    btnChercher->setAccessibleDescription(Traduction(u"ACC_CHERCHER"));
    btnChercherPlus->setAccessibleName(Traduction(u"ACC_CHERCHER_PLUS"));
    btnChercherPlus->setAccessibleDescription(Traduction(u"ACC_CHERCHER_PLUS_DESCRIPTION"));
    lstCompletion->setAccessibleName(Traduction(u"ACC_COMPLETION"));
}

// Widths follow the translated captions, measured in the window's font.
void ZoneRecherche::Dispose() {
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
    m_hauteurLigneCompletion = std::max(QFontMetrics(lstCompletion->font()).height() + 2, 14);
}

void ZoneRecherche::Place() {
    const int largeur = m_centre->width();
    btnChercherPlus->move(largeur - marge - btnChercherPlus->width(), cboRecherche->y() - 1);
    btnChercher->move(btnChercherPlus->x() - btnChercher->width(), cboRecherche->y() - 1);
    cboRecherche->resize(std::max(btnChercher->x() - cboRecherche->x() - marge, 40), hauteurBoite);
    if (lstCompletion->isVisible())
        placeCompletion();
}

int ZoneRecherche::Bas() const {
    return fraType->geometry().bottom() + 1;
}

int ZoneRecherche::hauteurDisponible(int haut) const {
    return m_centre->height() - margeBas - haut;
}

// --- The box

void ZoneRecherche::cboRecherche_Change() {
    const bool actif = RechercheActivable(cboRecherche->currentText());
    btnChercher->setEnabled(actif);
    btnChercherPlus->setEnabled(actif);
}

void ZoneRecherche::cboRecherche_Click(int index) {
    if (index < 0 || index >= m_memos.Nombre())
        return;
    selectionneOptType(m_memos.EstSeparateur(index) ? 0 : m_memos.Element(index).type);
    cboRecherche_Change();
    m_completion.NoteTexte(cboRecherche->currentText());
}

void ZoneRecherche::cboRecherche_DropDown() {
    lstCompletion->hide();
    // The drop-down reaches down to 8 pixels above the bottom of the client area.
    const int hauteurLigne = std::max(cboRecherche->view()->sizeHintForRow(0), m_hauteurLigneCompletion);
    const int lignes = std::max(1, hauteurDisponible(cboRecherche->y()) / std::max(hauteurLigne, 1));
    cboRecherche->setMaxVisibleItems(lignes);
}

// Returns true when the key is swallowed.
bool ZoneRecherche::cboRecherche_KeyDown(QKeyEvent* event) {
    const int touche = event->key();
    const bool majSuppr = touche == Qt::Key_Delete && event->modifiers().testFlag(Qt::ShiftModifier);
    const bool entree = touche == Qt::Key_Return || touche == Qt::Key_Enter;
    if (!lstCompletion->isVisible()) {
        if ((touche == Qt::Key_Up || touche == Qt::Key_Down) && !event->modifiers().testFlag(Qt::AltModifier))
            return true;
        if (entree) {
            // The search button is the window's default button.
            if (btnChercher->isEnabled())
                btnChercher_Click();
            return true;
        }
        return false;
    }
    switch (touche) {
    case Qt::Key_Escape:
        cboRecherche->setEditText(QString());
        lstCompletion->hide();
        return true;
    case Qt::Key_Up:
        if (m_completion.Monte())
            copieCandidatDansBoite();
        return true;
    case Qt::Key_Down:
        if (m_completion.Descend())
            copieCandidatDansBoite();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        lstCompletion->hide();
        if (btnChercher->isEnabled())
            btnChercher_Click();
        return true;
    default:
        return majSuppr;
    }
}

// Returns true when the key is swallowed: the line edit passes on a release it ignores to the
// box, where a second Shift+Delete would forget a second entry.
bool ZoneRecherche::cboRecherche_KeyUp(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers().testFlag(Qt::ShiftModifier)) {
        supprimeMemoSelectionne();
        return true;
    }
    if (event->key() == 0 || !m_completion.TexteSaisi(m_memos, cboRecherche->currentText()))
        return false;
    cboRecherche->hidePopup();
    lstCompletion->clear();
    lstCompletion->hide();
    if (!m_completion.EstVide())
        afficheCandidats();
    return false;
}

// In the open drop-down: Escape closes it and empties the box, Shift+Delete forgets the entry.
bool ZoneRecherche::cboRechercheListe_KeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cboRecherche->hidePopup();
        cboRecherche->setEditText(QString());
        return true;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers().testFlag(Qt::ShiftModifier)) {
        supprimeMemoSelectionne();
        return true;
    }
    return false;
}

void ZoneRecherche::supprimeMemoSelectionne() {
    if (cboRecherche->listeOuverte()) {
        const int i = cboRecherche->view()->currentIndex().row();
        if (i >= 0 && m_memos.Supprime(i)) {
            const QString texte = cboRecherche->currentText();
            ReconstruitListe();
            const qsizetype suivant = m_memos.IndexApresSuppression(i);
            if (suivant < 0)
                cboRecherche->hidePopup();
            else
                cboRecherche->view()->setCurrentIndex(cboRecherche->model()->index(int(suivant), 0));
            cboRecherche->setEditText(texte);
        }
    } else if (lstCompletion->isVisible() && m_completion.CandidatSelectionne()) {
        if (m_completion.SupprimeSelection(m_memos)) {
            ReconstruitListe();
            if (m_completion.EstVide()) {
                cboRecherche->setEditText(QString());
                lstCompletion->hide();
            } else {
                afficheCandidats();
                copieCandidatDansBoite();
            }
        }
    }
    cboRecherche_Change();
}

// --- The completion list

void ZoneRecherche::afficheCandidats() {
    lstCompletion->clear();
    for (const EntreeMemo& candidat : m_completion.Candidats()) {
        auto* element = new QListWidgetItem(candidat.nom, lstCompletion);
        element->setData(Qt::UserRole, candidat.type);
    }
    m_selectionParProgramme = true;
    lstCompletion->setCurrentRow(int(m_completion.Selection()));
    if (m_completion.Selection() < 0)
        lstCompletion->clearSelection();
    m_selectionParProgramme = false;
    placeCompletion();
    lstCompletion->raise();
    lstCompletion->show();
}

void ZoneRecherche::placeCompletion() {
    const QRect boite = cboRecherche->geometry();
    const int haut = boite.bottom() + 1;
    const int disponible = hauteurDisponible(haut);
    const int hauteur =
        HauteurCompletion(m_completion.Candidats().size(), m_hauteurLigneCompletion, disponible) +
        2 * lstCompletion->frameWidth();
    lstCompletion->setGeometry(boite.x(), haut, boite.width(), std::min(hauteur, std::max(disponible, 0)));
}

// The selected candidate goes into the box with its type, and is not completed again.
void ZoneRecherche::copieCandidatDansBoite() {
    const EntreeMemo* candidat = m_completion.CandidatSelectionne();
    if (!candidat)
        return;
    m_selectionParProgramme = true;
    lstCompletion->setCurrentRow(int(m_completion.Selection()));
    m_selectionParProgramme = false;
    cboRecherche->setEditText(candidat->nom);
    selectionneOptType(candidat->type);
    m_completion.NoteTexte(candidat->nom);
    cboRecherche->lineEdit()->selectAll();
    cboRecherche_Change();
}

void ZoneRecherche::lstCompletion_MouseMove(const QPoint& position) {
    const QModelIndex index = lstCompletion->indexAt(position);
    if (!index.isValid() || !m_completion.Survole(index.row()))
        return;
    m_selectionParProgramme = true;
    lstCompletion->setCurrentRow(index.row());
    m_selectionParProgramme = false;
}

void ZoneRecherche::lstCompletion_Click() {
    if (m_selectionParProgramme)
        return;
    const int ligne = lstCompletion->currentRow();
    if (!m_completion.Survole(ligne))
        return;
    copieCandidatDansBoite();
    cboRecherche->setFocus();
    lstCompletion->hide();
}

// --- Buttons

void ZoneRecherche::btnChercher_Click() {
    emit analyseDemandee(m_etat.Config.AnalyseParDefaut);
}

void ZoneRecherche::btnChercherPlus_MouseDown() {
    if (!btnChercherPlus->isEnabled())
        return;
    clsPopupMenu menu;
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        if (mode != m_etat.Config.AnalyseParDefaut)
            menu.AddItem(mode, Traduction(CleTexteMode(mode)));
    const QPoint sous = btnChercherPlus->mapToGlobal(QPoint(0, btnChercherPlus->height()));
    const int choix = menu.TrackPopup(sous.x(), sous.y());
    if (choix >= Mode::Standard && choix <= Mode::StructureEtendue)
        emit analyseDemandee(qint16(choix));
}

} // namespace arbrix
