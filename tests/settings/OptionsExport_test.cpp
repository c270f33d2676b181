#include "settings/Ini.h"
#include "settings/OptionsExport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace arbrix;

// Check boxes are on only for -1; an index outside its list reads as the first option; escapes
// stay as typed. Writing is read back through the export dialog's test.
TEST(OptionsExport, ReadingRules) {
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("Arbrix.ini"));
    const std::pair<const char*, const char*> valeurs[] = {{"ExportStructure", "1"},
                                                           {"ExportModeColonné", "-1"},
                                                           {"ExportComptesUtilisateurs", "abc"},
                                                           {"ExportComptesOrdinateur", " -1 "},
                                                           {"ExportEtendue", "2"},
                                                           {"ExportFormat", "4"},
                                                           {"ExportDestination", "-1"},
                                                           {"ExportSéparateur", "\\t"}};
    for (const auto& [cle, valeur] : valeurs)
        EcritIni(fichier, QStringLiteral("Config"), QString::fromUtf8(cle), QString::fromUtf8(valeur));
    OptionsExport attendu;
    attendu.Structure = attendu.ComptesUtilisateurs = false;
    attendu.ModeColonne = true;
    attendu.Etendue = EtendueExport::NoeudSeul;
    attendu.Separateur = QStringLiteral("\\t");
    EXPECT_EQ(LitOptionsExport(fichier), attendu);
}
