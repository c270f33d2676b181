#include "i18n/Traductions.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "shell/Demarrage.h"
#include "shell/Interaction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

struct MessageReçu {
    QString texte;
    IcôneMessage icône;
};

class InteractionScriptée : public Interaction {
public:
    RéponseMessage Message(const QString& texte, IcôneMessage icône, BoutonsMessage, RéponseMessage,
                           const QString&) override {
        messages.append({texte, icône});
        return RéponseMessage::Ok;
    }
    void Sablier(bool attente) override { sablier = attente; }

    QList<MessageReçu> messages;
    bool sablier = false;
};

void ÉcritFichier(const QString& chemin, const QByteArray& octets) {
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

class Démarrage : public ::testing::Test {
protected:
    void SetUp() override {
        environnement.dossierProgramme = racine.filePath(u"portable"_s);
        environnement.dossierConfiguration = racine.filePath(u"config"_s);
        environnement.préfixesSystème = {racine.filePath(u"usr"_s)};
        environnement.dossierLangues = racine.filePath(u"langues"_s);
        environnement.codeLangue = 12;
        QDir().mkpath(environnement.dossierProgramme);
        QDir().mkpath(environnement.dossierLangues);
        étapes.appliqueParamètres = [this](const ÉtatProgramme&) { ordre.append(u"options"_s); };
        étapes.chargeMémos = [this](const QString&) { ordre.append(u"mémos"_s); };
        étapes.afficheFenêtre = [this] { ordre.append(u"fenêtre"_s); };
        étapes.ouvreSession = [this] {
            ordre.append(u"session"_s);
            return sessionOuverte;
        };
        étapes.lanceAnalyse = [this](qint16 mode, const QString& dn) {
            ordre.append(u"analyse"_s);
            modeAnalyse = mode;
            dnAnalyse = dn;
        };
    }
    void TearDown() override { ChargeTraductions(QString()); }

    bool Lance(const QStringList& arguments = {}) {
        return Démarre(arguments, interaction, étapes, environnement, état);
    }
    QString IniPortable() const { return environnement.dossierProgramme + u"/Arbrix.ini"_s; }

    QTemporaryDir racine;
    EnvironnementDémarrage environnement;
    ÉtapesDémarrage étapes;
    InteractionScriptée interaction;
    ÉtatProgramme état;
    QStringList ordre;
    bool sessionOuverte = true;
    qint16 modeAnalyse = 0;
    QString dnAnalyse;
};

} // namespace

TEST_F(Démarrage, FrenchSystemFirstRunRunsEveryStepInOrderWithoutMessage) {
    ÉcritFichier(environnement.dossierLangues + u"/English.lng"_s, "[Traduction]\nCodeLangue=9\n");
    EXPECT_TRUE(Lance());
    EXPECT_EQ(ordre, (QStringList{u"options"_s, u"mémos"_s, u"fenêtre"_s, u"session"_s}));
    EXPECT_TRUE(interaction.messages.isEmpty());
    EXPECT_EQ(état.Config.Langue, u"Français"_s);
    EXPECT_TRUE(état.FichierLangue.isEmpty());
    EXPECT_EQ(état.CheminIni(), IniPortable());
    EXPECT_FALSE(interaction.sablier);
    // The choice is not written at start-up.
    EXPECT_FALSE(QFile::exists(IniPortable()));
}

TEST_F(Démarrage, UnmatchedSystemLanguageShowsTheBilingualMessageEachRun) {
    environnement.codeLangue = 7;
    ÉcritFichier(environnement.dossierLangues + u"/English.lng"_s, "[Traduction]\nCodeLangue=9\n");
    for (int run = 1; run <= 2; ++run) {
        EXPECT_TRUE(Lance());
        ASSERT_EQ(interaction.messages.size(), run);
        EXPECT_EQ(interaction.messages.last().icône, IcôneMessage::Information);
        EXPECT_TRUE(interaction.messages.last().texte.startsWith(
            u"First, thank you for having installed Arbrix.\r\n"_s));
        EXPECT_EQ(état.Config.Langue, u"Français"_s);
    }
}

TEST_F(Démarrage, MatchingLanguageFileIsLoaded) {
    environnement.codeLangue = 9;
    ÉcritFichier(environnement.dossierLangues + u"/English.lng"_s,
                 "[Traduction]\nCodeLangue=9\nMSG_ERREUR_INITIALISATION=Start-up error %v: %v\n");
    EXPECT_TRUE(Lance());
    EXPECT_TRUE(interaction.messages.isEmpty());
    EXPECT_EQ(état.Config.Langue, u"English"_s);
    EXPECT_EQ(état.FichierLangue, environnement.dossierLangues + u"/English.lng"_s);
    EXPECT_EQ(MessageErreurInitialisation(6, u"x"_s), u"Start-up error 6: x"_s);
}

TEST_F(Démarrage, SettingTooLargeEndsTheStartUpWithTheInitialisationMessage) {
    ÉcritFichier(IniPortable(), "[Config]\nLangue=Français\nAnalyseParDéfaut=99999\n");
    EXPECT_FALSE(Lance({u"OU=Paie"_s}));
    ASSERT_EQ(interaction.messages.size(), 1);
    EXPECT_EQ(interaction.messages[0].icône, IcôneMessage::Critique);
    EXPECT_TRUE(interaction.messages[0].texte.contains(u"(6)"_s))
        << interaction.messages[0].texte.toStdString();
    EXPECT_TRUE(interaction.messages[0].texte.contains(u"AnalyseParDéfaut"_s));
    EXPECT_TRUE(ordre.isEmpty());
    EXPECT_FALSE(interaction.sablier);
}

TEST_F(Démarrage, FailedSessionEndsTheProgramBeforeAnyAnalysis) {
    sessionOuverte = false;
    EXPECT_FALSE(Lance({u"OU=Paie"_s}));
    EXPECT_EQ(ordre.last(), u"session"_s);
    EXPECT_TRUE(interaction.messages.isEmpty());
}

TEST_F(Démarrage, CommandLineStartsTheFirstAnalysisInTheDefaultMode) {
    ÉcritFichier(IniPortable(), "[Config]\nLangue=Français\nAnalyseParDéfaut=3\n");
    EXPECT_TRUE(Lance({u"OU=Paie"_s, u"et"_s, u"Compta,DC=exemple,DC=test"_s}));
    EXPECT_EQ(ordre.last(), u"analyse"_s);
    EXPECT_EQ(modeAnalyse, 3);
    EXPECT_EQ(dnAnalyse, u"OU=Paie et Compta,DC=exemple,DC=test"_s);
    EXPECT_EQ(interaction.TypeRecherche(), TypeRechercheOU);

    ordre.clear();
    EXPECT_TRUE(Lance({u"cn=Paie"_s}));
    EXPECT_EQ(ordre.last(), u"analyse"_s);
    EXPECT_TRUE(dnAnalyse.isEmpty());
    EXPECT_EQ(interaction.TexteRecherche(), u"cn=Paie"_s);
    EXPECT_EQ(interaction.TypeRecherche(), TypeRechercheGroupe);

    ordre.clear();
    EXPECT_TRUE(Lance());
    EXPECT_FALSE(ordre.contains(u"analyse"_s));
}

TEST_F(Démarrage, InstalledCopyMovesTheOlderFileButItsLanguageWaitsForTheNextStart) {
    environnement.dossierProgramme = racine.filePath(u"usr/bin"_s);
    ÉcritFichier(environnement.dossierProgramme + u"/Arbrix.ini"_s,
                 "[Config]\nLangue=English\nAnalyseParDéfaut=4\n");
    ÉcritFichier(environnement.dossierLangues + u"/English.lng"_s, "[Traduction]\nCodeLangue=9\n");
    EXPECT_TRUE(Lance());
    const QString nouveau = environnement.dossierConfiguration + u"/Velmora/Arbrix/Arbrix.ini"_s;
    EXPECT_EQ(état.CheminIni(), nouveau);
    EXPECT_TRUE(QFile::exists(nouveau));
    EXPECT_FALSE(QFile::exists(environnement.dossierProgramme + u"/Arbrix.ini"_s));
    EXPECT_EQ(état.Config.Langue, u"Français"_s);
    EXPECT_EQ(état.Config.AnalyseParDéfaut, 4);

    EXPECT_TRUE(Lance());
    EXPECT_EQ(état.Config.Langue, u"English"_s);
}

TEST_F(Démarrage, AccountToolBesideTheProgramIsRemembered) {
    ÉcritFichier(environnement.dossierProgramme + u"/Quorvel"_s, "");
    EXPECT_TRUE(Lance());
    EXPECT_EQ(état.CheminOutilCompte, environnement.dossierProgramme + u"/Quorvel"_s);
}
