#pragma once

// The configuration window: language, directory access, analysis options and the memorised
// entries of the search box. It edits the in-memory settings only; OK checks the fields first,
// Cancel changes nothing.

#include "config/Configuration.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace arbrix {

class frmConfiguration : public QDialog {
    Q_OBJECT
public:
    // dossierLangues: where the *.lng files are offered from.
    frmConfiguration(Paramètres& paramètres, Mémos& mémos, const QString& dossierLangues,
                     QWidget* parent = nullptr);

    // Shows the window modally over parent; what the accepted configuration asks for, nullopt
    // when it was cancelled.
    static std::optional<IssueConfiguration> Affiche(QWidget* parent, Paramètres& paramètres, Mémos& mémos);

    // DialogueAnnulé: true until OK is accepted.
    bool DialogueAnnulé() const { return m_annulé; }
    const IssueConfiguration& Issue() const { return m_issue; }

    void btnOK_Click();

private:
    QGroupBox* créeAccès();
    QGroupBox* créeAnalyse();
    QGroupBox* créeMémos();
    void remplit(const SaisieConfiguration& saisie, const QString& dossierLangues);
    SaisieConfiguration saisie() const;
    void optAccèsAD_Click();
    void afficheMémos(qsizetype sélection);
    void btnMonter_Click();
    void btnDescendre_Click();
    void btnSupprimer_Click();
    void metÀJourBoutonsMémos();
    void message(const QString& clé, bool erreur);

    Paramètres& m_paramètres;
    Mémos& m_mémos;
    ÉditionMémos m_édition;
    bool m_annulé = true;
    IssueConfiguration m_issue;

    QLabel* lblLangue = nullptr;
    QComboBox* cboLangue = nullptr;
    QRadioButton* optAccèsAD[3] = {nullptr, nullptr, nullptr};
    QLineEdit* txtAccèsADServeur = nullptr;
    QLineEdit* txtAccèsADDomaine = nullptr;
    QLineEdit* txtAccèsADLogin = nullptr;
    QLineEdit* txtAccèsADPassword = nullptr;
    QComboBox* cboAnalyseParDéfaut = nullptr;
    QCheckBox* chkAnalyseAutreTypeSiAucuneReponse = nullptr;
    QCheckBox* chkContrôlerVerrouilléExpiré = nullptr;
    QCheckBox* chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés = nullptr;
    QCheckBox* chkDéplierGroupesContenantGroupesRécursifs = nullptr;
    QCheckBox* chkDéplierGroupesEtOU = nullptr;
    QCheckBox* chkReprésenterGroupesRacineOU = nullptr;
    QCheckBox* chkAfficherNombreMembres = nullptr;
    QListWidget* lstMémos = nullptr;
    QPushButton* btnMonter = nullptr;
    QPushButton* btnDescendre = nullptr;
    QPushButton* btnSupprimer = nullptr;
    QLineEdit* txtNbElémentsMémorisésMax = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

} // namespace arbrix
