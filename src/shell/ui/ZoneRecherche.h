#pragma once

// The search area of the main window: the O.U./group choice, the search box with its memorised
// entries and completion list, and the search and analysis-mode buttons. It asks for an
// analysis; the window runs it.

#include "search/Memos.h"

#include <QObject>

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace arbrix {

class BoiteRecherche;
struct EtatProgramme;

class ZoneRecherche : public QObject {
    Q_OBJECT
public:
    // The controls go on the window's central widget; the settings give the default mode and
    // the file of the memorised entries.
    ZoneRecherche(QWidget* centre, const EtatProgramme& etat, QObject* parent);

    // The box's text and the O.U. (0) / group (1) choice.
    QString Texte() const;
    void ChangeTexte(const QString& texte);
    int Type() const;
    void ChangeType(int type);

    Memos& memos() { return m_memos; }
    void ChargeMemos();
    void Memorise(const QString& nom, int type);
    // The box's list mirrors the memorised entries again, its text kept.
    void ReconstruitListe();
    void MasqueCompletion();
    // The end of the start-up: the completion's line height from its font as shown, the caret
    // in the box.
    void PrendLaSaisie();

    // The captioned controls, for the window's translation; then names for screen readers.
    QList<QWidget*> ControlesTitres() const;
    void NommeControlesSansTitre();
    // Widths from the translated captions.
    void Dispose();
    // The buttons keep to the right edge of the central widget.
    void Place();
    // Where the area ends, in the central widget.
    int Bas() const;

    // The window's shortcuts that the search box must not take for itself (a line edit takes
    // Ctrl+E, the end of the line, on X11): they reach the menu even while the caret is there.
    void LaisseALaFenetre(const QList<QAction*>& actions) { m_actionsFenetre = actions; }

    void btnChercher_Click();
    void btnChercherPlus_MouseDown();

signals:
    void analyseDemandee(qint16 mode);

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    bool estRaccourciDeLaFenetre(const QKeyEvent* event) const;
    bool cboRecherche_KeyDown(QKeyEvent* event);
    bool cboRecherche_KeyUp(QKeyEvent* event);
    bool cboRechercheListe_KeyDown(QKeyEvent* event);
    void cboRecherche_Change();
    void cboRecherche_Click(int index);
    void cboRecherche_DropDown();
    void lstCompletion_Click();
    void lstCompletion_MouseMove(const QPoint& position);
    void supprimeMemoSelectionne();
    void placeCompletion();
    void afficheCandidats();
    void copieCandidatDansBoite();
    void selectionneOptType(int type);
    int hauteurDisponible(int haut) const;

    const EtatProgramme& m_etat;
    Memos m_memos;
    Completion m_completion;
    bool m_selectionParProgramme = false;
    int m_hauteurLigneCompletion = 16;

    QWidget* m_centre;
    QLabel* lblChercher = nullptr;
    BoiteRecherche* cboRecherche = nullptr;
    QListWidget* lstCompletion = nullptr;
    // The filtered children, kept from the start: while the window is destroyed, asking the
    // half-destroyed combo box or list for them is undefined.
    QObject* m_ligneRecherche = nullptr;
    QObject* m_listeRecherche = nullptr;
    QObject* m_zoneCompletion = nullptr;
    QList<QAction*> m_actionsFenetre;
    QPushButton* btnChercher = nullptr;
    QPushButton* btnChercherPlus = nullptr;
    QGroupBox* fraType = nullptr;
    QRadioButton* optType[2] = {nullptr, nullptr};
};

} // namespace arbrix
