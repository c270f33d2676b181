#pragma once

// Sends the message to each recipient in turn once shown, with a progress bar and a report line
// per recipient. Cancel is honoured before the next recipient; the window closes only once the
// loop has stopped (the close box and Escape mean Cancel until then).

#include "netsend/EnvoiMessage.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace arbrix {

class frmNetsendEnvoi : public QDialog, private SuiviEnvoi {
    Q_OBJECT
public:
    frmNetsendEnvoi(QList<Destinataire> destinataires, ParametresEnvoi parametres, AnnuaireAdresses& annuaire,
                    Transport& transport, QWidget* parent = nullptr);
    ~frmNetsendEnvoi() override;

    // Shows the window modally and sends.
    static void Envoie(QWidget* parent, const QList<Destinataire>& destinataires,
                       const ParametresEnvoi& parametres, AnnuaireAdresses& annuaire, Transport& transport);

    bool EnvoiEnCours() const { return m_enCours; }
    // EnvoiAnnulé: the user asked to stop.
    const BilanEnvoi& Bilan() const { return m_bilan; }

    void btnAnnulerFermer_Click();
    // Runs the sending (once), as showing the window does.
    void Form_Activate();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void demandeAnnulation();
    // SuiviEnvoi
    void TraiteEvenements() override;
    bool AnnulationDemandee() const override { return m_annule; }
    void Commence(int total) override;
    void LigneEnCours(const QString& ligne) override;
    void LigneTerminee(const QString& ligne, int numero, int total) override;
    void Termine(const QString& conclusion) override;

    QList<Destinataire> m_destinataires;
    ParametresEnvoi m_parametres;
    AnnuaireAdresses& m_annuaire;
    Transport& m_transport;
    BilanEnvoi m_bilan;
    bool m_commence = false;
    bool m_enCours = false;
    bool m_annule = false;
    bool m_sablier = false;

    QListWidget* lstRapport = nullptr;
    QProgressBar* pgbProgression = nullptr;
    QLabel* lblProgression = nullptr;
    QPushButton* btnAnnulerFermer = nullptr;
};

} // namespace arbrix
