#pragma once

// The two choice dialogs of the group menu: accounts (frmAjoutCompte) and groups (frmAjoutGroupe).
// A search by prefix ("*" for any characters) fills a sortable list; rows (button or double
// click), typed or pasted entries go into the selection box; OK, or Enter in that box, looks
// every entry up exactly and keeps the dialog open on the first one that names nothing or
// several objects.

#include "groupops/ChoixMembres.h"

#include <QDialog>
#include <QHash>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace arbrix {

class Interaction;
class SessionAD;

class frmAjoutMembres : public QDialog {
    Q_OBJECT
public:
    frmAjoutMembres(SessionAD& session, Interaction& interaction, GenreMembre genre,
                    QWidget* parent = nullptr);

    // What OK resolved; empty until then, and after a cancel.
    const QList<MembreChoisi>& Choix() const { return m_choix; }

    void btnChercher_Click();
    void btnAjouter_Click();
    void btnOK_Click();
    void lvw_ColumnClick(int colonne);

protected:
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void construit();
    void colle(bool dollar);
    void actualiseBoutons();
    void signale(const QString& texte);

    SessionAD& m_session;
    Interaction& m_interaction;
    GenreMembre m_genre;
    QList<MembreChoisi> m_choix;
    QHash<QString, QString> m_choisis; // entry picked from the list (lower case) -> its DN
    int m_tri = 0;                     // +n ascending on column n, -n descending; 0 unsorted

    QLabel* lblChercher = nullptr;
    QLineEdit* txtChercher = nullptr;
    QPushButton* btnChercher = nullptr;
    QTreeWidget* lvw = nullptr;
    QPushButton* btnAjouter = nullptr;
    QLineEdit* txtSelection = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

// Shows the dialog modally; the members chosen, empty when it was cancelled.
QList<MembreChoisi> ChoisitMembres(QWidget* parent, SessionAD& session, Interaction& interaction,
                                   GenreMembre genre);

} // namespace arbrix
