#include "export/OptionsExport.h"
#include "settings/Ini.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace arbrix;

namespace {

class OptionsExportTest : public ::testing::Test {
protected:
    QString Fichier() const { return dossier.filePath(QStringLiteral("Arbrix.ini")); }
    void Ecrit(const QString& cle, const QString& valeur) {
        ASSERT_TRUE(EcritIni(Fichier(), QStringLiteral("Config"), cle, valeur));
    }
    QString Lit(const QString& cle) const {
        return LitIni(Fichier(), QStringLiteral("Config"), cle, QStringLiteral("<absent>"));
    }

    QTemporaryDir dossier;
};

TEST_F(OptionsExportTest, MissingFileGivesTheDefaultsAndCheckBoxesAreOnOnlyForMinusOne) {
    EXPECT_EQ(LitOptionsExport(Fichier()), OptionsExport{});
    Ecrit(QStringLiteral("ExportStructure"), QStringLiteral("1"));
    Ecrit(QStringLiteral("ExportModeColonné"), QStringLiteral("-1"));
    Ecrit(QStringLiteral("ExportComptesUtilisateurs"), QStringLiteral("abc"));
    Ecrit(QStringLiteral("ExportComptesOrdinateur"), QStringLiteral(" -1 "));
    const OptionsExport o = LitOptionsExport(Fichier());
    EXPECT_FALSE(o.Structure);
    EXPECT_TRUE(o.ModeColonne);
    EXPECT_FALSE(o.ComptesUtilisateurs);
    EXPECT_TRUE(o.ComptesOrdinateurs);
    EXPECT_TRUE(o.ComptesDeService);
}

TEST_F(OptionsExportTest, IndexesOutsideTheirListReadAsTheFirstOption) {
    Ecrit(QStringLiteral("ExportEtendue"), QStringLiteral("2"));
    Ecrit(QStringLiteral("ExportFormat"), QStringLiteral("4"));
    Ecrit(QStringLiteral("ExportDestination"), QStringLiteral("-1"));
    const OptionsExport o = LitOptionsExport(Fichier());
    EXPECT_EQ(o.Etendue, EtendueExport::NoeudSeul);
    EXPECT_EQ(o.Format, FormatExport::CommeAffiche);
    EXPECT_EQ(o.Destination, DestinationExport::PressePapiers);
}

TEST_F(OptionsExportTest, WritingThenReadingGivesTheSameOptions) {
    OptionsExport o;
    o.Etendue = EtendueExport::NoeudsOuverts;
    o.Format = FormatExport::Noms;
    o.Destination = DestinationExport::Fichier;
    o.Structure = true;
    o.ModeColonne = true;
    o.ComptesDeService = false;
    o.Indentation = QStringLiteral("  ");
    o.Separateur = QStringLiteral(";");
    o.Fichier = QStringLiteral("/home/alice/export été.txt");
    EcritOptionsExport(Fichier(), o);
    EXPECT_EQ(LitOptionsExport(Fichier()), o);
    EXPECT_EQ(Lit(QStringLiteral("ExportComptesDeService")), QStringLiteral("0"));
    EXPECT_EQ(Lit(QStringLiteral("ExportModeColonné")), QStringLiteral("-1"));
    // Escapes are stored as typed.
    Ecrit(QStringLiteral("ExportSéparateur"), QStringLiteral("\\t"));
    EXPECT_EQ(LitOptionsExport(Fichier()).Separateur, QStringLiteral("\\t"));
}

} // namespace
