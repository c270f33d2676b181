#pragma once

// The export dialog: which part of the selected node's branch is written and how (text, CSV or
// JSON), with a live preview of the first lines, to the clipboard or a file. The options are read from the
// settings file when the dialog opens and written back when OK succeeds.

#include "export/EcritureExport.h"
#include "export/ReglesExport.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace arbrix {

class Noeud;

class frmExporter : public QDialog {
    Q_OBJECT
public:
    frmExporter(const Noeud& noeud, const QString& fichierIni, QWidget* parent = nullptr);

    // Shows the dialog modally over parent for the node's branch; true when OK closed it.
    static bool Affiche(QWidget* parent, const Noeud& noeud, const QString& fichierIni);

    const ReglesExport& Regles() const { return m_regles; }

    void btnOK_Click();

private:
    QGroupBox* creeEtendue();
    QGroupBox* creeContenu();
    QGroupBox* creeFormat();
    QGroupBox* creeType();
    QGroupBox* creeDestination();
    void relieSignaux();
    // Puts the options on the controls, signals blocked, then rebuilds the preview.
    void afficheOptions();
    void rafraichitApercu();
    // The save dialog; the chosen path, nothing when cancelled.
    std::optional<QString> choisitFichier(const DepartEnregistrement& depart);
    // Writes the text where the options say; false after a failure, already reported.
    bool exporte();

    const Noeud& m_noeud;
    QString m_fichierIni;
    ReglesExport m_regles;

    QRadioButton* optEtendue[3] = {};
    QCheckBox* chkStructure = nullptr;
    QCheckBox* chkModeColonne = nullptr;
    QCheckBox* chkComptesUtilisateurs = nullptr;
    QCheckBox* chkComptesOrdinateurs = nullptr;
    QCheckBox* chkComptesDeService = nullptr;
    QCheckBox* chkAutresMembres = nullptr;
    QRadioButton* optFormat[4] = {};
    QLineEdit* txtIndentation = nullptr;
    QLineEdit* txtSeparateur = nullptr;
    QGroupBox* fraFormat = nullptr;
    QRadioButton* optType[3] = {};
    QCheckBox* chkFinLigneLF = nullptr;
    QRadioButton* optDestination[2] = {};
    QPlainTextEdit* txtApercu = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

} // namespace arbrix
