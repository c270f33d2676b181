#include "directory/ldap/LdapConnection.h"

#include "directory/ldap/LdapDiscovery.h"

#include <QDeadlineTimer>
#include <QThread>

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

constexpr qint64 PatienceSliceMs = 100;

int resultCodeOf(LDAP* ld) {
    int code = LDAP_OTHER;
    ldap_get_option(ld, LDAP_OPT_RESULT_CODE, &code);
    return code;
}

} // namespace

QString diagnosticOf(LDAP* ld) {
    char* raw = nullptr;
    if (!ld || ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &raw) != LDAP_OPT_SUCCESS)
        return {};
    ldapraii::Memory owner(raw);
    return raw ? QString::fromUtf8(raw).trimmed() : QString();
}

QString errorText(int code, const QString& diagnostic) {
    const QString description = QString::fromUtf8(ldap_err2string(code));
    QString detail = diagnostic.trimmed();
    if (detail == u"(unknown error code)"_s)
        detail.clear();
    if (code > 0)
        return detail.isEmpty() ? description : detail;
    return detail.isEmpty() ? description : description + u" ("_s + detail + u')';
}

[[noreturn]] void raise(int code, const QString& diagnostic) {
    throw LdapError(code, errorText(code, diagnostic));
}

bool isLdaps(const QString& uris) {
    const QStringList list = DecoupeUris(uris);
    return !list.isEmpty() && std::all_of(list.begin(), list.end(), [](const QString& uri) {
        return uri.startsWith(u"ldaps://"_s, Qt::CaseInsensitive);
    });
}

void LdapConnection::reopen() {
    m_ld = m_makeHandle();
    tls = isLdaps(m_uris);
    m_lost = false;
}

void LdapConnection::reconnect() {
    reopen();
    count(&RoundTrips::binds);
    authentication(*this);
}

void LdapConnection::fail(int code) const {
    if (code == LDAP_SERVER_DOWN)
        m_lost = true;
    raise(code, diagnosticOf(ld()));
}

ldapraii::Message LdapConnection::wait(int msgid) const {
    const qint64 patienceMs = qint64(m_timeoutSeconds) * 1000;
    QDeadlineTimer deadline{patienceMs};
    const bool patient = patience && *patience;
    while (true) {
        timeval now{0, 0};
        LDAPMessage* raw = nullptr;
        const int type = ldap_result(ld(), msgid, LDAP_MSG_ALL, &now, &raw);
        ldapraii::Message result(raw);
        if (type < 0)
            fail(resultCodeOf(ld()));
        if (type > 0)
            return result;
        const qint64 left = std::max<qint64>(0, deadline.remainingTime());
        if (left > 0 && dataArrives(std::min<qint64>(left, PatienceSliceMs)))
            deadline.setRemainingTime(patienceMs);
        if (patient && !(*patience)()) {
            abandon(msgid);
            raise(LDAP_USER_CANCELLED, u"Stopped while waiting for the directory server"_s);
        }
        if (deadline.hasExpired()) {
            abandon(msgid);
            raise(LDAP_TIMEOUT,
                  u"The directory server did not answer within %1 seconds"_s.arg(m_timeoutSeconds));
        }
    }
}

bool LdapConnection::closedByServer() const {
    int descriptor = -1;
    if (!ld() || ldap_get_option(ld(), LDAP_OPT_DESC, &descriptor) != LDAP_OPT_SUCCESS || descriptor < 0)
        return false;
    pollfd p{descriptor, POLLRDHUP, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

bool LdapConnection::dataArrives(qint64 ms) const {
    int descriptor = -1;
    if (ldap_get_option(ld(), LDAP_OPT_DESC, &descriptor) != LDAP_OPT_SUCCESS || descriptor < 0) {
        QThread::msleep(std::max<qint64>(1, ms));
        return false;
    }
    pollfd p{descriptor, POLLIN, 0};
    return ::poll(&p, 1, int(ms)) > 0;
}

void LdapConnection::boundReads() const {
    int descriptor = -1;
    if (!ld() || ldap_get_option(ld(), LDAP_OPT_DESC, &descriptor) != LDAP_OPT_SUCCESS || descriptor < 0)
        return;
    const timeval limit{std::max(1, m_timeoutSeconds), 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

void LdapConnection::abandon(int msgid) const {
    if (msgid != LDAP_RES_ANY)
        ldap_abandon_ext(ld(), msgid, nullptr, nullptr);
}

ldapraii::Controls LdapConnection::checkResult(LDAPMessage* result) const {
    int code = LDAP_SUCCESS;
    char* message = nullptr;
    LDAPControl** controls = nullptr;
    const int rc = ldap_parse_result(ld(), result, &code, nullptr, &message, nullptr, &controls, 0);
    ldapraii::Memory messageOwner(message);
    ldapraii::Controls controlsOwner(controls);
    if (rc != LDAP_SUCCESS)
        fail(rc);
    if (code != LDAP_SUCCESS)
        raise(code, message ? QString::fromUtf8(message) : QString());
    return controlsOwner;
}

} // namespace arbrix
