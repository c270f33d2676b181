// Binds and sessions on the test domain controller: login forms, TLS, anonymous searches,
// Kerberos, and why a session did not open: the cause found, and a message that names the server
// or the account and keeps the server's diagnostic.

#include "TestDc.h"

#include "directory/DirectoryError.h"
#include "directory/EchecConnexion.h"
#include "directory/Session.h"
#include "i18n/Traductions.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace arbrix;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

QString defaultNamingContext(Backend& backend) {
    const QList<LdapEntry> rootDse =
        searchAll(backend, {{}, SearchScope::Base, {}, {u"defaultNamingContext"_s}});
    const LdapAttribute* a = rootDse.size() == 1 ? rootDse.first().find(u"defaultNamingContext") : nullptr;
    return a ? QString::fromUtf8(a->values.value(0)) : QString();
}

qsizetype countUnder(Backend& backend, const QString& base) {
    return searchAll(backend, {base, SearchScope::Subtree, {}, {u"1.1"_s}}).size();
}

LdapOptions at(const QString& uris, int timeoutSeconds = 5) {
    LdapOptions options;
    options.uris = uris;
    options.networkTimeoutSeconds = timeoutSeconds;
    return options;
}

const QString MotDePasse = u"Msg-9!tEst-Az"_s;

QByteArray motDePasseAd(const QString& motDePasse) {
    const QString cite = u'"' + motDePasse + u'"';
    return QByteArray(reinterpret_cast<const char*>(cite.utf16()), cite.size() * 2);
}

// Accounts in each refused state, made for these tests and removed after them.
class ComptesRefuses : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Dc().available())
            return;
        LdapOptions options;
        options.uris = Dc().value("LDAPS_URI"); // passwords are set over TLS only
        s_admin = BoundBackend(AdminCredentials(), options);
        cree(u"msg.desactive"_s, {{u"userAccountControl"_s, "514"}});
        cree(u"msg.verrouille"_s,
             {{u"userAccountControl"_s, "512"}, {u"lockoutTime"_s, "133497810000000000"}});
        cree(u"msg.expire"_s,
             {{u"userAccountControl"_s, "512"}, {u"accountExpires"_s, "132223104000000000"}});
        cree(u"msg.achanger"_s, {{u"userAccountControl"_s, "512"}, {u"pwdLastSet"_s, "0"}});
    }
    static void TearDownTestSuite() {
        for (const QString& dn : std::as_const(s_crees))
            s_admin->remove(dn);
        s_crees.clear();
        s_admin.reset();
    }

    static void cree(const QString& sam, const QList<std::pair<QString, QByteArray>>& etat) {
        const QString dn = u"CN=%1,CN=Users,%2"_s.arg(sam, Dc().base());
        QList<LdapAttribute> attributs{{u"objectClass"_s, {"user"}},
                                       {u"sAMAccountName"_s, {sam.toUtf8()}},
                                       {u"unicodePwd"_s, {motDePasseAd(MotDePasse)}}};
        s_admin->add(dn, attributs);
        s_crees << dn;
        QList<Modification> modifications;
        for (const auto& [nom, valeur] : etat)
            modifications << Modification{ModOp::Replace, nom, {valeur}};
        s_admin->modify(dn, modifications);
    }

    static ResultatSession ouvre(const QString& uris, const AccesAnnuaire& acces) {
        return SessionAD(std::make_shared<LdapBackend>(at(uris, 3)), acces).Ouvre();
    }

    static AccesAnnuaire compte(const QString& login, const QString& motDePasse = MotDePasse) {
        AccesAnnuaire acces;
        acces.AccesAD = 1;
        acces.AccesADLogin = login;
        acces.AccesADPassword = motDePasse;
        return acces;
    }

    static inline std::shared_ptr<LdapBackend> s_admin;
    static inline QStringList s_crees;
};

struct Cas {
    const char* nom;
    QString uris;
    AccesAnnuaire acces;
    CauseEchecConnexion cause;
    QString nomme;      // what the message names: the server or the account
    QString diagnostic; // a part of the server's text the message keeps
};

} // namespace

TEST(DcBind, EveryLoginFormBindsOverTls) {
    ARBRIX_REQUIRE_DC();
    const struct {
        QString uri;
        QString login;
    } rows[] = {
        {Dc().uri(), Dc().value("ADMIN_LOGIN")}, // StartTLS
        {Dc().uri(), Dc().value("DOMAIN") + u"\\Administrator"_s},
        {Dc().uri(), Dc().value("ADMIN_DN")},
        {Dc().value("LDAPS_URI"), Dc().value("ADMIN_LOGIN")}, // the controller's certificate verified
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.uri + u' ' + row.login).toStdString());
        Credentials c = AdminCredentials();
        c.login = row.login;
        LdapBackend backend(at(row.uri));
        ASSERT_NO_THROW(backend.bind(c, {}));
        EXPECT_TRUE(backend.usesTls());
        // Only an authenticated session may search the domain.
        EXPECT_GT(countUnder(backend, OnDc(u"OU=Velmora,DC=velmora,DC=test"_s)), 50);
        EXPECT_EQ(backend.roundTrips().binds, 1);
    }
}

TEST(DcBind, SearchingWithoutBindIsRefusedAsAccessDenied) {
    ARBRIX_REQUIRE_DC();
    LdapBackend anonymous(at(Dc().uri()));
    // The RootDSE answers anyone: that is how the session finds the domain.
    EXPECT_EQ(defaultNamingContext(anonymous), Dc().base());
    try {
        countUnder(anonymous, OnDc(u"OU=Velmora,DC=velmora,DC=test"_s));
        FAIL() << "an anonymous search of the domain was answered";
    } catch (const LdapError& e) {
        EXPECT_EQ(queryErrorNumber(e.code()), ErrorNumber::QueryAccessDenied) << e.code();
    }
}

TEST(DcBind, ModeTwoBindsToTheConfiguredHost) {
    ARBRIX_REQUIRE_DC();
    Credentials c = AdminCredentials();
    c.accessMode = 2;
    c.login = Dc().value("DOMAIN") + u"\\Administrator"_s;
    c.domain = Dc().value("ADDRESS");
    LdapBackend backend(at(u"ldap://127.0.0.1:9"_s)); // the configured URIs are not for mode 2
    backend.bind(c, {});
    EXPECT_EQ(backend.connectedUris(), u"ldap://"_s + Dc().value("ADDRESS"));
    EXPECT_EQ(defaultNamingContext(backend), Dc().base());
}

TEST(DcBind, KerberosTicketBindsInModeZero) {
    ARBRIX_REQUIRE_DC();
    if (!Dc().value("GSSAPI_SKIP").isEmpty())
        GTEST_SKIP() << Dc().value("GSSAPI_SKIP").toStdString();
    KerberosScope kerberos;
    const QString principal = Dc().value("USER_SAM") + u'@' + Dc().value("REALM");
    const QString failure = kerberos.kinit(principal, Dc().value("USER_PASSWORD"));
    ASSERT_TRUE(failure.isEmpty()) << "kinit: " << failure.toStdString();

    // Plain LDAP: sealed by Kerberos, as controllers that require signing want it. Over TLS:
    // the fault tests' controller, which can be made to take such binds.
    Credentials ticket;
    ticket.accessMode = 0;
    LdapBackend backend(at(Dc().value("HOST_URI")));
    ASSERT_NO_THROW(backend.bind(ticket, {}));
    // Only an authenticated session may search the domain.
    EXPECT_GT(countUnder(backend, OnDc(u"OU=Velmora,DC=velmora,DC=test"_s)), 50);
    EXPECT_GE(backend.saslStrength(), 56);
}

TEST_F(ComptesRefuses, EachCauseHasItsMessage) {
    ARBRIX_REQUIRE_DC();
    const QString domaine = Dc().value("DNS_DOMAIN");
    const QString alias = Dc().value("ALIAS_URI");
    QString aliasLdaps = alias;
    aliasLdaps.replace(u"ldap://"_s, u"ldaps://"_s);
    Credentials admin = AdminCredentials();

    QList<Cas> cas{
        {"wrong password", Dc().uri(), compte(admin.login, admin.password + u"x"_s),
         CauseEchecConnexion::Identifiants, admin.login, u"data 52e"_s},
        {"unknown account", Dc().uri(), compte(u"nobody@"_s + domaine), CauseEchecConnexion::Identifiants,
         u"nobody@"_s + domaine, u"data 52e"_s},
        {"disabled", Dc().uri(), compte(u"msg.desactive@"_s + domaine), CauseEchecConnexion::CompteDesactive,
         u"msg.desactive@"_s + domaine, u"data 533"_s},
        {"locked", Dc().uri(), compte(u"msg.verrouille@"_s + domaine), CauseEchecConnexion::CompteVerrouille,
         u"msg.verrouille"_s, u"data 775"_s},
        {"expired", Dc().uri(), compte(u"msg.expire@"_s + domaine), CauseEchecConnexion::CompteExpire,
         u"msg.expire"_s, u"data 701"_s},
        {"password to change", Dc().uri(), compte(u"msg.achanger@"_s + domaine),
         CauseEchecConnexion::MotDePasseAChanger, u"msg.achanger"_s, u"data 773"_s},
        {"nothing listens",
         u"ldap://127.0.0.1:9"_s,
         compte(admin.login, admin.password),
         CauseEchecConnexion::ServeurInjoignable,
         u"ldap://127.0.0.1:9"_s,
         {}},
    };
    if (!alias.isEmpty()) {
        cas.append({"certificate of another name, StartTLS", alias, compte(admin.login, admin.password),
                    CauseEchecConnexion::Certificat, alias, u"TLS"_s});
        cas.append({"certificate of another name, LDAPS", aliasLdaps, compte(admin.login, admin.password),
                    CauseEchecConnexion::Certificat, aliasLdaps, u"TLS"_s});
    }

    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const ResultatSession resultat = ouvre(c.uris, c.acces);
        ASSERT_FALSE(resultat.reussi());
        EXPECT_EQ(CauseEchec(resultat.codeLdap, resultat.texte, 1), c.cause) << resultat.texte.toStdString();
        const QString message = MessageEchecSession(resultat, 1, c.acces.AccesADLogin);
        EXPECT_TRUE(message.contains(c.nomme)) << message.toStdString();
        EXPECT_TRUE(message.contains(c.diagnostic)) << message.toStdString();
        EXPECT_FALSE(message.startsWith(Traduction(u"MSG_ERREUR_RECHERCHE_ROOT_AD")))
            << message.toStdString();
    }
}

TEST(DcMessages, ModeZeroWithoutTicketSaysToRunKinit) {
    ARBRIX_REQUIRE_DC();
    if (!Dc().value("GSSAPI_SKIP").isEmpty())
        GTEST_SKIP() << Dc().value("GSSAPI_SKIP").toStdString();
    const KerberosScope noTicket;
    const ResultatSession resultat =
        SessionAD(std::make_shared<LdapBackend>(at(Dc().value("HOST_URI"))), AccesAnnuaire{}).Ouvre();
    ASSERT_FALSE(resultat.reussi());
    EXPECT_EQ(CauseEchec(resultat.codeLdap, resultat.texte, 0), CauseEchecConnexion::TicketKerberosAbsent);
    EXPECT_TRUE(MessageEchecSession(resultat, 0, {}).contains(u"kinit"_s));
}
