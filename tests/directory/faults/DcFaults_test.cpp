// A controller that fails in the middle of an analysis: killed, or alive but silent. The tree
// keeps what was read, a translated message comes in bounded time, and the next analysis works.

#include "DcFaults.h"

#include "cli/LanceCli.h"
#include "directory/EchecConnexion.h"

#include <QTemporaryDir>

#include <ldap.h>

using namespace arbrix;
using namespace arbrix::test;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

constexpr int DelaiReseau = 2;
constexpr int DelaiReponse = 3;

// Kills the controller at the first pause of the build (an answer awaited, or the events pumped
// between two items): whatever comes next from the directory fails.
class TueurDeDc : public UtilisateurScripte {
public:
    bool armee = true;
    void TraiteEvenements() override {
        UtilisateurScripte::TraiteEvenements();
        if (armee && TraitementEnCoursAffiche()) {
            armee = false;
            TueDc();
        }
    }
};

class DcEnPanne : public ::testing::Test {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        RelanceDcMort();
        ChargeTraductions({});
        m_options.networkTimeoutSeconds = DelaiReseau;
        m_options.answerTimeoutSeconds = DelaiReponse;
    }

    // The one message shown: the server's fault in words of its own, naming the server and the
    // incomplete tree, with its icon; no sending the user to the author.
    static bool SeulMessageDErreur(const test::Temoin& vu) {
        return vu.messages.size() == 1 && vu.messages.front().contains(Dc().uri()) &&
               vu.messages.front().contains(u"incomplète"_s) && !vu.messages.front().contains(u"auteur"_s) &&
               vu.icones.front() == IconeMessage::Exclamation;
    }

    LdapOptions m_options;
};

// Members come a page at a time: the controller dies between two pages.
TEST_F(DcEnPanne, KilledDuringABigExpansion) {
    TueurDeDc utilisateur;
    AnalyseDc dc(utilisateur, m_options);
    ASSERT_TRUE(dc.ouverte);
    QElapsedTimer chrono;
    chrono.start();
    dc.Lance(u"Grand groupe"_s);
    EXPECT_LT(chrono.elapsed(), (DelaiReseau + 3) * 1000);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Erreur);
    EXPECT_EQ(dc.analyse->Resultat().numeroErreur, std::llabs(qint64(ErrorNumber::ServerDown)));
    EXPECT_TRUE(SeulMessageDErreur(utilisateur)) << utilisateur.messages.join(u'\n').toStdString();
    // What was read stays.
    ASSERT_TRUE(dc.arbre.Racine());
    EXPECT_LT(dc.arbre.Count(), 5001);

    ASSERT_TRUE(RelanceDc());
    utilisateur.messages.clear();
    utilisateur.icones.clear();
    dc.Lance(u"Niveau 01"_s);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(dc.arbre.Count(), 50);
    for (const QString& m : utilisateur.messages)
        ADD_FAILURE() << m.toStdString();
}

// Stop while the answer is awaited is tested with the progress window (ui/ArretDcMuet.cpp).
TEST_F(DcEnPanne, SilentControllerGivesUpWithinTheTimeout) {
    UtilisateurScripte utilisateur;
    AnalyseDc dc(utilisateur, m_options);
    ASSERT_TRUE(dc.ouverte);
    {
        const DcMuet muet;
        QElapsedTimer chrono;
        chrono.start();
        dc.Lance(u"Niveau 01"_s);
        EXPECT_GE(chrono.elapsed(), (DelaiReponse - 1) * 1000);
        EXPECT_LT(chrono.elapsed(), (DelaiReponse + 3) * 1000);
        EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Erreur);
        EXPECT_TRUE(SeulMessageDErreur(utilisateur)) << utilisateur.messages.join(u'\n').toStdString();
    }
    utilisateur.messages.clear();
    utilisateur.icones.clear();
    dc.Lance(u"Niveau 01"_s);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(dc.arbre.Count(), 50);
}

} // namespace

// A Samba with "tls enabled = no" accepts StartTLS and then offers no TLS: no password is sent,
// and the message says so rather than blaming a certificate. Clear text, once allowed, binds.
TEST(DcSansTls, NoPasswordUnlessClearTextIsAllowed) {
    ARBRIX_REQUIRE_DC();
    ASSERT_TRUE(RelanceDc(u"no-tls"_s));
    ChargeTraductions({});
    AccesAnnuaire acces;
    acces.AccesAD = 1;
    acces.AccesADLogin = Dc().value("ADMIN_LOGIN");
    acces.AccesADPassword = Dc().value("ADMIN_PASSWORD");
    LdapOptions options;
    options.uris = Dc().uri();
    const ResultatSession refus = SessionAD(std::make_shared<LdapBackend>(options), acces).Ouvre();
    acces.AccesADSansTLS = true;
    const ResultatSession clair = SessionAD(std::make_shared<LdapBackend>(options), acces).Ouvre();
    ASSERT_TRUE(RelanceDc());

    ASSERT_FALSE(refus.reussi());
    EXPECT_EQ(CauseEchec(refus.codeLdap, refus.texte, 1), CauseEchecConnexion::TlsNonOffert)
        << refus.texte.toStdString();
    const QString message = MessageEchecSession(refus, 1, acces.AccesADLogin);
    EXPECT_TRUE(message.contains(Dc().uri())) << message.toStdString();
    EXPECT_FALSE(message.contains(u"certificat"_s)) << message.toStdString();
    EXPECT_TRUE(clair.reussi()) << clair.texte.toStdString();
}

// Kerberos over LDAPS: no second layer, and the TLS channel binding that controllers enforcing
// channel binding demand (Samba 4.17 does not check it, and takes such binds only when made to).
TEST(DcSansTls, KerberosOverTlsCarriesTheChannelBinding) {
    ARBRIX_REQUIRE_DC();
    if (!Dc().value("GSSAPI_SKIP").isEmpty())
        GTEST_SKIP() << Dc().value("GSSAPI_SKIP").toStdString();
    ASSERT_TRUE(RelanceDc(u"sasl-over-tls"_s));
    KerberosScope kerberos;
    const QString echec = kerberos.kinitUser();
    LdapOptions options;
    options.uris = Dc().value("HOST_URI").replace(u"ldap://"_s, u"ldaps://"_s);
    LdapBackend backend(options);
    Credentials ticket;
    QString refus;
    qsizetype trouves = 0;
    try {
        if (echec.isEmpty()) {
            backend.bind(ticket, {});
            trouves =
                searchAll(backend, {Dc().base(), SearchScope::Subtree, u"(objectClass=group)"_s, {u"1.1"_s}})
                    .size();
        }
    } catch (const LdapError& e) {
        refus = e.message();
    }
    ASSERT_TRUE(RelanceDc());
    EXPECT_TRUE(refus.isEmpty()) << refus.toStdString();

    ASSERT_TRUE(echec.isEmpty()) << "kinit: " << echec.toStdString();
    EXPECT_TRUE(backend.usesTls());
    EXPECT_EQ(backend.channelBinding(), LDAP_OPT_X_SASL_CBINDING_TLS_ENDPOINT);
    EXPECT_EQ(backend.saslStrength(), 0);
    EXPECT_GT(trouves, 10);
}

namespace {

// arbrix-cli as the administrator on the fault controller, or on a proxy in front of it.
test::Resultat CliAdministrateur(const QString& uri, const QStringList& reglages, const QString& nom) {
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(u"Arbrix.ini"_s);
    QFile ini(fichier);
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Config]\nLangue=Français\n") < 0)
        return {};
    ini.close();
    qputenv("ARBRIX_PASSWORD", Dc().value("ADMIN_PASSWORD").toUtf8());
    QStringList arguments{"--settings", fichier, "--directory", uri, "--user", Dc().value("ADMIN_LOGIN")};
    for (const QString& r : reglages)
        arguments << "--set" << r;
    const test::Resultat r = test::LanceCli(arguments << nom);
    qunsetenv("ARBRIX_PASSWORD");
    return r;
}

} // namespace

// A frozen controller still has its connections accepted by the kernel: the bind's own timeout
// (the default one) tells it.
TEST(DcMuetCli, FrozenBeforeTheBindIsToldWithinTwentySeconds) {
    ARBRIX_REQUIRE_DC();
    RelanceDcMort();
    QElapsedTimer chrono;
    test::Resultat r;
    {
        const DcMuet muet;
        chrono.start();
        r = CliAdministrateur(Dc().uri(), {}, u"Niveau 01"_s);
    }
    EXPECT_LT(chrono.elapsed(), 20000);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(Dc().uri())) << r.erreurs.toStdString();
    EXPECT_TRUE(r.sortie.isEmpty());
}

// The controller behind a proxy that lets through the first limit bytes of each connection
// (-1: all), in chunks of 4 kB every dripMs when given.
class ProxyDc {
public:
    explicit ProxyDc(int limite, int goutteMs = 0) {
        const QString adresse = Dc().value("ADDRESS");
        m_proxy.start(u"python3"_s,
                      {QStringLiteral(ARBRIX_SOURCE_DIR "/tests/directory/faults/proxy-muet.py"), adresse,
                       adresse, u"389"_s, QString::number(limite), QString::number(goutteMs)});
        if (m_proxy.waitForReadyRead(10000))
            uri = u"ldap://"_s + adresse + u':' + QString::fromLatin1(m_proxy.readLine().trimmed());
    }
    ~ProxyDc() {
        m_proxy.kill();
        m_proxy.waitForFinished();
    }
    QString uri;

private:
    QProcess m_proxy;
};

// A slow answer that keeps coming is never cut, though it takes longer than the timeout.
TEST(DcMuetCli, AnAnswerThatKeepsComingIsNotCut) {
    ARBRIX_REQUIRE_DC();
    RelanceDcMort();
    const ProxyDc proxy(-1, 10);
    ASSERT_FALSE(proxy.uri.isEmpty());
    QElapsedTimer chrono;
    chrono.start();
    const test::Resultat r =
        CliAdministrateur(proxy.uri, {u"DélaiAnnuaire=2"_s, u"RequêtesSimultanées=1"_s}, u"Grand groupe"_s);
    EXPECT_EQ(r.code, 0) << r.erreurs.toStdString();
    EXPECT_GT(chrono.elapsed(), 2000) << "the answer came faster than the timeout: nothing was proved";
    EXPECT_EQ(r.sortie.count(u'\n'), 5001);
}

// A controller that stops answering in the middle of an answer: the wait counts from the last
// data received, the message says which server and where, and what was read is printed.
TEST(DcMuetCli, SilentMidAnalysisPrintsWhatWasRead) {
    ARBRIX_REQUIRE_DC();
    RelanceDcMort();
    std::optional<ProxyDc> proxy(std::in_place, 60000);
    ASSERT_FALSE(proxy->uri.isEmpty());
    const QString uri = proxy->uri;
    QElapsedTimer chrono;
    chrono.start();
    const test::Resultat r =
        CliAdministrateur(uri, {u"DélaiAnnuaire=4"_s, u"RequêtesSimultanées=1"_s}, u"Grand groupe"_s);
    const qint64 duree = chrono.elapsed();
    proxy.reset();

    EXPECT_LT(duree, 30000);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(uri)) << r.erreurs.toStdString();
    EXPECT_TRUE(r.erreurs.contains(u"incomplète"_s)) << r.erreurs.toStdString();
    EXPECT_FALSE(r.erreurs.contains(u"auteur"_s)) << r.erreurs.toStdString();
    EXPECT_TRUE(r.sortie.startsWith(u"Grand groupe"_s)) << r.sortie.left(300).toStdString();
}
