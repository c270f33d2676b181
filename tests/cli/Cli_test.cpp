#include "cli/LanceCli.h"
#include "cli/TextesCli.h"
#include "export/LecteurCsv.h"
#include "shell/FichiersTest.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace arbrix;
using namespace Qt::StringLiterals;
using test::Resultat;

namespace {

const QString NB = QString(QChar(0xA0));
const QString Echantillon = QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif");
const QString DnBoucleB = QStringLiteral("CN=Boucle B,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test");

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        reglages = dossier.filePath(QStringLiteral("Arbrix.ini"));
        EcritFichier(reglages, "[Config]\r\nLangue=Français\r\n");
        qunsetenv("ARBRIX_PASSWORD");
    }

    static void EcritFichier(const QString& chemin, const QByteArray& contenu) {
        ASSERT_TRUE(test::EcritFichier(chemin, contenu));
    }

    Resultat Lance(const QStringList& arguments, bool options = true) {
        return test::LanceCli(options ? QStringList{"--settings", reglages, "--directory", Echantillon} +
                                            arguments
                                      : arguments);
    }

    static QString Lignes(const QStringList& lignes) { return lignes.join(QStringLiteral("\r\n")) + u'\n'; }

    QTemporaryDir dossier;
    QString reglages;
};

TEST_F(CliTest, AGroupFoundByNameGivesTheExportOfItsWholeTree) {
    const Resultat r = Lance({"Boucle", "A"});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(r.sortie, Lignes({"Boucle A" + NB + "(3)", "\tBoucle B" + NB + "(2)",
                                "\t\tBoucle C" + NB + "(1)", "\t\t\tBoucle A", "\t\t\tNathalie Roux (nroux)",
                                "\t\tChloé Garnier (cgarnier)", "\tLucas Fontaine (lfontaine)"}));
    // The recursion report goes to the error stream, as plain text.
    EXPECT_TRUE(r.erreurs.startsWith(u"Un problème de récursivité")) << r.erreurs.toStdString();
    EXPECT_TRUE(r.erreurs.contains(u"\n\tBoucle A\n"));
    EXPECT_FALSE(r.erreurs.contains(u'\r'));
}

// The export options come from the settings file and --set, the extent is always the whole tree;
// the mode and the count setting apply. Column mode is the export's and the controller's test.
TEST_F(CliTest, SettingsAndOptionsShapeTheExport) {
    const struct {
        QByteArray reglages;
        QStringList arguments;
        QString sortie;
    } cas[] = {
        {"ExportEtendue=2\r\nExportFormat=2\r\n",
         {"Boucle A"},
         Lignes({"Boucle A", "\tBoucle B", "\t\tBoucle C", "\t\t\tBoucle A", "\t\t\tnroux", "\t\tcgarnier",
                 "\tlfontaine"})},
        {"ExportEtendue=2\r\nExportFormat=2\r\n",
         {"--set", "ExportStructure=0", "--set", "ExportSéparateur=\\n", "--type", "ou", "Ventes"},
         "jbernard\nmpetit\nDupont & Fils "
         "(fournisseur)\nzdarcy\npgirard\nPC-ACCUEIL-01$\nslaurent\ntmoreau\n"},
        {{},
         {"--mode", "6", "--set", "AfficherNombreMembres=0", "--type", "ou", "Ventes"},
         Lignes({"Ventes", "\tSales (EMEA)", "\t\tVentes (EMEA)", "\tVentes - Tous", "\t\tÉquipe d'accueil",
                 "\t\tVentes (EMEA)", "\tVentes France", "\t\tÉquipe d'accueil"})},
    };
    for (const auto& c : cas) {
        EcritFichier(reglages, "[Config]\r\nLangue=Français\r\n" + c.reglages);
        const Resultat r = Lance(c.arguments);
        EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
        EXPECT_EQ(r.sortie, c.sortie) << c.arguments.join(u' ').toStdString();
    }
}

TEST_F(CliTest, NoObjectOrSeveralGiveTwo) {
    EXPECT_EQ(Lance({"Nulle part"}).code, 2);
    EXPECT_EQ(Lance({"CN=Personne,OU=Velmora,DC=velmora,DC=test"}).code, 2);

    // The candidates, one a line; the line's shape is the terminal interaction's test.
    const Resultat plusieurs = Lance({"Boucle*"});
    EXPECT_EQ(plusieurs.code, 2);
    EXPECT_TRUE(plusieurs.sortie.isEmpty());
    EXPECT_EQ(plusieurs.erreurs.count(u'\n'), 3);
    EXPECT_TRUE(plusieurs.erreurs.contains(QStringLiteral("Boucle B\tGroupe de sécurité - Global\t") +
                                           DnBoucleB + u'\n'));
}

TEST_F(CliTest, OtherFailuresGiveOneWithAMessage) {
    struct Cas {
        QStringList arguments;
        QString attendu; // part of the error text
    };
    const QString absent = dossier.filePath(QStringLiteral("absent"));
    const QList<Cas> cas = {
        {{"--bogus", "x"}, TexteCli(CleTexteCli::OptionInconnue, {"--bogus"})},
        {{"--set", "ExportFormats=2", "x"}, TexteCli(CleTexteCli::ReglageInconnu, {"ExportFormats"})},
        {{"--set", "AccèsADPassword=secret", "x"}, TexteCli(CleTexteCli::ReglageMotDePasse)},
        {{"--user", "amartin@velmora.test", "x"},
         TexteCli(CleTexteCli::MotDePasseManquant, {"amartin@velmora.test"})},
        {{"--user", "amartin", "--password-file", absent, "x"},
         TexteCli(CleTexteCli::MotDePasseIllisible, {absent})},
        {{"--directory", absent + ".ldif", "x"}, "Impossible d'accéder à l'ActiveDirectory"},
        {{"--mode", "5", "Boucle A"}, "requiert que l'élément racine soit une O.U."},
        {{"--set", "AnalyseParDéfaut=99999999", "x"}, "99999999"},
    };
    for (const Cas& c : cas) {
        const Resultat r = Lance(c.arguments);
        EXPECT_EQ(r.code, 1) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.sortie.isEmpty());
        EXPECT_TRUE(r.erreurs.contains(c.attendu))
            << r.erreurs.toStdString() << " / " << c.attendu.toStdString();
    }
    const Resultat sansFichier = Lance({"--settings", absent, "x"}, false);
    EXPECT_EQ(sansFichier.code, 1);
    EXPECT_TRUE(sansFichier.erreurs.contains(absent));
}

// The rows of the properties window, one a line; 2 for a DN that is no account.
TEST_F(CliTest, PropertiesPrintTheAccountsRowsInTheUsersLanguage) {
    const QString marc =
        QStringLiteral("CN=Marc Petit,OU=Sales (EMEA),OU=Ventes,OU=Velmora,DC=velmora,DC=test");
    const Resultat r = Lance({"properties", marc});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_TRUE(r.sortie.contains(u"\nÉtat\tverrouillé\n"_s)) << r.sortie.toStdString();
    EXPECT_TRUE(r.sortie.contains(u"\nMembre de\tVentes (EMEA)\tCN=Ventes (EMEA),OU=Sales (EMEA),"_s));
    EXPECT_EQ(Lance({"properties", DnBoucleB}).code, 2);

    EcritFichier(reglages, "[Config]\r\nLangue=English\r\n");
    const Resultat groupe = Lance({"properties", DnBoucleB});
    EXPECT_EQ(groupe.code, 2);
    EXPECT_EQ(groupe.erreurs, u"No account has the DN '"_s + DnBoucleB + u"'.\n"_s);
    EXPECT_EQ(Lance({"properties"}).code, 1);
}

// member-of: the direct groups, each with its chain of one step; an unknown name is 2. With
// --effective, every chain and the loop are checked against the controller's in-chain rule.
TEST_F(CliTest, MemberOfWritesEachGroupWithItsChain) {
    const Resultat directes = Lance({"member-of", "nroux"});
    EXPECT_EQ(directes.code, 0) << directes.erreurs.toStdString();
    EXPECT_EQ(directes.sortie.count(u'\n'), 4);
    EXPECT_TRUE(directes.sortie.contains(QStringLiteral(
        "CN=Boucle C,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test\tNathalie Roux > Boucle C\n")));
    EXPECT_TRUE(directes.erreurs.isEmpty());
    EXPECT_EQ(Lance({"member-of", "Personne"}).code, 2);
}

// The password from the environment is the controller tests' way.
TEST_F(CliTest, UserAndPasswordFromAFile) {
    const QString fichier = dossier.filePath(QStringLiteral("mdp"));
    EcritFichier(fichier, "s3cret\r\nignored\n");
    EXPECT_EQ(Lance({"--user", "amartin@velmora.test", "--password-file", fichier, "Boucle C"}).code, 0);
    // An unknown account cannot bind: the session fails before any analysis.
    EcritFichier(fichier, "x");
    const Resultat r = Lance({"--user", "personne@velmora.test", "--password-file", fichier, "Boucle C"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.sortie.isEmpty());
}

TEST_F(CliTest, TheSettingsFileIsNeverWritten) {
    const QByteArray contenu = "; comment\r\n[Config]\r\nLangue=Français\r\nExportFormat=1\r\nMémos=a|b\r\n";
    EcritFichier(reglages, contenu);
    EXPECT_EQ(
        Lance({"--set", "ExportFormat=2", "--set", "Mémos=", "--set", "AnalyseParDéfaut=6", "Boucle A"}).code,
        0);
    EXPECT_EQ(test::LitFichier(reglages), contenu);
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList{"Arbrix.ini"});
}

TEST_F(CliTest, OutputWritesTheFileAsTheExportWindowDoes) {
    const QString fichier = dossier.filePath(QStringLiteral("export.txt"));
    const Resultat r = Lance({"--output", fichier, "Boucle A"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.sortie.isEmpty());
    EXPECT_EQ(QString::fromUtf8(test::LitFichier(fichier)),
              Lance({"Boucle A"}).sortie.chopped(1) + QStringLiteral("\r\n"));

    EXPECT_EQ(Lance({"--output", dossier.filePath(QStringLiteral("absent/export.txt")), "Boucle A"}).code, 1);
}

// The format and line ending chosen reach the documents for scripts, whose content is the
// export's test; the file holds what standard output shows, with no line break added.
TEST_F(CliTest, FormatCsvAndJsonWriteTheTreeForScripts) {
    const Resultat csv = Lance({"--format", "csv", "Boucle A"});
    EXPECT_EQ(csv.code, 0) << csv.erreurs.toStdString();
    const QList<QStringList> lignes = test::LitCsv(csv.sortie);
    ASSERT_EQ(lignes.size(), 7);
    EXPECT_EQ(lignes[0].join(u','), QStringLiteral("member,member_dn,kind,state,group,group_dn,path"));
    EXPECT_EQ(csv.sortie.count(QStringLiteral("\r\n")), 7);
    const Resultat lf = Lance({"--format=csv", "--line-ending", "lf", "Boucle A"});
    EXPECT_EQ(lf.sortie, QString(csv.sortie).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const QString fichier = dossier.filePath(QStringLiteral("export.csv"));
    EXPECT_EQ(Lance({"--format", "csv", "--output", fichier, "Boucle A"}).code, 0);
    EXPECT_EQ(QString::fromUtf8(test::LitFichier(fichier)), csv.sortie);

    const Resultat json = Lance({"--format", "json", "Boucle A"});
    EXPECT_EQ(json.code, 0) << json.erreurs.toStdString();
    const QJsonObject racine = QJsonDocument::fromJson(json.sortie.toUtf8()).object();
    EXPECT_EQ(racine["dn"].toString(),
              QStringLiteral("CN=Boucle A,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test"));
    EXPECT_EQ(racine["children"].toArray().size(), 2);
    EXPECT_EQ(Lance({"--format", "text", "Boucle A"}).sortie, Lance({"Boucle A"}).sortie);
}

TEST_F(CliTest, TheDirectoryOptionOutranksTheEnvironmentAndLeavesItAsItWas) {
    const QByteArray absent = dossier.filePath(QStringLiteral("absent.ldif")).toUtf8();
    qputenv("ARBRIX_DIRECTORY", absent);
    const Resultat r = Lance({"Boucle C"});
    EXPECT_EQ(qgetenv("ARBRIX_DIRECTORY"), absent);
    // Without the option the variable names the directory.
    const Resultat sansOption = Lance({"--settings", reglages, "Boucle C"}, false);
    qunsetenv("ARBRIX_DIRECTORY");
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(sansOption.code, 1);
    EXPECT_TRUE(sansOption.erreurs.contains(QString::fromUtf8(absent)));
}

TEST_F(CliTest, MessagesAndHelpAreInEnglishWhenTheLanguageIsEnglish) {
    EcritFichier(reglages, "[Config]\r\nLangue=English\r\n");
    const Resultat aide = Lance({"--help"});
    EXPECT_TRUE(aide.sortie.startsWith(u"Usage: arbrix-cli [tree] [OPTIONS] NAME-OR-DN\n"))
        << aide.sortie.toStdString();
    EXPECT_EQ(Lance({"--bogus"}).erreurs,
              QStringLiteral("Unknown option: --bogus\nFor help: arbrix-cli --help\n"));
}

// A server that offers no TLS is never sent the password: whether it refuses StartTLS, drops the
// connection on it, or accepts it and then negotiates nothing, it records no bind, and the
// message says why.
TEST_F(CliTest, NoPasswordToAServerWithoutTls) {
    const QString fichier = dossier.filePath(QStringLiteral("mdp"));
    EcritFichier(fichier, "s3cret\n");
    for (const char* maniere : {"--refuse", "--drop", "--silent"}) {
        SCOPED_TRACE(maniere);
        const QString liaisons = dossier.filePath(QStringLiteral("liaisons") + QLatin1String(maniere));
        QProcess serveur;
        serveur.start(QStringLiteral("python3"),
                      {QStringLiteral(ARBRIX_SERVEUR_SANS_TLS), liaisons, QLatin1String(maniere)});
        ASSERT_TRUE(serveur.waitForReadyRead(10000));
        const QString uri =
            QStringLiteral("ldap://127.0.0.1:") + QString::fromLatin1(serveur.readLine().trimmed());
        const Resultat r =
            test::LanceCli({"--settings", reglages, "--directory", uri, "--user", "admin@velmora.test",
                            "--password-file", fichier, "--set", "DélaiAnnuaire=2", "Boucle A"});
        serveur.kill();
        serveur.waitForFinished();
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.erreurs.contains(QStringLiteral("TLS"))) << r.erreurs.toStdString();
        EXPECT_TRUE(r.erreurs.contains(uri)) << r.erreurs.toStdString();
        EXPECT_FALSE(r.erreurs.contains(QStringLiteral("certificat"))) << r.erreurs.toStdString();
        EXPECT_FALSE(QFile::exists(liaisons)) << test::LitFichier(liaisons).constData();
    }
}

#ifdef ARBRIX_CLI_PROGRAM
// The built program itself, from a DN: UTF-8 on standard output, a final line feed, the status.
TEST_F(CliTest, TheProgramWritesUtf8AndExitsWithTheStatus) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("ARBRIX_DIRECTORY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ARBRIX_CLI_PROGRAM),
            {"--settings", reglages, "--directory", Echantillon, DnBoucleB});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray sortie = p.readAllStandardOutput();
    EXPECT_TRUE(sortie.startsWith("Boucle B\xC2\xA0(3)\r\n")) << sortie.constData();
    EXPECT_TRUE(sortie.contains("Chlo\xC3\xA9 Garnier (cgarnier)\n"));
    EXPECT_TRUE(sortie.endsWith("\n"));
    EXPECT_TRUE(p.readAllStandardError().contains("Boucle B"));
}

// Neither the password nor the huge-page restart's tunable reaches a child: the mail command
// here writes the environment it was given.
TEST_F(CliTest, ChildrenGetTheEnvironmentTheUserGaveWithoutThePassword) {
    const QString vu = dossier.filePath(QStringLiteral("env"));
    const QString message = dossier.filePath(QStringLiteral("message"));
    EcritFichier(message, "Bonjour");
    EcritFichier(reglages, "[Config]\r\nLangue=Français\r\nMessagerieCommande=sh -c 'env >\"$0\"' " +
                               vu.toUtf8() + "\r\n");
    for (const char* tunables : {static_cast<const char*>(nullptr), "glibc.malloc.arena_max=2"}) {
        SCOPED_TRACE(tunables ? tunables : "(unset)");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ARBRIX_PASSWORD"), QStringLiteral("s3cret"));
        env.remove(QStringLiteral("GLIBC_TUNABLES"));
        if (tunables)
            env.insert(QStringLiteral("GLIBC_TUNABLES"), QString::fromLatin1(tunables));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ARBRIX_CLI_PROGRAM),
                {"--settings", reglages, "--directory", Echantillon, "--user", "amartin@velmora.test",
                 "send-message", "--message-file", message, "amartin"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        const QByteArray enfant = test::LitFichier(vu);
        EXPECT_FALSE(enfant.contains("s3cret"));
        EXPECT_FALSE(enfant.contains("hugetlb"));
        EXPECT_FALSE(enfant.contains("ARBRIX_GLIBC"));
        EXPECT_EQ(enfant.contains(QByteArray("GLIBC_TUNABLES=") + tunables), tunables != nullptr);
    }
}

// The subject given reaches the header; one that would break it sends nothing. Who gets the
// message, and the computers left out, are read against the controller.
TEST_F(CliTest, MessagesTakeTheSubjectGivenUnlessItWouldAddAHeader) {
    const QString courriels = dossier.filePath(QStringLiteral("courriels"));
    const QString message = dossier.filePath(QStringLiteral("message"));
    EcritFichier(message, "Bonjour");
    EcritFichier(reglages, "[Config]\r\nLangue=Français\r\nMessagerieCommande=sh -c 'cat >>\"$0\"' " +
                               courriels.toUtf8() + "\r\n");
    const Resultat refuse =
        Lance({"send-message", "--message-file", message, "--subject", "a\nBcc: x@y", "Ventes"});
    EXPECT_EQ(refuse.code, 1);
    EXPECT_EQ(refuse.erreurs.trimmed(), TexteCli(CleTexteCli::SujetInvalide));
    EXPECT_FALSE(QFile::exists(courriels));

    EXPECT_EQ(
        Lance({"send-message", "--message-file", message, "--subject", "Coupure ce soir", "amartin"}).code,
        0);
    EXPECT_TRUE(test::LitFichier(courriels).contains("\nSubject: Coupure ce soir\n"));
}
#endif

} // namespace
