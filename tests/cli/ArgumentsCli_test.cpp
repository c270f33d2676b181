#include "cli/ArgumentsCli.h"
#include "cli/TextesCli.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

AnalyseArgumentsCli Lit(const QStringList& arguments) {
    return LitArgumentsCli(arguments);
}

TEST(ArgumentsCli, ReadsEveryOptionInBothForms) {
    const AnalyseArgumentsCli r =
        Lit({"--directory", "/tmp/d.ldif", "--type=ou", "--mode", "5", "--settings=/tmp/a.ini", "--set",
             "ExportFormat=2", "--set=Langue=Français", "--user", "alice@velmora.test", "--password-file",
             "/tmp/p", "Ventes"});
    ASSERT_FALSE(r.erreur);
    const ArgumentsCli& a = r.arguments;
    EXPECT_EQ(a.source, QStringLiteral("/tmp/d.ldif"));
    EXPECT_EQ(a.type, 0);
    EXPECT_EQ(a.mode, 5);
    EXPECT_EQ(a.fichierRéglages, QStringLiteral("/tmp/a.ini"));
    ASSERT_EQ(a.réglages.size(), 2);
    EXPECT_EQ(a.réglages[0].clé, QStringLiteral("ExportFormat"));
    EXPECT_EQ(a.réglages[0].valeur, QStringLiteral("2"));
    EXPECT_EQ(a.réglages[1].clé, QStringLiteral("Langue"));
    EXPECT_EQ(a.réglages[1].valeur, QStringLiteral("Français"));
    EXPECT_EQ(a.utilisateur, QStringLiteral("alice@velmora.test"));
    EXPECT_EQ(a.fichierMotDePasse, QStringLiteral("/tmp/p"));
    EXPECT_EQ(a.nomOuDn, QStringLiteral("Ventes"));
    EXPECT_FALSE(a.aide);
}

TEST(ArgumentsCli, NameWordsAreJoinedAndDoubleDashEndsOptions) {
    EXPECT_EQ(Lit({"Domain", "Users"}).arguments.nomOuDn, QStringLiteral("Domain Users"));
    EXPECT_EQ(Lit({"--", "-odd", "name"}).arguments.nomOuDn, QStringLiteral("-odd name"));
    EXPECT_EQ(Lit({"  CN=Sales (EMEA),OU=Ventes  "}).arguments.nomOuDn,
              QStringLiteral("CN=Sales (EMEA),OU=Ventes"));
    // A --set value may itself hold "=" and be empty.
    const AnalyseArgumentsCli r = Lit({"--set", "ExportSéparateur=a=b", "--set", "ExportIndentation=", "x"});
    ASSERT_FALSE(r.erreur);
    EXPECT_EQ(r.arguments.réglages[0].valeur, QStringLiteral("a=b"));
    EXPECT_EQ(r.arguments.réglages[1].valeur, QString());
    EXPECT_EQ(Lit({"--type", "GROUP", "x"}).arguments.type, 1);
}

TEST(ArgumentsCli, HelpNeedsNoName) {
    const AnalyseArgumentsCli r = Lit({"--help"});
    EXPECT_FALSE(r.erreur);
    EXPECT_TRUE(r.arguments.aide);
    EXPECT_TRUE(Lit({"-h"}).arguments.aide);
}

TEST(ArgumentsCli, FaultsNameTheirKeyAndArgument) {
    struct Cas {
        QStringList arguments;
        QString clé;
        QString argument;
    };
    const QList<Cas> cas = {
        {{"--frobnicate", "x"}, CléTexteCli::OptionInconnue, "--frobnicate"},
        {{"--password", "secret", "x"}, CléTexteCli::OptionInconnue, "--password"},
        {{"x", "--mode"}, CléTexteCli::ValeurManquante, "--mode"},
        {{"--type", "user", "x"}, CléTexteCli::TypeInvalide, "user"},
        {{"--mode", "7", "x"}, CléTexteCli::ModeInvalide, "7"},
        {{"--mode=0", "x"}, CléTexteCli::ModeInvalide, "0"},
        {{"--mode", "deux", "x"}, CléTexteCli::ModeInvalide, "deux"},
        {{"--set", "ExportFormat", "x"}, CléTexteCli::RéglageInvalide, "ExportFormat"},
        {{"--set", "=2", "x"}, CléTexteCli::RéglageInvalide, "=2"},
        {{}, CléTexteCli::NomManquant, ""},
        {{"--mode", "2"}, CléTexteCli::NomManquant, ""},
    };
    for (const Cas& c : cas) {
        const AnalyseArgumentsCli r = Lit(c.arguments);
        ASSERT_TRUE(r.erreur) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(r.erreur->clé, c.clé) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(r.erreur->argument, c.argument) << c.arguments.join(u' ').toStdString();
    }
}

TEST(ArgumentsCli, OptionsBeforeAFaultAreKept) {
    // The settings file named before a fault still chooses the language of the message.
    const AnalyseArgumentsCli r = Lit({"--settings", "/tmp/a.ini", "--bogus"});
    ASSERT_TRUE(r.erreur);
    EXPECT_EQ(r.arguments.fichierRéglages, QStringLiteral("/tmp/a.ini"));
}

TEST(TextesCli, FillsValuesAndFallsBackToTheKey) {
    EXPECT_EQ(TexteCli(CléTexteCli::OptionInconnue, {"--x"}), QStringLiteral("Option inconnue : --x"));
    EXPECT_EQ(TexteCli(QStringLiteral("MSG_CLI_SANS_TEXTE")), QStringLiteral("MSG_CLI_SANS_TEXTE"));
    EXPECT_TRUE(TexteCli(CléTexteCli::Aide).contains(u"--password-file"));
}

} // namespace
