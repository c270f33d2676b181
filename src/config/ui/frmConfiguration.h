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
    frmConfiguration(Parametres& parametres, Memos& memos, const QString& dossierLangues,
                     QWidget* parent = nullptr);

    // Shows the window modally over parent; what the accepted configuration asks for, nullopt
    // when it was cancelled.
    static std::optional<IssueConfiguration> Affiche(QWidget* parent, Parametres& parametres, Memos& memos);

    // DialogueAnnulé: true until OK is accepted.
    bool DialogueAnnule() const { return m_annule; }
    const IssueConfiguration& Issue() const { return m_issue; }

    void btnOK_Click();

private:
    QGroupBox* creeAcces();
    QGroupBox* creeAnalyse();
    QGroupBox* creeMemos();
    QGroupBox* creeMessagerie();
    void remplit(const SaisieConfiguration& saisie, const QString& dossierLangues);
    SaisieConfiguration saisie() const;
    void optAccesAD_Click();
    void afficheMemos(qsizetype selection);
    void btnMonter_Click();
    void btnDescendre_Click();
    void btnSupprimer_Click();
    void metAJourBoutonsMemos();
    void message(const QString& cle, bool erreur);

    Parametres& m_parametres;
    Memos& m_memos;
    EditionMemos m_edition;
    bool m_annule = true;
    IssueConfiguration m_issue;

    QLabel* lblLangue = nullptr;
    QComboBox* cboLangue = nullptr;
    QRadioButton* optAccesAD[3] = {nullptr, nullptr, nullptr};
    QLineEdit* txtAccesADServeur = nullptr;
    QLineEdit* txtAccesADDomaine = nullptr;
    QLineEdit* txtAccesADLogin = nullptr;
    QLineEdit* txtAccesADPassword = nullptr;
    QComboBox* cboAnalyseParDefaut = nullptr;
    QCheckBox* chkAnalyseAutreTypeSiAucuneReponse = nullptr;
    QLabel* lblAnnuaireEnvironnement = nullptr; // only when ARBRIX_DIRECTORY decides
    QLabel* lblEmplacementMotDePasse = nullptr;
    QCheckBox* chkAccesADSansTLS = nullptr;
    QLabel* lblAvertissementSansTLS = nullptr; // shown while clear text is allowed
    QCheckBox* chkControlerVerrouilleExpire = nullptr;
    QCheckBox* chkDeplierGroupesContenantComptesDesactivesVerrouillesExpires = nullptr;
    QCheckBox* chkDeplierGroupesContenantGroupesRecursifs = nullptr;
    QCheckBox* chkDeplierGroupesEtOU = nullptr;
    QCheckBox* chkRepresenterGroupesRacineOU = nullptr;
    QCheckBox* chkAfficherNombreMembres = nullptr;
    QListWidget* lstMemos = nullptr;
    QPushButton* btnMonter = nullptr;
    QPushButton* btnDescendre = nullptr;
    QPushButton* btnSupprimer = nullptr;
    QLineEdit* txtNbElementsMemorisesMax = nullptr;
    QLineEdit* txtMessagerieCommande = nullptr;
    QLineEdit* txtMessagerieExpediteur = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

} // namespace arbrix
