#include "cli/ArgumentsCli.h"
#include "cli/TextesCli.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

AnalyseArgumentsCli Lit(const QStringList& arguments) {
    return LitArgumentsCli(arguments);
}

// The spaced forms and the joined name words are read end to end by the command-line tests.
TEST(ArgumentsCli, OptionsTakeTheirValueAfterAnEqualsSignToo) {
    const AnalyseArgumentsCli r = Lit({"--type=ou", "--settings=/tmp/a.ini", "--set=Langue=Français", "x"});
    ASSERT_FALSE(r.erreur);
    EXPECT_EQ(r.arguments.type, 0);
    EXPECT_EQ(r.arguments.fichierReglages, QStringLiteral("/tmp/a.ini"));
    ASSERT_EQ(r.arguments.reglages.size(), 1);
    EXPECT_EQ(r.arguments.reglages[0].valeur, QStringLiteral("Français"));
    EXPECT_TRUE(Lit({"-h"}).arguments.aide); // help needs no name
    const AnalyseArgumentsCli version = Lit({"--version"});
    EXPECT_FALSE(version.erreur);
    EXPECT_TRUE(version.arguments.version);
}

TEST(ArgumentsCli, DoubleDashEndsOptionsAndSetValuesMayHoldEquals) {
    EXPECT_EQ(Lit({"--", "-odd", "name"}).arguments.nomOuDn, QStringLiteral("-odd name"));
    EXPECT_EQ(Lit({"  CN=Sales (EMEA),OU=Ventes  "}).arguments.nomOuDn,
              QStringLiteral("CN=Sales (EMEA),OU=Ventes"));
    // A --set value may itself hold "=" and be empty.
    const AnalyseArgumentsCli r = Lit({"--set", "ExportSéparateur=a=b", "--set", "ExportIndentation=", "x"});
    ASSERT_FALSE(r.erreur);
    EXPECT_EQ(r.arguments.reglages[0].valeur, QStringLiteral("a=b"));
    EXPECT_EQ(r.arguments.reglages[1].valeur, QString());
    EXPECT_EQ(Lit({"--type", "GROUP", "x"}).arguments.type, 1);
}

TEST(ArgumentsCli, CommandsTakeTheirWordsOneByOne) {
    const ArgumentsCli creation =
        Lit({"create-group", "--scope=Universal", "OU=Ventes,DC=x", "Mon groupe"}).arguments;
    EXPECT_EQ(creation.mots, (QStringList{"OU=Ventes,DC=x", "Mon groupe"}));
    EXPECT_EQ(creation.etendueGroupe, 2);
    EXPECT_EQ(Lit({"--directory", "d.ldif", "remove-member", "g", "a"}).arguments.commande,
              QStringLiteral("remove-member"))
        << "a command may follow options";
    // The analysis is the default; "--" makes a command name an ordinary name.
    EXPECT_EQ(Lit({"tree", "Domain", "Users"}).arguments.nomOuDn, QStringLiteral("Domain Users"));
    const ArgumentsCli nomme = Lit({"--", "delete-group"}).arguments;
    EXPECT_EQ(nomme.commande, CommandeArbre);
    EXPECT_EQ(nomme.nomOuDn, QStringLiteral("delete-group"));
}

TEST(ArgumentsCli, FaultsNameTheirKeyAndArgument) {
    struct Cas {
        QStringList arguments;
        QString cle;
        QString argument;
    };
    const QList<Cas> cas = {
        {{"--frobnicate", "x"}, CleTexteCli::OptionInconnue, "--frobnicate"},
        {{"--password", "secret", "x"}, CleTexteCli::OptionInconnue, "--password"},
        {{"x", "--mode"}, CleTexteCli::ValeurManquante, "--mode"},
        {{"--type", "user", "x"}, CleTexteCli::TypeInvalide, "user"},
        {{"--mode", "7", "x"}, CleTexteCli::ModeInvalide, "7"},
        {{"--mode=0", "x"}, CleTexteCli::ModeInvalide, "0"},
        {{"--set", "ExportFormat", "x"}, CleTexteCli::ReglageInvalide, "ExportFormat"},
        {{"tree"}, CleTexteCli::NomManquant, ""},
        {{"create-group", "--scope", "domain", "OU=a", "b"}, CleTexteCli::EtendueInvalide, "domain"},
        {{"create-group", "OU=a"}, CleTexteCli::UsageCommande, "arbrix-cli create-group PARENT NAME"},
        {{"delete-group", "--security", "g"}, CleTexteCli::OptionHorsCommande, "--security delete-group"},
        {{"--format", "XML", "x"}, CleTexteCli::FormatInvalide, "XML"},
        {{"--format", "csv", "--line-ending", "cr", "x"}, CleTexteCli::FinLigneInvalide, "cr"},
        {{"--line-ending", "lf", "--format", "json", "x"}, CleTexteCli::FinLigneHorsCsv, ""},
        {{"member-of", "--format", "csv", "x"}, CleTexteCli::OptionHorsCommande, "--format member-of"},
    };
    for (const Cas& c : cas) {
        const AnalyseArgumentsCli r = Lit(c.arguments);
        ASSERT_TRUE(r.erreur) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(r.erreur->cle, c.cle) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(r.erreur->argument, c.argument) << c.arguments.join(u' ').toStdString();
    }
}

TEST(ArgumentsCli, OptionsBeforeAFaultAreKept) {
    // The settings file named before a fault still chooses the language of the message.
    const AnalyseArgumentsCli r = Lit({"--settings", "/tmp/a.ini", "--bogus"});
    ASSERT_TRUE(r.erreur);
    EXPECT_EQ(r.arguments.fichierReglages, QStringLiteral("/tmp/a.ini"));
}

} // namespace
