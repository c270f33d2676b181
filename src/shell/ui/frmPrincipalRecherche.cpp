// The search area of the main window: the search box with its memorised entries and completion
// list, the search and analysis-mode buttons, and the O.U./group choice.

#include "i18n/Traductions.h"
#include "menus/PopupMenu.h"
#include "settings/Ini.h"
#include "shell/ui/BoiteRecherche.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Analyse.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {
constexpr int margeBas = 8; // 120 twips above the bottom of the client area
}

void frmPrincipal::relieSignauxRecherche() {
    connect(cboRecherche, &QComboBox::editTextChanged, this, [this] { cboRecherche_Change(); });
    connect(cboRecherche, &QComboBox::activated, this, &frmPrincipal::cboRecherche_Click);
    cboRecherche->avantOuverture = [this] { cboRecherche_DropDown(); };
}

void frmPrincipal::ChargeMemos() {
    m_memos.Charge(m_etat.CheminIni());
    ReconstruitListeRecherche();
}

// The box's list mirrors the memorised entries, each with its type as item data.
void frmPrincipal::ReconstruitListeRecherche() {
    const QString texte = cboRecherche->currentText();
    const bool bloque = cboRecherche->blockSignals(true);
    cboRecherche->clear();
    for (const EntreeMemo& entree : m_memos.Elements())
        cboRecherche->addItem(entree.nom, entree.type);
    cboRecherche->setCurrentIndex(-1);
    cboRecherche->setEditText(texte);
    cboRecherche->blockSignals(bloque);
}

void frmPrincipal::MemoriseRecherche(const QString& nom, int type) {
    m_memos.MemoriseRecherche(nom, type);
    ReconstruitListeRecherche();
}

void frmPrincipal::cboRecherche_Change() {
    const bool actif = RechercheActivable(cboRecherche->currentText());
    btnChercher->setEnabled(actif);
    btnChercherPlus->setEnabled(actif);
}

void frmPrincipal::selectionneOptType(int type) {
    // A type read from an old settings file may be outside 0..1: it selects no button.
    if (type == 0 || type == 1)
        optType[type]->setChecked(true);
}

void frmPrincipal::cboRecherche_Click(int index) {
    if (index < 0 || index >= m_memos.Nombre())
        return;
    selectionneOptType(m_memos.EstSeparateur(index) ? 0 : m_memos.Element(index).type);
    cboRecherche_Change();
    m_completion.NoteTexte(cboRecherche->currentText());
}

void frmPrincipal::cboRecherche_DropDown() {
    lstCompletion->hide();
    // The drop-down reaches down to 8 pixels above the bottom of the client area.
    const int bas = centralWidget()->height() - margeBas;
    const int hauteurLigne = std::max(cboRecherche->view()->sizeHintForRow(0), m_hauteurLigneCompletion);
    const int lignes = std::max(1, (bas - cboRecherche->y()) / std::max(hauteurLigne, 1));
    cboRecherche->setMaxVisibleItems(lignes);
}

bool frmPrincipal::listeDeroulanteOuverte() const {
    return cboRecherche->listeOuverte();
}

// Returns true when the key is swallowed.
bool frmPrincipal::cboRecherche_KeyDown(QKeyEvent* event) {
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
bool frmPrincipal::cboRecherche_KeyUp(QKeyEvent* event) {
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

void frmPrincipal::afficheCandidats() {
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

void frmPrincipal::placeCompletion() {
    const QRect boite = cboRecherche->geometry();
    const int haut = boite.bottom() + 1;
    const int disponible = centralWidget()->height() - margeBas - haut;
    const int hauteur =
        HauteurCompletion(m_completion.Candidats().size(), m_hauteurLigneCompletion, disponible) +
        2 * lstCompletion->frameWidth();
    lstCompletion->setGeometry(boite.x(), haut, boite.width(), std::min(hauteur, std::max(disponible, 0)));
}

// The selected candidate goes into the box with its type, and is not completed again.
void frmPrincipal::copieCandidatDansBoite() {
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

void frmPrincipal::supprimeMemoSelectionne() {
    if (listeDeroulanteOuverte()) {
        const int i = cboRecherche->view()->currentIndex().row();
        if (i >= 0 && m_memos.Supprime(i)) {
            const QString texte = cboRecherche->currentText();
            ReconstruitListeRecherche();
            const qsizetype suivant = m_memos.IndexApresSuppression(i);
            if (suivant < 0)
                cboRecherche->hidePopup();
            else
                cboRecherche->view()->setCurrentIndex(cboRecherche->model()->index(int(suivant), 0));
            cboRecherche->setEditText(texte);
        }
    } else if (lstCompletion->isVisible() && m_completion.CandidatSelectionne()) {
        if (m_completion.SupprimeSelection(m_memos)) {
            ReconstruitListeRecherche();
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

void frmPrincipal::lstCompletion_MouseMove(const QPoint& position) {
    const QModelIndex index = lstCompletion->indexAt(position);
    if (!index.isValid() || !m_completion.Survole(index.row()))
        return;
    m_selectionParProgramme = true;
    lstCompletion->setCurrentRow(index.row());
    m_selectionParProgramme = false;
}

void frmPrincipal::lstCompletion_Click() {
    if (m_selectionParProgramme)
        return;
    const int ligne = lstCompletion->currentRow();
    if (!m_completion.Survole(ligne))
        return;
    copieCandidatDansBoite();
    cboRecherche->setFocus();
    lstCompletion->hide();
}

void frmPrincipal::masqueCompletion() {
    lstCompletion->hide();
}

// --- Buttons

void frmPrincipal::btnChercher_Click() {
    AnalyseRecherche(m_etat.Config.AnalyseParDefaut);
}

void frmPrincipal::btnChercherPlus_MouseDown() {
    if (!btnChercherPlus->isEnabled())
        return;
    clsPopupMenu menu;
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        if (mode != m_etat.Config.AnalyseParDefaut)
            menu.AddItem(mode, Traduction(CleTexteMode(mode)));
    const QPoint sous = btnChercherPlus->mapToGlobal(QPoint(0, btnChercherPlus->height()));
    const int choix = menu.TrackPopup(sous.x(), sous.y());
    if (choix >= Mode::Standard && choix <= Mode::StructureEtendue)
        AnalyseRecherche(qint16(choix));
}

void frmPrincipal::LanceAnalyse(qint16 mode, const QString& dn) {
    construitArbre([&] { return m_analyse->LanceAnalyse(mode, dn); });
}

void frmPrincipal::AnalyseRecherche(qint16 mode) {
    construitArbre([&] { return m_analyse->AnalyseTexte(mode, TexteRecherche(), TypeRecherche()); });
}

void frmPrincipal::construitArbre(const std::function<ResultatAnalyse()>& construction) {
    // The build lets window events run: a second search started meanwhile would empty the tree
    // under the running one. It is ignored until the first one ends.
    if (!m_analyse || m_analyseEnCours)
        return;
    m_analyseEnCours = true;
    masqueCompletion();
    Sablier(true);
    // The tree takes no input while it is rebuilt.
    tvwGroupes->setEnabled(false);
    const ResultatAnalyse resultat = construction();
    if (!resultat.racine.isEmpty()) {
        ChangeTexteRecherche(resultat.racine);
        ChangeTypeRecherche(resultat.typeRacine);
    }
    if (resultat.memoriser)
        MemoriseRecherche(TexteRecherche(), TypeRecherche());
    if (Noeud* racine = resultat.construite ? m_arbre.Racine() : nullptr)
        cliqueNoeud(racine);
    tvwGroupes->setEnabled(true);
    tvwGroupes->setFocus();
    Sablier(false);
    m_analyseEnCours = false;
    rattacheVue();
    MetAJourBarreEtat();
    if (m_fermetureDemandee)
        close();
}

QString frmPrincipal::TexteRecherche() const {
    return cboRecherche->currentText();
}

void frmPrincipal::ChangeTexteRecherche(const QString& texte) {
    cboRecherche->setEditText(texte);
    m_completion.NoteTexte(texte);
    cboRecherche_Change();
}

int frmPrincipal::TypeRecherche() const {
    return optType[0]->isChecked() ? 0 : 1;
}

void frmPrincipal::ChangeTypeRecherche(int type) {
    selectionneOptType(type);
}

} // namespace arbrix
