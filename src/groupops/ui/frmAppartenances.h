#pragma once

// The groups an account or a group belongs to: the direct ones as a list, or on a switch every
// group it belongs to through nesting and its primary group, as a tree of the chains that make it
// a member (a loop shown where it is cut). A group chosen opens in the tree.

#include "groupops/AppartenancesEffectives.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace arbrix {

class Interaction;
class SessionAD;

class frmAppartenances : public QDialog {
    Q_OBJECT
public:
    frmAppartenances(const AppartenancesEffectives& appartenances, const QString& titre,
                     QWidget* parent = nullptr);

    // Reads the memberships of dn and shows them modally; the DN of the group chosen to be opened,
    // nullopt when closed. A failure of the directory is told through interaction.
    static std::optional<QString> Choisit(QWidget* parent, SessionAD& session, const QString& dn,
                                          const QString& titre, Interaction& interaction);

    void AfficheEffectives(bool effectives);
    std::optional<QString> Choisi() const { return m_choisi; }
    void btnOK_Click();

private:
    QTreeWidgetItem* ligne(const CheminAppartenance& chemin) const;
    void metAJourBoutons();

    const AppartenancesEffectives m_appartenances;
    std::optional<QString> m_choisi;
    QCheckBox* chkEffectives = nullptr;
    QTreeWidget* lvwGroupes = nullptr;
    QLabel* lblAucunGroupe = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnFermer = nullptr;
};

} // namespace arbrix
