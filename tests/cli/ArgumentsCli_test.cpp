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
    EXPECT_EQ(a.fichierReglages, QStringLiteral("/tmp/a.ini"));
    ASSERT_EQ(a.reglages.size(), 2);
    EXPECT_EQ(a.reglages[0].cle, QStringLiteral("ExportFormat"));
    EXPECT_EQ(a.reglages[0].valeur, QStringLiteral("2"));
    EXPECT_EQ(a.reglages[1].cle, QStringLiteral("Langue"));
    EXPECT_EQ(a.reglages[1].valeur, QStringLiteral("Français"));
    EXPECT_EQ(a.utilisateur, QStringLiteral("alice@velmora.test"));
    EXPECT_EQ(a.fichierMotDePasse, QStringLiteral("/tmp/p"));
    EXPECT_EQ(a.nomOuDn, QStringLiteral("Ventes"));
    EXPECT_FALSE(a.aide);
    // Help needs no name.
    EXPECT_FALSE(Lit({"--help"}).erreur);
    EXPECT_TRUE(Lit({"-h"}).arguments.aide);
}

TEST(ArgumentsCli, NameWordsAreJoinedAndDoubleDashEndsOptions) {
    EXPECT_EQ(Lit({"Domain", "Users"}).arguments.nomOuDn, QStringLiteral("Domain Users"));
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
        Lit({"create-group", "--distribution", "--scope=Universal", "OU=Ventes,DC=x", "Mon groupe"})
            .arguments;
    EXPECT_EQ(creation.commande, QStringLiteral("create-group"));
    EXPECT_EQ(creation.mots, (QStringList{"OU=Ventes,DC=x", "Mon groupe"}));
    EXPECT_EQ(creation.typeGroupe, 1);
    EXPECT_EQ(creation.etendueGroupe, 2);
    const ArgumentsCli retrait = Lit({"--directory", "d.ldif", "remove-member", "g", "a", "b"}).arguments;
    EXPECT_EQ(retrait.commande, QStringLiteral("remove-member")) << "a command may follow options";
    EXPECT_EQ(retrait.mots, (QStringList{"g", "a", "b"}));
    EXPECT_TRUE(Lit({"delete-group", "--yes", "g"}).arguments.confirme);
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
        {{"--set", "=2", "x"}, CleTexteCli::ReglageInvalide, "=2"},
        {{"--mode", "2"}, CleTexteCli::NomManquant, ""},
        {{"tree"}, CleTexteCli::NomManquant, ""},
        {{"create-group", "--scope", "domain", "OU=a", "b"}, CleTexteCli::EtendueInvalide, "domain"},
        {{"create-group", "OU=a"}, CleTexteCli::UsageCommande, "arbrix-cli create-group PARENT NAME"},
        {{"remove-member", "g"}, CleTexteCli::UsageCommande, "arbrix-cli remove-member GROUP MEMBER..."},
        {{"delete-group", "--security", "g"}, CleTexteCli::OptionHorsCommande, "--security delete-group"},
        {{"--yes", "g"}, CleTexteCli::OptionHorsCommande, "--yes tree"},
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

TEST(TextesCli, FillsValuesAndFallsBackToTheKey) {
    EXPECT_EQ(TexteCli(CleTexteCli::OptionInconnue, {"--x"}), QStringLiteral("Option inconnue : --x"));
    EXPECT_EQ(TexteCli(QStringLiteral("MSG_CLI_SANS_TEXTE")), QStringLiteral("MSG_CLI_SANS_TEXTE"));
    EXPECT_TRUE(TexteCli(CleTexteCli::Aide).contains(u"--password-file"));
}

} // namespace
