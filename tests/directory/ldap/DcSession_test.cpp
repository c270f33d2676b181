// Binds against the test domain controller: login forms, TLS, refused and anonymous binds, Kerberos.

#include "TestDc.h"

#include "directory/DirectoryError.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

using namespace arbrix;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

QString defaultNamingContext(Backend& backend) {
    SearchRequest rootDse;
    rootDse.scope = SearchScope::Base;
    rootDse.attributes = QStringList{u"defaultNamingContext"_s};
    const QList<LdapEntry> entries = searchAll(backend, rootDse);
    if (entries.size() != 1 || !entries.first().find(u"defaultNamingContext"))
        return {};
    return QString::fromUtf8(entries.first().find(u"defaultNamingContext")->values.value(0));
}

qsizetype countUnder(Backend& backend, const QString& base) {
    SearchRequest request;
    request.base = base;
    request.attributes = QStringList{u"1.1"_s};
    return searchAll(backend, request).size();
}

LdapError bindError(const Credentials& credentials, LdapOptions options) {
    LdapBackend backend(std::move(options));
    try {
        backend.bind(credentials, {});
    } catch (const LdapError& e) {
        return e;
    }
    return LdapError(LdapCode::Success, {});
}

LdapOptions at(const QString& uris) {
    LdapOptions options;
    options.uris = uris;
    options.networkTimeoutSeconds = 5;
    return options;
}

// Points Kerberos at the controller's realm and a private credentials cache for one test.
class KerberosScope {
public:
    KerberosScope() {
        save("KRB5_CONFIG");
        save("KRB5CCNAME");
        qputenv("KRB5_CONFIG", Dc().value("KRB5_CONFIG").toLocal8Bit());
        qputenv("KRB5CCNAME", ("FILE:" + m_dir.filePath(u"ccache"_s)).toLocal8Bit());
    }
    ~KerberosScope() {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    // Gets a ticket with kinit; the error output when it fails.
    QString kinit(const QString& principal, const QString& password) {
        QProcess process;
        process.start(u"kinit"_s, {principal});
        if (!process.waitForStarted(5000))
            return u"kinit did not start"_s;
        process.write((password + u'\n').toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(20000);
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return {};
        return QString::fromLocal8Bit(process.readAllStandardError());
    }

private:
    void save(const char* name) {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
    }
    QTemporaryDir m_dir;
    std::vector<std::pair<const char*, QByteArray>> m_saved;
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

TEST(DcBind, UnknownAccountIsRefused) {
    ARBRIX_REQUIRE_DC();
    Credentials c = AdminCredentials();
    c.login = u"nobody@"_s + Dc().value("DNS_DOMAIN");
    EXPECT_EQ(bindError(c, at(Dc().uri())).code(), LdapCode::InvalidCredentials);
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

    Credentials ticket;
    ticket.accessMode = 0;
    LdapBackend backend(at(Dc().value("HOST_URI")));
    ASSERT_NO_THROW(backend.bind(ticket, {}));
    // Only an authenticated session may search the domain.
    EXPECT_GT(countUnder(backend, OnDc(u"OU=Velmora,DC=velmora,DC=test"_s)), 50);
}
