#pragma once

// The directory store of a real domain controller, over OpenLDAP's libldap: one connection for
// the session, protocol 3, referrals not chased and search references skipped, every search
// paged (RFC 2696), ranged values read to their end, TLS verified as ldap.conf says.

#include "directory/Backend.h"

#include <QString>

#include <memory>

namespace arbrix {

struct LdapOptions {
    // Server URIs (ldap://, ldaps://, ldapi://) separated by spaces or commas; empty: the bind's
    // server, else libldap's defaults (ldap.conf, LDAPURI), else the domain's DNS SRV records.
    QString uris;
    // Connecting gives up after this; every other wait is bounded too (see LdapBackend).
    int networkTimeoutSeconds = 10;
    // A bind, StartTLS or one object's read answers within this; a search is given up when
    // nothing at all has arrived for this long (data that keeps coming never times out).
    int answerTimeoutSeconds = 15;
    // Values per request of a multi-valued attribute; 0 leaves it to the server.
    int rangeSize = 0;
};

class LdapConnection;

class LdapBackend : public Backend {
public:
    explicit LdapBackend(LdapOptions options = {});
    ~LdapBackend() override;

    // A lost connection is opened and bound again by the next operation (a search that already
    // handed out pages fails instead: its later pages cannot move to a new connection).
    // Mode 0: SASL GSSAPI with the user's Kerberos ticket, sealed over plain LDAP, with the TLS
    // channel binding over TLS. Modes 1 and 2: simple bind with the login as typed, over TLS only
    // (ldaps://, or StartTLS): a server without TLS gets no password (LdapCode::TlsNotOffered)
    // unless the credentials allow clear text.
    // server (or, in mode 2, credentials.domain) names the host, domain or URI to reach.
    void bind(const Credentials& credentials, const QString& server) override;
    std::unique_ptr<SearchCursor> search(const SearchRequest& request) override;
    // Every search of the batch is sent before an answer is read, up to maxInFlight at once.
    std::unique_ptr<SearchBatch> searchBatch(int maxInFlight) override;
    void add(const QString& dn, const QList<LdapAttribute>& attributes) override;
    void modify(const QString& dn, const QList<Modification>& modifications) override;
    void remove(const QString& dn) override;
    void rename(const QString& dn, const QString& newRdn, const QString& newSuperior) override;
    bool compare(const QString& dn, const QString& attribute, const QByteArray& value) override;
    // The URIs in use, else the configured ones.
    QString address() const override;

    const LdapOptions& options() const { return m_options; }
    // The URIs the connection was opened with; empty before the first operation.
    QString connectedUris() const;
    // True once the session runs over TLS (ldaps:// or StartTLS).
    bool usesTls() const;
    // The SASL security strength negotiated by a Kerberos bind (0: none, or not such a bind).
    int saslStrength() const;
    // The SASL channel binding type set on the connection (LDAP_OPT_X_SASL_CBINDING_*).
    int channelBinding() const;
    // The connection's socket, -1 when there is none yet (diagnostics and tests).
    int socketDescriptor() const;

private:
    LdapConnection& connection();
    void open(const QString& uris);

    LdapOptions m_options;
    std::shared_ptr<LdapConnection> m_connection;
};

} // namespace arbrix
