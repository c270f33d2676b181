#pragma once

// The read-only properties of an account: its rows, the groups it is a member of, and the
// account tool as a button when it is installed.

#include "groupops/ProprietesCompte.h"
#include "shell/Commandes.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTreeWidget;

namespace arbrix {

class SessionAD;

class frmProprietesCompte : public QDialog {
    Q_OBJECT
public:
    // An empty cheminOutilCompte shows no button for the account tool.
    frmProprietesCompte(const ProprietesCompte& proprietes, const QString& cheminOutilCompte,
                        QWidget* parent = nullptr);

    // Reads the account at dn and shows its properties modally. No account there, or a failure
    // of the directory, is told in a message box instead.
    static void Affiche(QWidget* parent, SessionAD& session, const QString& dn,
                        const QString& cheminOutilCompte);

    // How the account tool is started; tests replace it.
    void definitLancement(std::function<void(const Commande&)> lance) { m_lance = std::move(lance); }

    void LanceOutilCompte();

private:
    QWidget* creeLignes(const ProprietesCompte& proprietes);
    QWidget* creeGroupes(const ProprietesCompte& proprietes);
    int largeurPourLesValeurs() const;

    QString m_compte;
    QString m_cheminOutil;
    std::function<void(const Commande&)> m_lance = [](const Commande& c) { LanceCommande(c); };
    QPushButton* btnOutilCompte = nullptr;
    QPushButton* btnFermer = nullptr;
};

} // namespace arbrix
