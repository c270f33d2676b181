#include "directory/ldap/LdapBackend.h"

#include "directory/ldap/LdapConnection.h"
#include "directory/ldap/LdapDiscovery.h"

#include <QRegularExpression>

#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <sasl/sasl.h>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

// Waits for one answer are bounded: a server that accepted the connection and then went silent
// must not freeze the program (the kernel accepts a connection for a frozen server, so the
// network timeout alone never fires).
int resultTimeoutSeconds(const LdapOptions& options) {
    return std::max(1, options.answerTimeoutSeconds);
}

int saslStrengthOf(LDAP* ld) {
    ber_len_t ssf = 0;
    if (ldap_get_option(ld, LDAP_OPT_X_SASL_SSF, &ssf) != LDAP_OPT_SUCCESS)
        return 0;
    return int(ssf);
}

int saslInteract(LDAP*, unsigned, void*, void* prompts) {
    // GSSAPI asks at most for an authorisation identity: the ticket's own.
    for (auto* prompt = static_cast<sasl_interact_t*>(prompts); prompt->id != SASL_CB_LIST_END; ++prompt) {
        const char* answer = prompt->defresult ? prompt->defresult : "";
        prompt->result = answer;
        prompt->len = unsigned(std::strlen(answer));
    }
    return LDAP_SUCCESS;
}

bool isLdapsOrLdapi(const QString& uris) {
    const QStringList list = DecoupeUris(uris);
    return !list.isEmpty() && std::all_of(list.begin(), list.end(), [](const QString& uri) {
        return uri.startsWith(u"ldaps://"_s, Qt::CaseInsensitive) ||
               uri.startsWith(u"ldapi://"_s, Qt::CaseInsensitive);
    });
}

} // namespace

// "dc1.example.test" from "dc1.example.test:389".
static QString hostOf(const QString& server) {
    static const QRegularExpression port(u":\\d+$"_s);
    return server.trimmed().remove(port);
}

// Which server: the one the bind names, else the configured URIs, else libldap's defaults, else
// the domain's controllers from DNS.
static QString chooseUris(const QString& server, const LdapOptions& options) {
    if (!server.trimmed().isEmpty()) {
        if (server.contains(u"://"_s) || NomResolu(hostOf(server)))
            return UriDuServeur(server);
        const QStringList controllers = ControleursDuDomaine(server);
        if (!controllers.isEmpty())
            return controllers.join(u' ');
        throw LdapError(
            LdapCode::ServerDown,
            u"The directory server \"%1\" is unknown to DNS and the domain has no SRV records"_s.arg(server));
    }
    if (!options.uris.trimmed().isEmpty())
        return DecoupeUris(options.uris).join(u' ');
    const QString defaults = UrisLibldapParDefaut();
    if (!defaults.isEmpty())
        return defaults;
    const QString domain = DomaineADecouvrir();
    const QStringList controllers = ControleursDuDomaine(domain);
    if (!controllers.isEmpty())
        return controllers.join(u' ');
    throw LdapError(
        LdapCode::ServerDown,
        domain.isEmpty()
            ? u"No directory server is configured and this host has no DNS domain to look one up"_s
            : u"No directory server is configured and DNS lists no domain controller for %1"_s.arg(domain));
}

static ldapraii::Ldap makeHandle(const QString& uris, const LdapOptions& options) {
    LDAP* raw = nullptr;
    const QByteArray uriBytes = uris.toUtf8();
    const int rc = ldap_initialize(&raw, uriBytes.constData());
    ldapraii::Ldap ld(raw);
    if (rc != LDAP_SUCCESS || !ld)
        raise(rc != LDAP_SUCCESS ? rc : LDAP_LOCAL_ERROR, u"Invalid directory address: "_s + uris);
    const int version = LDAP_VERSION3;
    timeval network{std::max(1, options.networkTimeoutSeconds), 0};
    timeval operation{resultTimeoutSeconds(options), 0};
    ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    ldap_set_option(ld.get(), LDAP_OPT_NETWORK_TIMEOUT, &network);
    ldap_set_option(ld.get(), LDAP_OPT_TIMEOUT, &operation);
    ldap_set_option(ld.get(), LDAP_OPT_RESTART, LDAP_OPT_ON);
    // Kerberos names the server as written, not as reverse DNS would rename it.
    ldap_set_option(ld.get(), LDAP_OPT_X_SASL_NOCANON, LDAP_OPT_ON);
    return ld;
}

void LdapBackend::open(const QString& uris) {
    if (m_connection) {
        m_connection->counters = nullptr;
        m_connection->patience = nullptr;
    }
    const LdapOptions options = m_options;
    m_connection = std::make_shared<LdapConnection>([uris, options] { return makeHandle(uris, options); },
                                                    uris, resultTimeoutSeconds(m_options));
    m_connection->counters = &m_roundTrips;
    m_connection->patience = &m_patience;
}

LdapConnection& LdapBackend::connection() {
    if (!m_connection)
        open(chooseUris({}, m_options));
    return *m_connection;
}

static bool reachable(const QString& uris) {
    const QStringList list = DecoupeUris(uris);
    return std::any_of(list.begin(), list.end(), [](const QString& uri) { return PortJoignable(uri, 3); });
}

// libldap leaves no detail of a failed TLS negotiation; after the server answered, it is almost
// always the certificate.
static QString tlsFailureText(const QString& uris) {
    return u"TLS negotiation with %1 failed: its certificate is not trusted here, or it names another host"_s
        .arg(uris);
}

// A refused certificate leaves libldap no text ("(unknown error code)"); a server that accepts
// StartTLS but has no TLS to offer (Samba with "tls enabled = no") closes the connection instead,
// which the TLS library words as a failed read.
static bool closedDuringHandshake(const QString& diagnostic) {
    static const QRegularExpression closed(u"pull function|non-properly terminated|unexpected|reset"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    return closed.match(diagnostic).hasMatch();
}

[[noreturn]] static void failNoTls(const LdapConnection& connection, const QString& why) {
    throw LdapError(LdapCode::TlsNotOffered,
                    u"%1 offers no TLS (%2): the password was not sent"_s.arg(connection.uris(), why));
}

// The TLS handshake after an accepted StartTLS is not bounded by libldap (2.5 spins in it): a
// server that accepts StartTLS and then negotiates nothing would hold the session for ever. The
// guard shuts the connection down once the timeout has passed, which ends the handshake as a
// closed connection.
class HandshakeGuard {
public:
    HandshakeGuard(LDAP* ld, int timeoutSeconds) {
        int descriptor = -1;
        if (ldap_get_option(ld, LDAP_OPT_DESC, &descriptor) != LDAP_OPT_SUCCESS || descriptor < 0)
            return;
        m_watch = std::thread([this, descriptor, timeoutSeconds] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(timeoutSeconds), [this] { return m_finished; }))
                ::shutdown(descriptor, SHUT_RDWR);
        });
    }
    ~HandshakeGuard() {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        if (m_watch.joinable())
            m_watch.join();
    }
    HandshakeGuard(const HandshakeGuard&) = delete;
    HandshakeGuard& operator=(const HandshakeGuard&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_watch;
};

// A password goes over TLS only: ldaps://, or ldap:// after StartTLS. A server that refuses
// StartTLS, drops the connection on it, or accepts it and then negotiates no TLS is sent nothing,
// unless clear text was allowed for a laboratory. A certificate refused is never bypassed.
// StartTLS is tried whatever the RootDSE says: Samba offers it without listing it in
// supportedExtension. The request and the handshake are made apart, so that a failure says which.
static void secureForPassword(LdapConnection& connection, bool cleartextAllowed) {
    if (isLdapsOrLdapi(connection.uris()))
        return;
    LDAP* ld = connection.ld();
    char* oid = nullptr;
    berval* data = nullptr;
    int rc = ldap_extended_operation_s(ld, LDAP_EXOP_START_TLS, nullptr, nullptr, nullptr, &oid, &data);
    ldap_memfree(oid);
    ber_bvfree(data);
    QString noTls; // why the server offers no TLS
    const bool accepted = rc == LDAP_SUCCESS;
    if (accepted) {
        {
            const HandshakeGuard guard(ld, connection.timeoutSeconds());
            rc = ldap_install_tls(ld);
        }
        if (rc == LDAP_SUCCESS) {
            connection.tls = true;
            return;
        }
        const QString diagnostic = diagnosticOf(ld);
        if (rc == LDAP_CONNECT_ERROR && !closedDuringHandshake(diagnostic))
            throw LdapError(LdapCode::ConnectError, tlsFailureText(connection.uris()));
        noTls = u"StartTLS accepted, then no TLS negotiated: "_s + errorText(rc, diagnostic);
    } else if (rc == LDAP_SERVER_DOWN && reachable(connection.uris())) {
        // StartTLS is the session's first request: a server whose port answers dropped the
        // connection on it; one that cannot be reached, or does not answer, is told as such.
        noTls = u"the connection was dropped on StartTLS"_s;
    } else if (rc < 0) {
        connection.fail(rc);
    } else {
        noTls = u"StartTLS refused: "_s + errorText(rc, diagnosticOf(ld));
    }
    if (!cleartextAllowed)
        failNoTls(connection, noTls);
    // Clear text allowed: the bind goes on a connection of its own when StartTLS cost this one.
    if (rc < 0 || accepted)
        connection.reopen();
}

// Over ldaps:// libldap reports a refused certificate as an unreachable server. A server whose
// port answers was reached: the TLS negotiation is what failed.
[[noreturn]] static void failBinding(const LdapConnection& connection, int rc) {
    if (rc == LDAP_SERVER_DOWN && isLdaps(connection.uris())) {
        for (const QString& uri : DecoupeUris(connection.uris()))
            if (PortJoignable(uri, 3))
                throw LdapError(LdapCode::ConnectError, tlsFailureText(uri));
    }
    connection.fail(rc);
}

static void bindSimple(LdapConnection& connection, const Credentials& credentials) {
    // An empty password would make a successful anonymous bind: refuse it here.
    if (credentials.login.trimmed().isEmpty() || credentials.password.isEmpty())
        throw LdapError(LdapCode::InvalidCredentials,
                        u"A login and a password are needed to bind to the directory"_s);
    secureForPassword(connection, credentials.cleartextAllowed);
    const QByteArray login = credentials.login.toUtf8();
    const QByteArray password = credentials.password.toUtf8();
    berval secret = bervalOf(password);
    const int rc = ldap_sasl_bind_s(connection.ld(), login.constData(), LDAP_SASL_SIMPLE, &secret, nullptr,
                                    nullptr, nullptr);
    if (rc != LDAP_SUCCESS)
        failBinding(connection, rc);
}

// The least Kerberos protection over plain LDAP: a confidentiality layer (sealing, which implies
// signing), as domain controllers that require signing want it.
constexpr int SealingStrength = 56;
constexpr char SealingProperties[] = "minssf=56";

static int saslBindGssapi(LdapConnection& connection, const char* securityProperties) {
    ldap_set_option(connection.ld(), LDAP_OPT_X_SASL_SECPROPS, securityProperties);
    return ldap_sasl_interactive_bind_s(connection.ld(), nullptr, "GSSAPI", nullptr, nullptr, LDAP_SASL_QUIET,
                                        saslInteract, nullptr);
}

static void bindGssapi(LdapConnection& connection) {
    int rc = LDAP_SUCCESS;
    if (connection.tls) {
        // Over TLS no second Kerberos layer (domain controllers refuse one), and the TLS channel
        // binding, which controllers that enforce channel binding demand.
        const int endpoint = LDAP_OPT_X_SASL_CBINDING_TLS_ENDPOINT;
        ldap_set_option(connection.ld(), LDAP_OPT_X_SASL_CBINDING, &endpoint);
        rc = saslBindGssapi(connection, "maxssf=0");
    } else {
        rc = saslBindGssapi(connection, SealingProperties);
    }
    if (rc != LDAP_SUCCESS)
        failBinding(connection, rc);
    if (!connection.tls && saslStrengthOf(connection.ld()) < SealingStrength)
        throw LdapError(LdapCode::ConfidentialityRequired,
                        u"The Kerberos bind to %1 negotiated no sealing"_s.arg(connection.uris()));
}

static void authenticate(LdapConnection& connection, const Credentials& credentials) {
    if (credentials.accessMode == 0)
        bindGssapi(connection);
    else
        bindSimple(connection, credentials);
    connection.boundReads();
}

void LdapBackend::bind(const Credentials& credentials, const QString& server) {
    const QString target = server.isEmpty() && credentials.accessMode == 2 ? credentials.domain : server;
    open(chooseUris(target, m_options));
    ++m_roundTrips.binds;
    authenticate(*m_connection, credentials);
    m_connection->authentication = [credentials](LdapConnection& c) { authenticate(c, credentials); };
}

int LdapBackend::saslStrength() const {
    return m_connection ? saslStrengthOf(m_connection->ld()) : 0;
}

int LdapBackend::channelBinding() const {
    int binding = LDAP_OPT_X_SASL_CBINDING_NONE;
    if (m_connection)
        ldap_get_option(m_connection->ld(), LDAP_OPT_X_SASL_CBINDING, &binding);
    return binding;
}

} // namespace arbrix
