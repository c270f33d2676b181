#include "TestDc.h"

#include <QFile>
#include <QProcess>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace arbrix::testdc {

DcSettings::DcSettings() {
    const QString path = qEnvironmentVariable("ARBRIX_TEST_DC_ENV");
    if (path.isEmpty()) {
        m_skipReason = u"ARBRIX_TEST_DC_ENV is not set (run through ctest, or tools/test-dc.sh start)"_s;
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_skipReason = u"cannot read %1 (was tools/test-dc.sh start run?)"_s.arg(path);
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            m_values.insert(line.left(equals), line.mid(equals + 1));
    }
    m_skipReason = value("SKIP");
    if (m_skipReason.isEmpty() && uri().isEmpty())
        m_skipReason = u"%1 names no controller"_s.arg(path);
}

const DcSettings& DcSettings::instance() {
    static const DcSettings settings;
    return settings;
}

QString DcSettings::value(const char* key) const {
    return m_values.value(u"ARBRIX_TEST_DC_"_s + QString::fromLatin1(key));
}

Credentials AdminCredentials() {
    return {1, Dc().value("ADMIN_LOGIN"), Dc().value("ADMIN_PASSWORD"), {}};
}

Credentials UserCredentials() {
    return {1, Dc().value("USER_LOGIN"), Dc().value("USER_PASSWORD"), {}};
}

std::shared_ptr<LdapBackend> BoundBackend(const Credentials& credentials, LdapOptions options) {
    if (options.uris.isEmpty())
        options.uris = Dc().uri();
    auto backend = std::make_shared<LdapBackend>(options);
    backend->bind(credentials, {});
    return backend;
}

QString OnDc(const QString& sampleDn) {
    static const QString sampleSuffix = u"DC=velmora,DC=test"_s;
    if (!sampleDn.endsWith(sampleSuffix, Qt::CaseInsensitive))
        return sampleDn;
    return sampleDn.left(sampleDn.size() - sampleSuffix.size()) + Dc().base();
}

KerberosScope::KerberosScope() {
    qputenv("KRB5_CONFIG", Dc().value("KRB5_CONFIG").toLocal8Bit());
    qputenv("KRB5CCNAME", ("FILE:" + m_dir.filePath(u"ccache"_s)).toLocal8Bit());
}

KerberosScope::~KerberosScope() {
    qunsetenv("KRB5_CONFIG");
    qunsetenv("KRB5CCNAME");
}

QString KerberosScope::kinit(const QString& principal, const QString& password) {
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

QString KerberosScope::kinitUser() {
    return kinit(Dc().value("USER_SAM") + u'@' + Dc().value("REALM"), Dc().value("USER_PASSWORD"));
}

namespace {

// libldap reads LDAPTLS_CACERT once, at its first use: set it before any test runs.
struct TrustTheControllersCa {
    TrustTheControllersCa() {
        const QString ca = Dc().value("CA");
        if (!ca.isEmpty() && qEnvironmentVariableIsEmpty("LDAPTLS_CACERT"))
            setenv("LDAPTLS_CACERT", ca.toLocal8Bit().constData(), 1);
    }
};
const TrustTheControllersCa trustTheControllersCa;

} // namespace

} // namespace arbrix::testdc
