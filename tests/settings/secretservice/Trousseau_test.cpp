#include "cli/LanceCli.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"
#include "settings/secretservice/TrousseauSecretService.h"
#include "shell/FichiersTest.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QString Echantillon = QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif");

class TrousseauReel : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsSet("ARBRIX_TEST_KEYRING_SKIP"))
            GTEST_SKIP() << "No keyring: " << qgetenv("ARBRIX_TEST_KEYRING_SKIP").constData();
        InstalleTrousseau(std::make_unique<TrousseauSecretService>());
        ASSERT_TRUE(TrousseauDisponible()) << "the test's keyring does not answer";
    }
    void TearDown() override { InstalleTrousseau(nullptr); }

    QString Ini() const { return dossier.filePath(u"Arbrix.ini"_s); }
    QString MotDePasseDuFichier() const {
        return LitIni(Ini(), SectionConfig, CleConfig::AccesADPassword, {});
    }

    static Parametres Compte(const QString& login, const QString& motDePasse) {
        Parametres p;
        p.AccesAD = 1;
        p.AccesADLogin = login;
        p.AccesADPassword = motDePasse;
        return p;
    }

    // The command-line program on the sample with the file's account: it binds only with a
    // password, which the file does not hold.
    int AnalyseAvecLeFichier() const {
        return test::LanceCli({"--settings", Ini(), "--directory", Echantillon, "Boucle C"}).code;
    }

    QTemporaryDir dossier;
};

} // namespace

TEST_F(TrousseauReel, ThePasswordGoesToTheKeyringOnePerAccountAndServer) {
    Parametres p = Compte(u"amartin@velmora.test"_s, u"Pâques 2024 € ' \""_s);
    EcritParametresSortie(Ini(), p, {true, false});
    EXPECT_EQ(MotDePasseDuFichier(), QString());
    EXPECT_TRUE(test::LitTexte(Ini()).contains(CleConfig::AccesADPassword + u'=')) << "the key stays, empty";
    EXPECT_EQ(LitParametres(Ini()), p);
    EXPECT_EQ(AnalyseAvecLeFichier(), 0);

    // Another server is another entry: the first one's password is not handed to it.
    test::EcritFichier(Ini(), "[Config]\nAccèsAD=1\nAccèsADLogin=amartin@velmora.test\n"
                              "AccèsADServeur=ldaps://ailleurs.example.test\n");
    EXPECT_EQ(LitParametres(Ini()).AccesADPassword, QString());

    // A password cleared in the configuration leaves the keyring too.
    test::EcritFichier(Ini(), "[Config]\n");
    EcritParametresSortie(Ini(), Compte(p.AccesADLogin, {}), {true, false});
    EXPECT_EQ(LitParametres(Ini()).AccesADPassword, QString());
    EXPECT_EQ(AnalyseAvecLeFichier(), 1);
}

TEST_F(TrousseauReel, AScrambledPasswordMovesToTheKeyringAtTheNextSave) {
    const Parametres p = Compte(u"bmoreau@velmora.test"_s, u"ancien-secret"_s);
    test::EcritFichier(Ini(), ("[Config]\nAccèsAD=1\nAccèsADLogin=" + p.AccesADLogin +
                               "\nAccèsADPassword=" + ChiffreMotDePasse(p.AccesADPassword) + "\n")
                                  .toUtf8());
    const Parametres lu = LitParametres(Ini());
    EXPECT_EQ(lu.AccesADPassword, p.AccesADPassword);
    EcritParametresSortie(Ini(), lu, {});
    EXPECT_EQ(MotDePasseDuFichier(), QString());
    EXPECT_EQ(LitParametres(Ini()).AccesADPassword, p.AccesADPassword);
}

// No session bus: nothing waits on one, and the password stays scrambled in the file, as before.
TEST_F(TrousseauReel, WithoutDBusThePasswordStaysScrambledInTheFile) {
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", dossier.path().toUtf8());
    InstalleTrousseau(std::make_unique<TrousseauSecretService>());
    const bool disponible = TrousseauDisponible() != nullptr;
    const Parametres p = Compte(u"cgarnier@velmora.test"_s, u"sans-trousseau"_s);
    EcritParametresSortie(Ini(), p, {true, false});
    const Parametres lu = LitParametres(Ini());
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    qputenv("XDG_RUNTIME_DIR", runtime);

    EXPECT_FALSE(disponible);
    EXPECT_EQ(DechiffreMotDePasse(MotDePasseDuFichier()), p.AccesADPassword);
    EXPECT_FALSE(QFile::permissions(Ini()) & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_EQ(lu.AccesADPassword, p.AccesADPassword);
}

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
