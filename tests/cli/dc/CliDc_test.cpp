#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

using namespace arbrix;

namespace {

// KEY=VALUE lines of the controller's env file, without the ARBRIX_TEST_DC_ prefix.
QHash<QString, QString> LitEnvironnementDc(QString& raison) {
    QHash<QString, QString> valeurs;
    const QString chemin = qEnvironmentVariable("ARBRIX_TEST_DC_ENV");
    QFile f(chemin);
    if (chemin.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        raison = QStringLiteral("no env file (run through ctest, or tools/test-dc.sh start)");
        return valeurs;
    }
    for (const QByteArray& ligne : f.readAll().split('\n')) {
        const qsizetype egal = ligne.indexOf('=');
        if (egal > 0)
            valeurs.insert(QString::fromUtf8(ligne.left(egal)).remove(QStringLiteral("ARBRIX_TEST_DC_")),
                           QString::fromUtf8(ligne.mid(egal + 1)).trimmed());
    }
    raison = valeurs.value(QStringLiteral("SKIP"));
    if (raison.isEmpty() && valeurs.value(QStringLiteral("URI")).isEmpty())
        raison = QStringLiteral("the env file names no server");
    return valeurs;
}

struct Resultat {
    int code = -1;
    QString sortie;
    QString erreurs;
};

Resultat Lance(const QStringList& arguments) {
    Resultat r;
    QTextStream sortie(&r.sortie);
    QTextStream erreurs(&r.erreurs);
    r.code = runCli(arguments, sortie, erreurs);
    return r;
}

TEST(CliDc, TheControllerGivesTheSameExportAsTheEmbeddedDirectory) {
    QString raison;
    const QHash<QString, QString> dc = LitEnvironnementDc(raison);
    if (!raison.isEmpty())
        GTEST_SKIP() << "No test domain controller: " << raison.toStdString();
    // libldap reads the CA file once, at its first use.
    setenv("LDAPTLS_CACERT", dc.value(QStringLiteral("CA")).toLocal8Bit().constData(), 1);
    qputenv("ARBRIX_PASSWORD", dc.value(QStringLiteral("ADMIN_PASSWORD")).toUtf8());

    QTemporaryDir dossier;
    const QString reglages = dossier.filePath(QStringLiteral("Arbrix.ini"));
    QFile f(reglages);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Config]\r\nLangue=Français\r\n");
    f.close();

    const QStringList embarque = {"--settings", reglages, "--directory",
                                  QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif")};
    const QStringList controleur = {"--settings",  reglages,
                                    "--directory", dc.value(QStringLiteral("URI")),
                                    "--user",      dc.value(QStringLiteral("ADMIN_LOGIN"))};
    // The controller refuses the sample's group without a scope: the cases stay clear of it.
    const QList<QStringList> cas = {
        {"Boucle A"},
        {"--type", "ou", "--set", "ContrôlerVerrouilléExpiré=-1", "Ventes"},
        {"--mode", "3", "--set", "ExportStructure=0", "--type", "ou", "Informatique"},
        {"--type", "ou", "--set", "ReprésenterGroupesRacineOU=-1", "--set", "ExportFormat=1", "R&D, Paris"},
        {"--type", "ou", "--set", "ExportModeColonné=-1", "--set", "ExportSéparateur=;", "Филиал Москва"},
        {"Boucle*"},
        {"Nulle part"},
    };
    for (const QStringList& arguments : cas) {
        const Resultat attendu = Lance(embarque + arguments);
        const Resultat obtenu = Lance(controleur + arguments);
        const std::string nom = arguments.join(u' ').toStdString();
        EXPECT_EQ(obtenu.code, attendu.code) << nom << "\n" << obtenu.erreurs.toStdString();
        EXPECT_EQ(obtenu.sortie.toStdString(), attendu.sortie.toStdString()) << nom;
        if (attendu.code == 2) {
            EXPECT_EQ(obtenu.erreurs.count(u'\n'), attendu.erreurs.count(u'\n')) << nom;
        }
    }
    qunsetenv("ARBRIX_PASSWORD");
}

// A refused password is never repeated: not in the messages, not on standard error, whatever
// libldap or the server say about the refusal.
TEST(CliDc, ARefusedPasswordAppearsNowhere) {
    QString raison;
    const QHash<QString, QString> dc = LitEnvironnementDc(raison);
    if (!raison.isEmpty())
        GTEST_SKIP() << "No test domain controller: " << raison.toStdString();
    QTemporaryDir dossier;
    const QByteArray secret = "Faux-Secret-8472-Zq!";
    QFile fichier(dossier.filePath(QStringLiteral("secret")));
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(secret + "\n");
    fichier.close();

    for (const QString& uri : {dc.value(QStringLiteral("URI")), dc.value(QStringLiteral("LDAPS_URI"))}) {
        QProcess cli;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("LDAPTLS_CACERT"), dc.value(QStringLiteral("CA")));
        environnement.insert(QStringLiteral("LDAPDEBUG"), QStringLiteral("0"));
        cli.setProcessEnvironment(environnement);
        cli.start(QStringLiteral(ARBRIX_CLI),
                  {"--settings", dossier.filePath(QStringLiteral("Arbrix.ini")), "--directory", uri, "--user",
                   dc.value(QStringLiteral("ADMIN_LOGIN")), "--password-file", fichier.fileName(),
                   "Boucle A"});
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QByteArray tout = cli.readAllStandardOutput() + cli.readAllStandardError();
        EXPECT_NE(cli.exitCode(), 0) << uri.toStdString();
        EXPECT_FALSE(tout.isEmpty()) << uri.toStdString();
        EXPECT_FALSE(tout.contains(secret)) << tout.toStdString();
    }
}

} // namespace
