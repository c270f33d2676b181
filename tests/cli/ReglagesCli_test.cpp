#include "cli/ReglagesCli.h"
#include "cli/TextesCli.h"
#include "settings/Ini.h"
#include "shell/FichiersTest.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

class ReglagesCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = dossier.filePath(QStringLiteral("Arbrix.ini"));
        ASSERT_TRUE(test::EcritFichier(
            source, "; kept as it is\r\n[Config]\r\nExportFormat=1\r\nAccèsADPassword=4142\r\n"));
    }
    QString Lit(const ReglagesCli& r, const QString& cle) const {
        return LitIni(r.Fichier(), QStringLiteral("Config"), cle, QStringLiteral("<absent>"));
    }

    QTemporaryDir dossier;
    QString source;
};

// The file left untouched and the values applied are read end to end by the command-line tests;
// the copy holds the password, so only its owner may read it.
TEST_F(ReglagesCliTest, TheCopyKeepsThePasswordForItsOwnerOnly) {
    ReglagesCli r(source, {{"exportformat", "2"}});
    ASSERT_FALSE(r.Erreur());
    EXPECT_EQ(Lit(r, QStringLiteral("AccèsADPassword")), QStringLiteral("4142"));
    EXPECT_EQ(QFile::permissions(r.Fichier()) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
}

TEST_F(ReglagesCliTest, UnknownKeysAndThePasswordAreRefused) {
    // The command-line test reads the messages; here, the password refused whatever its case.
    ReglagesCli motDePasse(source, {{"accèsadpassword", "secret"}});
    ASSERT_TRUE(motDePasse.Erreur());
    EXPECT_EQ(motDePasse.Erreur()->cle, CleTexteCli::ReglageMotDePasse);
}

TEST(EstCleConfig, KnowsTheConfigKeysWhateverTheirCase) {
    for (const char* cle : {"contrôlerverrouilléexpiré", "ExportComptesOrdinateur", "NbMémos", "Mémo12"})
        EXPECT_TRUE(EstCleConfig(QString::fromUtf8(cle))) << cle;
    for (const char* cle : {"Mémo", "Mémo1a", "ExportComptesOrdinateurs", "Config", ""})
        EXPECT_FALSE(EstCleConfig(QString::fromUtf8(cle))) << cle;
}

} // namespace
