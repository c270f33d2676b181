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

void frmPrincipal::ChargeMémos() {
    m_mémos.Charge(m_état.CheminIni());
    ReconstruitListeRecherche();
}

// The box's list mirrors the memorised entries, each with its type as item data.
void frmPrincipal::ReconstruitListeRecherche() {
    const QString texte = cboRecherche->currentText();
    const bool bloqué = cboRecherche->blockSignals(true);
    cboRecherche->clear();
    for (const EntréeMémo& entrée : m_mémos.Éléments())
        cboRecherche->addItem(entrée.nom, entrée.type);
    cboRecherche->setCurrentIndex(-1);
    cboRecherche->setEditText(texte);
    cboRecherche->blockSignals(bloqué);
}

void frmPrincipal::MémoriseRecherche(const QString& nom, int type) {
    m_mémos.MémoriseRecherche(nom, type);
    ReconstruitListeRecherche();
}

void frmPrincipal::cboRecherche_Change() {
    const bool actif = RechercheActivable(cboRecherche->currentText());
    btnChercher->setEnabled(actif);
    btnChercherPlus->setEnabled(actif);
}

void frmPrincipal::sélectionneOptType(int type) {
    // A type read from an old settings file may be outside 0..1: it selects no button.
    if (type == 0 || type == 1)
        optType[type]->setChecked(true);
}

void frmPrincipal::cboRecherche_Click(int index) {
    if (index < 0 || index >= m_mémos.Nombre())
        return;
    sélectionneOptType(m_mémos.EstSéparateur(index) ? 0 : m_mémos.Élément(index).type);
    cboRecherche_Change();
    m_complétion.NoteTexte(cboRecherche->currentText());
}

void frmPrincipal::cboRecherche_DropDown() {
    lstComplétion->hide();
    // The drop-down reaches down to 8 pixels above the bottom of the client area.
    const int bas = centralWidget()->height() - margeBas;
    const int hauteurLigne = std::max(cboRecherche->view()->sizeHintForRow(0), m_hauteurLigneComplétion);
    const int lignes = std::max(1, (bas - cboRecherche->y()) / std::max(hauteurLigne, 1));
    cboRecherche->setMaxVisibleItems(lignes);
}

bool frmPrincipal::listeDéroulanteOuverte() const {
    return cboRecherche->listeOuverte();
}

// Returns true when the key is swallowed.
bool frmPrincipal::cboRecherche_KeyDown(QKeyEvent* event) {
    const int touche = event->key();
    const bool majSuppr = touche == Qt::Key_Delete && event->modifiers().testFlag(Qt::ShiftModifier);
    const bool entrée = touche == Qt::Key_Return || touche == Qt::Key_Enter;
    if (!lstComplétion->isVisible()) {
        if ((touche == Qt::Key_Up || touche == Qt::Key_Down) && !event->modifiers().testFlag(Qt::AltModifier))
            return true;
        if (entrée) {
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
        lstComplétion->hide();
        return true;
    case Qt::Key_Up:
        if (m_complétion.Monte())
            copieCandidatDansBoîte();
        return true;
    case Qt::Key_Down:
        if (m_complétion.Descend())
            copieCandidatDansBoîte();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        lstComplétion->hide();
        if (btnChercher->isEnabled())
            btnChercher_Click();
        return true;
    default:
        return majSuppr;
    }
}

void frmPrincipal::cboRecherche_KeyUp(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers().testFlag(Qt::ShiftModifier)) {
        supprimeMémoSélectionné();
        return;
    }
    if (event->key() == 0 || !m_complétion.TexteSaisi(m_mémos, cboRecherche->currentText()))
        return;
    cboRecherche->hidePopup();
    lstComplétion->clear();
    lstComplétion->hide();
    if (!m_complétion.EstVide())
        afficheCandidats();
}

void frmPrincipal::afficheCandidats() {
    lstComplétion->clear();
    for (const EntréeMémo& candidat : m_complétion.Candidats()) {
        auto* élément = new QListWidgetItem(candidat.nom, lstComplétion);
        élément->setData(Qt::UserRole, candidat.type);
    }
    m_sélectionParProgramme = true;
    lstComplétion->setCurrentRow(int(m_complétion.Sélection()));
    if (m_complétion.Sélection() < 0)
        lstComplétion->clearSelection();
    m_sélectionParProgramme = false;
    placeComplétion();
    lstComplétion->raise();
    lstComplétion->show();
}

void frmPrincipal::placeComplétion() {
    const QRect boîte = cboRecherche->geometry();
    const int haut = boîte.bottom() + 1;
    const int disponible = centralWidget()->height() - margeBas - haut;
    const int hauteur =
        HauteurComplétion(m_complétion.Candidats().size(), m_hauteurLigneComplétion, disponible) +
        2 * lstComplétion->frameWidth();
    lstComplétion->setGeometry(boîte.x(), haut, boîte.width(), std::min(hauteur, std::max(disponible, 0)));
}

// The selected candidate goes into the box with its type, and is not completed again.
void frmPrincipal::copieCandidatDansBoîte() {
    const EntréeMémo* candidat = m_complétion.CandidatSélectionné();
    if (!candidat)
        return;
    m_sélectionParProgramme = true;
    lstComplétion->setCurrentRow(int(m_complétion.Sélection()));
    m_sélectionParProgramme = false;
    cboRecherche->setEditText(candidat->nom);
    sélectionneOptType(candidat->type);
    m_complétion.NoteTexte(candidat->nom);
    cboRecherche->lineEdit()->selectAll();
    cboRecherche_Change();
}

void frmPrincipal::supprimeMémoSélectionné() {
    if (listeDéroulanteOuverte()) {
        const int i = cboRecherche->view()->currentIndex().row();
        if (i >= 0 && m_mémos.Supprime(i)) {
            const QString texte = cboRecherche->currentText();
            ReconstruitListeRecherche();
            const qsizetype suivant = m_mémos.IndexAprèsSuppression(i);
            if (suivant < 0)
                cboRecherche->hidePopup();
            else
                cboRecherche->view()->setCurrentIndex(cboRecherche->model()->index(int(suivant), 0));
            cboRecherche->setEditText(texte);
        }
    } else if (lstComplétion->isVisible() && m_complétion.CandidatSélectionné()) {
        if (m_complétion.SupprimeSélection(m_mémos)) {
            ReconstruitListeRecherche();
            if (m_complétion.EstVide()) {
                cboRecherche->setEditText(QString());
                lstComplétion->hide();
            } else {
                afficheCandidats();
                copieCandidatDansBoîte();
            }
        }
    }
    cboRecherche_Change();
}

void frmPrincipal::lstComplétion_MouseMove(const QPoint& position) {
    const QModelIndex index = lstComplétion->indexAt(position);
    if (!index.isValid() || !m_complétion.Survole(index.row()))
        return;
    m_sélectionParProgramme = true;
    lstComplétion->setCurrentRow(index.row());
    m_sélectionParProgramme = false;
}

void frmPrincipal::lstComplétion_Click() {
    if (m_sélectionParProgramme)
        return;
    const int ligne = lstComplétion->currentRow();
    if (!m_complétion.Survole(ligne))
        return;
    copieCandidatDansBoîte();
    cboRecherche->setFocus();
    lstComplétion->hide();
}

void frmPrincipal::MasqueComplétion() {
    lstComplétion->hide();
}

// --- Buttons

void frmPrincipal::btnChercher_Click() {
    LanceAnalyse(m_état.Config.AnalyseParDéfaut);
}

void frmPrincipal::btnChercherPlus_MouseDown() {
    if (!btnChercherPlus->isEnabled())
        return;
    clsPopupMenu menu;
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        if (mode != m_état.Config.AnalyseParDéfaut)
            menu.AddItem(mode, Traduction(CléTexteMode(mode)));
    const QPoint sous = btnChercherPlus->mapToGlobal(QPoint(0, btnChercherPlus->height()));
    const int choix = menu.TrackPopup(sous.x(), sous.y());
    if (choix >= Mode::Standard && choix <= Mode::StructureEtendue)
        LanceAnalyse(qint16(choix));
}

void frmPrincipal::LanceAnalyse(qint16 mode, const QString& dn) {
    // The build lets window events run: a second search started meanwhile would empty the tree
    // under the running one. It is ignored until the first one ends.
    if (!m_analyse || m_analyseEnCours)
        return;
    m_analyseEnCours = true;
    m_analyse->LanceAnalyse(mode, dn);
    m_analyseEnCours = false;
    if (m_fermetureDemandée)
        close();
}

QString frmPrincipal::TexteRecherche() const {
    return cboRecherche->currentText();
}

void frmPrincipal::ChangeTexteRecherche(const QString& texte) {
    cboRecherche->setEditText(texte);
    m_complétion.NoteTexte(texte);
    cboRecherche_Change();
}

int frmPrincipal::TypeRecherche() const {
    return optType[0]->isChecked() ? 0 : 1;
}

void frmPrincipal::ChangeTypeRecherche(int type) {
    sélectionneOptType(type);
}

} // namespace arbrix
