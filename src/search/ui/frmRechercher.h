#pragma once

// The find window: a text looked for among the labels of the tree, forwards or backwards from
// the selected node. Modeless; it deletes itself when closed.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace arbrix {

class Arbre;
class Interaction;

class frmRechercher : public QDialog {
    Q_OBJECT
public:
    // The tree searched and where the "not found" message goes.
    frmRechercher(Arbre& arbre, Interaction& interaction, QWidget* parent = nullptr);
    ~frmRechercher() override;

    // RechercheOuverte: a find window is open.
    static bool RechercheOuverte();

    void btnChercherSuivant_Click();
    void btnChercherPrecedent_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void txtOccurrence_Change();
    void cherche(bool suivant);

    Arbre& m_arbre;
    Interaction& m_interaction;
    bool m_texteModifie = false;

    QLabel* lblRechercher = nullptr;
    QLineEdit* txtOccurrence = nullptr;
    QPushButton* btnChercherSuivant = nullptr;
    QPushButton* btnChercherPrecedent = nullptr;
    QPushButton* btnFermer = nullptr;
};

} // namespace arbrix
