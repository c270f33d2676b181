#include "i18n/Traductions.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "shell/Demarrage.h"
#include "shell/FichiersTest.h"
#include "shell/TemoinMessages.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

using test::EcritFichier;

class Demarrage : public ::testing::Test {
protected:
    void SetUp() override {
        environnement.dossierProgramme = racine.filePath(u"portable"_s);
        environnement.dossierConfiguration = racine.filePath(u"config"_s);
        environnement.prefixesSysteme = {racine.filePath(u"usr"_s)};
        environnement.dossierLangues = racine.filePath(u"langues"_s);
        environnement.codeLangue = 12;
        QDir().mkpath(environnement.dossierProgramme);
        QDir().mkpath(environnement.dossierLangues);
        etapes.appliqueParametres = [this](const EtatProgramme&) { ordre.append(u"options"_s); };
        etapes.chargeMemos = [this](const QString&) { ordre.append(u"mémos"_s); };
        etapes.afficheFenetre = [this] { ordre.append(u"fenêtre"_s); };
        etapes.ouvreSession = [this] {
            ordre.append(u"session"_s);
            return sessionOuverte;
        };
        etapes.lanceAnalyse = [this](qint16 mode, const PointDeDepart& depart) {
            ordre.append(u"analyse"_s);
            modeAnalyse = mode;
            dnAnalyse = depart.dn;
            typeAnalyse = depart.type;
        };
    }
    void TearDown() override { ChargeTraductions(QString()); }

    bool Lance(const QStringList& arguments = {}) {
        return Demarre(arguments, interaction, etapes, environnement, etat);
    }
    QString IniPortable() const { return environnement.dossierProgramme + u"/Arbrix.ini"_s; }

    QTemporaryDir racine;
    EnvironnementDemarrage environnement;
    EtapesDemarrage etapes;
    test::Temoin interaction;
    EtatProgramme etat;
    QStringList ordre;
    bool sessionOuverte = true;
    qint16 modeAnalyse = 0;
    QString dnAnalyse;
    qint16 typeAnalyse = -1;
};

} // namespace

TEST_F(Demarrage, FrenchSystemFirstRunRunsEveryStepInOrderWithoutMessage) {
    EcritFichier(environnement.dossierProgramme + u"/Quorvel"_s, "");
    EXPECT_TRUE(Lance());
    EXPECT_EQ(etat.CheminOutilCompte, environnement.dossierProgramme + u"/Quorvel"_s); // the account tool
    EXPECT_EQ(ordre, (QStringList{u"options"_s, u"mémos"_s, u"fenêtre"_s, u"session"_s}));
    EXPECT_TRUE(interaction.messages.isEmpty());
    EXPECT_EQ(etat.CheminIni(), IniPortable());
    EXPECT_FALSE(QFile::exists(IniPortable())); // the choice is not written at start-up
}

// Nothing is written before the exit, so the message comes back until a language is chosen.
TEST_F(Demarrage, UnmatchedSystemLanguageShowsTheBilingualMessageEachRun) {
    environnement.codeLangue = 7;
    for (int run = 1; run <= 2; ++run) {
        EXPECT_TRUE(Lance());
        ASSERT_EQ(interaction.messages.size(), run);
        EXPECT_TRUE(interaction.messages.last().startsWith(u"First, thank you"_s));
    }
    EXPECT_EQ(etat.Config.Langue, u"Français"_s);
}

TEST_F(Demarrage, MatchingLanguageFileIsLoaded) {
    environnement.codeLangue = 9;
    EcritFichier(environnement.dossierLangues + u"/English.lng"_s,
                 "[Traduction]\nCodeLangue=9\nMSG_ERREUR_INITIALISATION=Start-up error %v: %v\n");
    EXPECT_TRUE(Lance());
    EXPECT_EQ(etat.Config.Langue, u"English"_s);
    EXPECT_EQ(MessageErreurInitialisation(6, u"x"_s), u"Start-up error 6: x"_s);
}

TEST_F(Demarrage, SettingTooLargeEndsTheStartUpWithTheInitialisationMessage) {
    EcritFichier(IniPortable(), "[Config]\nLangue=Français\nAnalyseParDéfaut=99999\n");
    EXPECT_FALSE(Lance({u"OU=Paie"_s}));
    ASSERT_EQ(interaction.messages.size(), 1);
    EXPECT_TRUE(interaction.messages[0].contains(u"(6)"_s)) << interaction.messages[0].toStdString();
    EXPECT_TRUE(interaction.messages[0].contains(u"AnalyseParDéfaut"_s));
    EXPECT_TRUE(ordre.isEmpty());
}

TEST_F(Demarrage, FailedSessionEndsTheProgramBeforeAnyAnalysis) {
    sessionOuverte = false;
    EXPECT_FALSE(Lance({u"OU=Paie"_s}));
    EXPECT_EQ(ordre.last(), u"session"_s);
}

// Which texts open an object and which are searched is the command-line reading's own test.
TEST_F(Demarrage, CommandLineStartsTheFirstAnalysisInTheDefaultMode) {
    EcritFichier(IniPortable(), "[Config]\nLangue=Français\nAnalyseParDéfaut=3\n");
    EXPECT_TRUE(Lance({u"OU=Paie"_s, u"et"_s, u"Compta,DC=exemple,DC=test"_s}));
    EXPECT_EQ(ordre.last(), u"analyse"_s);
    EXPECT_EQ(modeAnalyse, 3);
    EXPECT_EQ(dnAnalyse, u"OU=Paie et Compta,DC=exemple,DC=test"_s);
    EXPECT_EQ(typeAnalyse, TypeRechercheOU);
}

// The move itself is the settings location's test; the language read from the moved file
// applies from the next start only.
TEST_F(Demarrage, InstalledCopyMovesTheOlderFileButItsLanguageWaitsForTheNextStart) {
    environnement.dossierProgramme = racine.filePath(u"usr/bin"_s);
    EcritFichier(environnement.dossierProgramme + u"/Arbrix.ini"_s,
                 "[Config]\nLangue=English\nAnalyseParDéfaut=4\n");
    EcritFichier(environnement.dossierLangues + u"/English.lng"_s, "[Traduction]\nCodeLangue=9\n");
    EXPECT_TRUE(Lance());
    EXPECT_EQ(etat.CheminIni(), environnement.dossierConfiguration + u"/Velmora/Arbrix/Arbrix.ini"_s);
    EXPECT_EQ(etat.Config.Langue, u"Français"_s);
    EXPECT_EQ(etat.Config.AnalyseParDefaut, 4);

    EXPECT_TRUE(Lance());
    EXPECT_EQ(etat.Config.Langue, u"English"_s);
}
