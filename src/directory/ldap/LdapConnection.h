#pragma once

// The connection of an LDAP session and what every exchange on it shares: the waits, the
// errors raised from libldap's codes, the reconnection after the server closed it.

#include "directory/ldap/LdapBackend.h"
#include "directory/ldap/LdapHandles.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace arbrix {

QString diagnosticOf(LDAP* ld);
// The text users see: the server's diagnostic (AD puts its sub-codes there, "data 52e"), or
// libldap's description of a client-side failure with whatever detail it left.
QString errorText(int code, const QString& diagnostic);
[[noreturn]] void raise(int code, const QString& diagnostic);

// A berval over the bytes, which must outlive it.
inline berval bervalOf(const QByteArray& bytes) {
    berval value;
    value.bv_len = ber_len_t(bytes.size());
    value.bv_val = const_cast<char*>(bytes.constData());
    return value;
}

bool isLdaps(const QString& uris);

// The libldap handle of a session, shared with the cursors it serves. When the server drops the
// connection (domain controllers close idle ones after some minutes), the next operation opens a
// new one and binds again as the session did, instead of going on anonymously.
class LdapConnection {
public:
    using HandleFactory = std::function<ldapraii::Ldap()>;
    using Authentication = std::function<void(LdapConnection&)>;

    LdapConnection(HandleFactory makeHandle, QString uris, int timeoutSeconds)
        : m_makeHandle(std::move(makeHandle))
        , m_uris(std::move(uris))
        , m_timeoutSeconds(timeoutSeconds) {
        reopen();
    }

    LDAP* ld() const { return m_ld.get(); }
    // How long an answer is awaited.
    int timeoutSeconds() const { return m_timeoutSeconds; }
    const QString& uris() const { return m_uris; }
    bool tls = false;
    // How the session authenticated, once it did; replayed after a reconnection.
    Authentication authentication;
    // The backend's counters and patience; cleared when the backend goes before a cursor.
    RoundTrips* counters = nullptr;
    const Backend::Patience* patience = nullptr;

    void reopen();
    void reconnect();
    // Bounds each read of the socket by the timeout. libldap reads a blocking socket: over TLS a
    // server gone silent in the middle of a record would hold the read, and the session, for ever.
    void boundReads() const;

    // Runs an operation; when the connection turns out to be lost, reconnects, binds again and
    // runs it once more. A connection lost by an earlier operation is reopened first: libldap
    // would otherwise connect again by itself, anonymously, and every query would be refused.
    template <typename Operation> auto retrying(Operation&& operation) {
        if (authentication && !m_lost && closedByServer())
            m_lost = true;
        if (m_lost && authentication)
            reconnect();
        try {
            return operation();
        } catch (const LdapError& e) {
            if (e.code() != LDAP_SERVER_DOWN || !authentication)
                throw;
        }
        reconnect();
        return operation();
    }

    [[noreturn]] void fail(int code) const;

    // Waits for every message of the answer to msgid, in short slices when someone is waiting
    // with patience: a server that stopped answering must not freeze the windows or the Stop
    // button until the timeout. The timeout counts from the last data received, so that a large
    // answer that keeps coming is never cut, while a silent server is noticed within it.
    // msgid LDAP_RES_ANY waits for whichever answer completes first; the caller abandons its
    // requests when the wait fails.
    ldapraii::Message wait(int msgid) const;

    // Whether the server closed the connection (domain controllers close idle ones): a request
    // sent on it now would be lost, and a change with it. Data waiting (TLS session tickets, late
    // answers to abandoned requests) is not a closure.
    bool closedByServer() const;

    // Whether bytes arrive on the connection within ms (an end of connection counts: the next
    // read reports it).
    bool dataArrives(qint64 ms) const;

    void abandon(int msgid) const;

    // Raises the error a final result carries; returns its controls.
    ldapraii::Controls checkResult(LDAPMessage* result) const;

    void count(qint64 RoundTrips::*counter) const {
        if (counters)
            ++(counters->*counter);
    }

private:
    HandleFactory m_makeHandle;
    ldapraii::Ldap m_ld;
    mutable bool m_lost = false;
    QString m_uris;
    int m_timeoutSeconds;
};

} // namespace arbrix
