#pragma once

// The test domain controller that tools/test-dc.sh starts: its settings, read from the file that
// ARBRIX_TEST_DC_ENV names, and bound backends for the tests.

#include "directory/ldap/LdapBackend.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace arbrix::testdc {

class DcSettings {
public:
    // Reads the file named by ARBRIX_TEST_DC_ENV; skipReason() explains an unusable one.
    static const DcSettings& instance();

    bool available() const { return m_skipReason.isEmpty(); }
    const QString& skipReason() const { return m_skipReason; }
    // The value of ARBRIX_TEST_DC_<key>; empty when absent.
    QString value(const char* key) const;

    QString uri() const { return value("URI"); }
    QString base() const { return value("BASE"); }

private:
    DcSettings();
    QString m_skipReason;
    QHash<QString, QString> m_values;
};

inline const DcSettings& Dc() {
    return DcSettings::instance();
}

Credentials AdminCredentials();
Credentials UserCredentials();
// A backend on the controller's plain LDAP URI, bound with the credentials given.
std::shared_ptr<LdapBackend> BoundBackend(const Credentials& credentials, LdapOptions options = {});
inline std::shared_ptr<LdapBackend> AdminBackend(LdapOptions options = {}) {
    return BoundBackend(AdminCredentials(), std::move(options));
}

// A DN of the sample domain (written with DC=velmora,DC=test) on the controller.
QString OnDc(const QString& sampleDn);

// Points Kerberos at the controller's realm and an empty credentials cache of its own for the
// life of this object.
class KerberosScope {
public:
    KerberosScope();
    ~KerberosScope();
    KerberosScope(const KerberosScope&) = delete;
    KerberosScope& operator=(const KerberosScope&) = delete;
    // Gets a ticket with kinit; the error output when it fails.
    QString kinit(const QString& principal, const QString& password);
    // The test user's ticket; the error output when it fails.
    QString kinitUser();

private:
    QTemporaryDir m_dir;
};

} // namespace arbrix::testdc

#define ARBRIX_REQUIRE_DC()                                                                                  \
    do {                                                                                                     \
        if (!::arbrix::testdc::Dc().available())                                                             \
            GTEST_SKIP() << "No test domain controller: "                                                    \
                         << ::arbrix::testdc::Dc().skipReason().toStdString();                               \
    } while (false)
