#include "TestDc.h"

#include "cli/LanceCli.h"
#include "directory/Dn.h"
#include "directory/Query.h"
#include "export/LecteurCsv.h"
#include "shell/FichiersTest.h"

#include <QDateTime>
#include <QProcess>

#include <cstdio>
#include <cstdlib>

using namespace arbrix;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

using test::Resultat;
const auto Lance = test::LanceCli;

TEST(CliDc, TheControllerGivesTheSameExportAsTheEmbeddedDirectory) {
    ARBRIX_REQUIRE_DC();
    // libldap reads the CA file once, at its first use.
    setenv("LDAPTLS_CACERT", Dc().value("CA").toLocal8Bit().constData(), 1);
    qputenv("ARBRIX_PASSWORD", Dc().value("ADMIN_PASSWORD").toUtf8());

    QTemporaryDir dossier;
    const QString reglages = dossier.filePath(QStringLiteral("Arbrix.ini"));
    ASSERT_TRUE(test::EcritFichier(reglages, "[Config]\r\nLangue=Français\r\n"));

    const QStringList embarque = {"--settings", reglages, "--directory",
                                  QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif")};
    const QStringList controleur = {"--settings", reglages, "--directory",
                                    Dc().uri(),   "--user", Dc().value("ADMIN_LOGIN")};
    // The controller refuses the sample's group without a scope: the cases stay clear of it.
    const QList<QStringList> cas = {
        {"Boucle A"},
        {"--type", "ou", "--set", "ContrôlerVerrouilléExpiré=-1", "Ventes"},
        {"--mode", "3", "--set", "ExportStructure=0", "--type", "ou", "Informatique"},
        {"--type", "ou", "--set", "ReprésenterGroupesRacineOU=-1", "--set", "ExportFormat=1", "R&D, Paris"},
        {"--type", "ou", "--set", "ExportModeColonné=-1", "--set", "ExportSéparateur=;", "Филиал Москва"},
    };
    for (const QStringList& arguments : cas) {
        const Resultat attendu = Lance(embarque + arguments);
        const Resultat obtenu = Lance(controleur + arguments);
        const std::string nom = arguments.join(u' ').toStdString();
        EXPECT_EQ(obtenu.code, attendu.code) << nom << "\n" << obtenu.erreurs.toStdString();
        EXPECT_EQ(obtenu.sortie.toStdString(), attendu.sortie.toStdString()) << nom;
    }
    qunsetenv("ARBRIX_PASSWORD");
}

// The group commands change the controller; what they did is read back with the directory's own
// rules (the in-chain membership rule), not through the program.
class CliDcCommandes : public ::testing::Test {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        setenv("LDAPTLS_CACERT", Dc().value("CA").toLocal8Bit().constData(), 1);
        // Never a terminal: a deletion needs --yes.
        ASSERT_TRUE(std::freopen("/dev/null", "r", stdin));
        reglages = dossier.filePath(QStringLiteral("Arbrix.ini"));
        ASSERT_TRUE(test::EcritFichier(reglages, "[Config]\r\nLangue=Français\r\n"));
        annuaire = AdminBackend();
    }

    Resultat Commande(const QStringList& arguments) {
        qputenv("ARBRIX_PASSWORD", Dc().value("ADMIN_PASSWORD").toUtf8());
        const QStringList debut = {"--settings", reglages, "--directory",
                                   Dc().uri(),   "--user", Dc().value("ADMIN_LOGIN")};
        Resultat r = Lance(QStringList{arguments.first()} + debut + arguments.mid(1));
        qunsetenv("ARBRIX_PASSWORD");
        return r;
    }

    static QString Dn(const QString& relatif) { return relatif + u',' + Dc().base(); }
    QStringList Cherche(const QString& filtre) {
        QStringList noms;
        for (const LdapEntry& e :
             searchAll(*annuaire, {Dc().base(), SearchScope::Subtree, filtre, {u"cn"_s}}))
            noms.append(DnValeurRdn(e.dn));
        noms.sort();
        return noms;
    }
    QStringList MembresEnChaine(const QString& dnGroupe) {
        return Cherche(u"(memberOf:1.2.840.113556.1.4.1941:="_s + EchappeValeurFiltre(dnGroupe) + u')');
    }

    QTemporaryDir dossier;
    QString reglages;
    std::shared_ptr<LdapBackend> annuaire;
};

// Each command of the group operations in turn, on groups of the test's own. The rules of the
// operations (cycles, members already there, refusals) are the conformance suite's, on the same
// controller.
TEST_F(CliDcCommandes, CreerRenommerRetirerAjouterDeplacerSupprimer) {
    const QString s = QString::number(QDateTime::currentMSecsSinceEpoch() % 1000000);
    const QString ou = Dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s);
    const QString p = u"CliP-"_s + s;
    const QString dnP = u"CN="_s + p + u',' + ou;

    Resultat r = Commande({"create-group", "--scope", "global", ou, p});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(r.sortie, u"created\t"_s + dnP + u'\n');
    EXPECT_EQ(Cherche(u"(&(cn="_s + p + u")(groupType=-2147483646))"_s), QStringList{p});

    const QString enfant = u"#CliE (é) '"_s + s;
    const QString dnEnfant = u"CN=\\"_s + enfant + u',' + ou;
    r = Commande({"create-group", "--distribution", "--scope", "universal", p, enfant});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(r.sortie, u"created\t"_s + dnEnfant + u"\nadded\t"_s + dnEnfant + u'\t' + dnP + u'\n');
    EXPECT_EQ(MembresEnChaine(dnP), QStringList{enfant});

    const QString q = u"CliR-"_s + s;
    const QString dnQ = u"CN="_s + q + u',' + ou;
    r = Commande({"rename-group", enfant, q});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(r.sortie, u"renamed\t"_s + dnEnfant + u'\t' + dnQ + u'\n');
    EXPECT_EQ(Cherche(u"(sAMAccountName="_s + q + u')'), QStringList{q});

    // The group goes; the account was no member: refused, and what was done is listed.
    r = Commande({"remove-member", p, q, "zdarcy"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, u"removed\t"_s + dnQ + u'\t' + dnP + u'\n');
    EXPECT_TRUE(r.erreurs.startsWith(u"Opération refusée"_s)) << r.erreurs.toStdString();
    EXPECT_TRUE(MembresEnChaine(dnP).isEmpty());

    // By account name, by address and by name; a wildcard names nothing and adds nothing.
    const QString zoe = Dn(u"CN=Zoé D'Arcy,OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s);
    r = Commande({"add-member", p, "zdarcy", "wang.fang@velmora.test", q, "adm*"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.sortie.count(u"added\t"_s), 3) << r.sortie.toStdString();
    EXPECT_TRUE(r.sortie.startsWith(u"added\t"_s + zoe + u'\t' + dnP + u'\n'));
    EXPECT_EQ(r.erreurs, u"Aucun compte ni aucun groupe ne correspond à 'adm*'.\n"_s);
    EXPECT_EQ(MembresEnChaine(dnP), (QStringList{q, u"Zoé D'Arcy"_s, u"王芳"_s}));

    // A move: into Q, out of P; Wang Fang stays where it was.
    r = Commande({"move-member", p, q, zoe});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(r.sortie, u"added\t"_s + zoe + u'\t' + dnQ + u"\nremoved\t"_s + zoe + u'\t' + dnP + u'\n');
    EXPECT_EQ(Cherche(u"(memberOf="_s + EchappeValeurFiltre(dnP) + u')'), (QStringList{q, u"王芳"_s}));
    EXPECT_EQ(MembresEnChaine(dnQ), QStringList{u"Zoé D'Arcy"_s});

    r = Commande({"delete-group", q});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(u"--yes"_s));
    EXPECT_TRUE(r.sortie.isEmpty());
    r = Commande({"delete-group", "--yes", q});
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_EQ(r.sortie, u"deleted\t"_s + dnQ + u'\n');
    EXPECT_EQ(Commande({"delete-group", "--yes", dnP}).code, 0);
    EXPECT_TRUE(Cherche(u"(|(cn="_s + p + u")(cn="_s + q + u"))"_s).isEmpty());
}

// The effective memberships against the controller's own in-chain rule: the same groups, an
// account's primary group and the groups of that group with them; and each chain printed is one
// of "member" values, step by step.
TEST_F(CliDcCommandes, AppartenancesEffectivesSelonLaRegleEnChaine) {
    const auto dns = [&](const QString& filtre) {
        QSet<QString> trouves;
        for (const LdapEntry& e :
             searchAll(*annuaire, {Dc().base(), SearchScope::Subtree, filtre, {u"cn"_s}}))
            trouves.insert(DnNormalise(e.dn));
        return trouves;
    };
    const auto enChaine = [&](const QString& dn) {
        return dns(u"(member:1.2.840.113556.1.4.1941:="_s + EchappeValeurFiltre(dn) + u')');
    };
    const QString utilisateurs = DnNormalise(Dn(u"CN=Domain Users,CN=Users"_s));
    for (const QString& objet : {u"amartin"_s, u"nroux"_s, u"Boucle A"_s, u"Niveau 2 - Direction"_s}) {
        const QSet<QString> trouve = dns(u"(|(sAMAccountName="_s + objet + u")(&(objectClass=group)(cn="_s +
                                         EchappeValeurFiltre(objet) + u")))"_s);
        ASSERT_EQ(trouve.size(), 1) << objet.toStdString();
        const QString dnObjet = *trouve.begin();
        const bool compte = !objet.contains(u' ');
        QSet<QString> attendus = enChaine(dnObjet);
        attendus.remove(dnObjet); // a group in a loop is its own member by the rule: the loop is told instead
        if (compte)
            attendus += enChaine(utilisateurs) + QSet<QString>{utilisateurs};

        const Resultat r = Commande({u"member-of"_s, u"--effective"_s, objet});
        ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
        QHash<QString, QString> dnDuChemin; // chain text -> DN of its last group
        QSet<QString> obtenus;
        for (const QString& ligne : r.sortie.split(u'\n', Qt::SkipEmptyParts)) {
            const QString dn = DnNormalise(ligne.section(u'\t', 0, 0));
            const QString chemin = ligne.section(u'\t', 1);
            dnDuChemin.insert(chemin, dn);
            obtenus.insert(dn);
            const QString precedent = dnDuChemin.value(chemin.left(chemin.lastIndexOf(u" > "_s)), dnObjet);
            if (precedent == dnObjet && dn == utilisateurs && compte)
                continue; // the primary group names none of its members
            EXPECT_EQ(dns(u"(&(distinguishedName="_s + EchappeValeurFiltre(dn) + u")(member="_s +
                          EchappeValeurFiltre(precedent) + u"))"_s)
                          .size(),
                      1)
                << ligne.toStdString();
        }
        EXPECT_EQ(obtenus, attendus) << objet.toStdString();
        EXPECT_EQ(r.erreurs.contains(u"Appartenance circulaire"_s),
                  objet == u"nroux" || objet.startsWith(u"Boucle"_s))
            << r.erreurs.toStdString();
    }
}

// The controller's own foreign principal of Authenticated Users and the sample's contact, in the
// access review's rows, with the kinds a script reads.
TEST_F(CliDcCommandes, PrincipalEtrangerEtContactDansLExportCsv) {
    const Resultat r = Commande({"tree", "--format", "csv", "GS Imprimantes"});
    ASSERT_EQ(r.code, 0) << r.erreurs.toStdString();
    QStringList trouves;
    for (const QStringList& ligne : test::LitCsv(r.sortie))
        if (ligne.value(2) == u"foreign" || ligne.value(2) == u"contact")
            trouves << ligne.value(0) + u'|' + ligne.value(2) + u'|' + ligne.value(6);
    EXPECT_EQ(trouves,
              QStringList({u"Utilisateurs authentifiés|foreign|GS Imprimantes"_s,
                           u"Dupont & Fils|contact|GS Imprimantes > Ventes - Tous > Ventes (EMEA)"_s}));
}

TEST_F(CliDcCommandes, IntrouvablesEtPlusieurs) {
    Resultat r = Commande({"rename-group", "Nulle part", "x"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs, u"Aucun groupe ne correspond à 'Nulle part'.\n"_s);
    r = Commande({"delete-group", "--yes", "Boucle*"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs.count(u'\n'), 4) << "the message and three candidates";
}

// A refused password is never repeated: not in the messages, not on standard error, whatever
// libldap or the server say about the refusal.
TEST(CliDc, ARefusedPasswordAppearsNowhere) {
    ARBRIX_REQUIRE_DC();
    QTemporaryDir dossier;
    const QByteArray secret = "Faux-Secret-8472-Zq!";
    const QString fichier = dossier.filePath(QStringLiteral("secret"));
    ASSERT_TRUE(test::EcritFichier(fichier, secret + "\n"));

    for (const QString& uri : {Dc().uri(), Dc().value("LDAPS_URI")}) {
        QProcess cli;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("LDAPTLS_CACERT"), Dc().value("CA"));
        environnement.insert(QStringLiteral("LDAPDEBUG"), QStringLiteral("0"));
        cli.setProcessEnvironment(environnement);
        cli.start(QStringLiteral(ARBRIX_CLI),
                  {"--settings", dossier.filePath(QStringLiteral("Arbrix.ini")), "--directory", uri, "--user",
                   Dc().value("ADMIN_LOGIN"), "--password-file", fichier, "Boucle A"});
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QByteArray tout = cli.readAllStandardOutput() + cli.readAllStandardError();
        EXPECT_NE(cli.exitCode(), 0) << uri.toStdString();
        EXPECT_FALSE(tout.isEmpty()) << uri.toStdString();
        EXPECT_FALSE(tout.contains(secret)) << tout.toStdString();
    }

    // The log of --verbose shows each request, and still not the password that was accepted.
    const QByteArray vrai = Dc().value("ADMIN_PASSWORD").toUtf8();
    ASSERT_TRUE(test::EcritFichier(fichier, vrai + "\n"));
    ASSERT_TRUE(
        test::EcritFichier(dossier.filePath(QStringLiteral("Arbrix.ini")), "[Config]\nLangue=Français\n"));
    QProcess cli;
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(QStringLiteral("LDAPTLS_CACERT"), Dc().value("CA"));
    cli.setProcessEnvironment(environnement);
    cli.start(QStringLiteral(ARBRIX_CLI),
              {"--settings", dossier.filePath(QStringLiteral("Arbrix.ini")), "--verbose", "--directory",
               Dc().uri(), "--user", Dc().value("ADMIN_LOGIN"), "--password-file", fichier, "Boucle A"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QByteArray journal = cli.readAllStandardError();
    EXPECT_EQ(cli.exitCode(), 0) << journal.constData();
    EXPECT_TRUE(journal.contains("arbrix.directory: search base=")) << journal.constData();
    EXPECT_TRUE(journal.contains("arbrix.analysis: build of")) << journal.constData();
    EXPECT_FALSE(journal.contains(vrai));
}

} // namespace
