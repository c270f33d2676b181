#pragma once

#include "directory/DirectoryError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace arbrix {

// One attribute of an entry as the directory returns it: its name as spelt by the server and
// its raw values (UTF-8 text, or binary such as "objectSid").
struct LdapAttribute {
    QString name;
    QList<QByteArray> values;
};

struct LdapEntry {
    QString dn;
    QList<LdapAttribute> attributes;

    // The attribute of that name, compared without regard to case; nullptr when absent.
    const LdapAttribute* find(QStringView name) const;
};

enum class SearchScope { Base, OneLevel, Subtree };

struct SearchRequest {
    QString base; // a DN, or empty for the RootDSE (with scope Base)
    SearchScope scope = SearchScope::Subtree;
    QString filter;         // RFC 4515 text, values already escaped
    QStringList attributes; // empty: all user attributes
    int pageSize = 1000;
    // Asked for without the paged-results control (which doubles what a Samba controller spends
    // on a search); a server that caps the unpaged answer is asked again page by page. Base-scope
    // searches always go so.
    bool unpagedFirst = false;
    // Attribute scoped query: with scope Base, the search runs over the objects that this
    // DN-valued attribute of the base entry names ("member": a group's members, one round trip).
    QString scopedAttribute;
};

// A search in one expression.
inline SearchRequest searchRequest(QString base, SearchScope scope, QString filter, QStringList attributes) {
    SearchRequest r;
    r.base = std::move(base);
    r.scope = scope;
    r.filter = std::move(filter);
    r.attributes = std::move(attributes);
    return r;
}

// The RootDSE's "supportedControl" value of the attribute scoped query.
inline constexpr char AttributeScopedQueryOid[] = "1.2.840.113556.1.4.1504";

// One search of a batch, once over: its ticket, every entry of every page, or its failure.
struct FinishedSearch {
    int ticket = 0;
    QList<LdapEntry> entries;
    std::optional<LdapError> error;
};

// Several searches under way at once on the one connection, so that a level of a tree costs one
// network latency rather than one per search. Answers come in the order the server ends them.
class SearchBatch {
public:
    virtual ~SearchBatch() = default;
    // Sends a search (or queues it when the backend has no more room); returns its ticket.
    virtual int start(const SearchRequest& request) = 0;
    // Waits for a search to end; nullopt when none is under way. A failure of one search comes
    // in its FinishedSearch; a failure of the connection, a timeout or Stop (LdapError
    // UserCancelled) raises, and the searches still under way are abandoned.
    virtual std::optional<FinishedSearch> next() = 0;
    // Searches started and not yet handed out by next().
    virtual int pending() const = 0;
    // True when searches really wait on the network together; false when each is answered as
    // it is started, so that asking ahead of need would only hold answers in memory.
    virtual bool concurrent() const { return false; }
};

// A running search; the caller pulls one page at a time so that a stopped loop fetches no more.
class SearchCursor {
public:
    virtual ~SearchCursor() = default;
    // Appends the next page of entries to out. Returns false once the search is over (out may
    // still have received the last entries). Raises LdapError.
    virtual bool fetchPage(QList<LdapEntry>& out) = 0;
};

enum class ModOp { Add, Delete, Replace };

struct Modification {
    ModOp op;
    QString attribute;
    QList<QByteArray> values;
};

// How the session authenticates (access modes 0, 1 and 2 of the settings).
struct Credentials {
    int accessMode = 0; // 0: the user's own Kerberos ticket; 1, 2: login and password
    QString login;      // as typed: user principal name, DOMAIN\user or DN
    QString password;
    QString domain; // mode 2: the domain or host name to reach
    // A simple bind may go in clear text to a server that offers no TLS (a laboratory only):
    // otherwise such a server is never sent the password.
    bool cleartextAllowed = false;
};

// Counts of round trips to the directory, for the tests and benchmarks.
struct RoundTrips {
    qint64 binds = 0;
    qint64 searches = 0; // search requests started
    qint64 pages = 0;    // pages fetched (a search has at least one)
    qint64 reads = 0;    // base-scope reads of one object, compares included
    qint64 writes = 0;   // add, modify, delete, rename
};

// The LDAP operations a directory store answers. Two implementations: the embedded directory
// (an LDIF file in memory) and libldap against a domain controller. Every method raises
// LdapError on failure.
class Backend {
public:
    virtual ~Backend() = default;

    // Authenticates the session. server is empty for the configured or discovered default.
    virtual void bind(const Credentials& credentials, const QString& server) = 0;
    virtual std::unique_ptr<SearchCursor> search(const SearchRequest& request) = 0;
    // A batch of at most maxInFlight searches sent before an answer is read. The default runs
    // each search through search() when it is started.
    virtual std::unique_ptr<SearchBatch> searchBatch(int maxInFlight);
    virtual void add(const QString& dn, const QList<LdapAttribute>& attributes) = 0;
    virtual void modify(const QString& dn, const QList<Modification>& modifications) = 0;
    virtual void remove(const QString& dn) = 0;
    // newSuperior empty keeps the entry in its container.
    virtual void rename(const QString& dn, const QString& newRdn, const QString& newSuperior) = 0;
    virtual bool compare(const QString& dn, const QString& attribute, const QByteArray& value) = 0;
    // Where the directory is, for messages and the window: the server URIs in use or the file
    // of an embedded directory. Empty while a server is still to be discovered.
    virtual QString address() const { return {}; }

    const RoundTrips& roundTrips() const { return m_roundTrips; }
    void resetRoundTrips() { m_roundTrips = {}; }

    // Called a few times a second while an answer from the network is awaited, so that the
    // windows keep running; returning false gives the operation up (LdapError UserCancelled).
    // Empty: the wait runs to its answer or its timeout.
    using Patience = std::function<bool()>;
    virtual void setPatience(Patience patience) { m_patience = std::move(patience); }

protected:
    RoundTrips m_roundTrips;
    Patience m_patience;
};

// Reads a whole search into memory; convenience for callers that need every entry.
QList<LdapEntry> searchAll(Backend& backend, const SearchRequest& request);

} // namespace arbrix
