#pragma once

// The group creation dialog: a name, a type and a scope. OK waits for a name and refuses the
// characters a group name may not hold, then a name the check refuses (one already taken),
// keeping the dialog open with what was typed.

#include "tree/Interaction.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace arbrix {

class frmCreationGroupe : public QDialog {
    Q_OBJECT
public:
    // Starts on the given type (0 security, 1 distribution) and scope (0 local, 1 global,
    // 2 universal); messages go through interaction.
    frmCreationGroupe(int type, int etendue, Interaction& interaction, ControleNomGroupe controle = {},
                      QWidget* parent = nullptr);

    ChoixCreationGroupe Choix() const;

    void btnOK_Click();

private:
    void txtNom_Change();

    Interaction& m_interaction;
    ControleNomGroupe m_controle;
    QLabel* lblNomGroupe = nullptr;
    QLineEdit* txtNom = nullptr;
    QButtonGroup* m_types = nullptr;
    QButtonGroup* m_etendues = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

// Shows the dialog modally; nullopt when it is cancelled.
std::optional<ChoixCreationGroupe> AfficheCreationGroupe(QWidget* parent, Interaction& interaction, int type,
                                                         int etendue, const ControleNomGroupe& controle);

} // namespace arbrix
