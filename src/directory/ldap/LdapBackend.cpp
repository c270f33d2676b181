#include "directory/ldap/LdapBackend.h"

#include "directory/ldap/LdapDiscovery.h"
#include "directory/ldap/LdapHandles.h"
#include "directory/ldap/LdapRange.h"
#include "text/Journal.h"

#include <QRegularExpression>

#include <sasl/sasl.h>

#include <csignal>

#include <poll.h>

#include <QThread>

#include <QDeadlineTimer>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

// Waits for one answer are bounded: a server that accepted the connection and then went silent
// must not freeze the program (the kernel accepts a connection for a frozen server, so the
// network timeout alone never fires).
int resultTimeoutSeconds(const LdapOptions& options) {
    return std::max(1, options.answerTimeoutSeconds);
}

constexpr qint64 PatienceSliceMs = 100;

QString diagnosticOf(LDAP* ld) {
    char* raw = nullptr;
    if (!ld || ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &raw) != LDAP_OPT_SUCCESS)
        return {};
    ldapraii::Memory owner(raw);
    return raw ? QString::fromUtf8(raw).trimmed() : QString();
}

// The text users see: the server's diagnostic (AD puts its sub-codes there, "data 52e"), or
// libldap's description of a client-side failure with whatever detail it left.
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

int resultCodeOf(LDAP* ld) {
    int code = LDAP_OTHER;
    ldap_get_option(ld, LDAP_OPT_RESULT_CODE, &code);
    return code;
}

int saslStrengthOf(LDAP* ld) {
    ber_len_t ssf = 0;
    if (ldap_get_option(ld, LDAP_OPT_X_SASL_SSF, &ssf) != LDAP_OPT_SUCCESS)
        return 0;
    return int(ssf);
}

berval bervalOf(const QByteArray& bytes) {
    berval value;
    value.bv_len = ber_len_t(bytes.size());
    value.bv_val = const_cast<char*>(bytes.constData());
    return value;
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

bool isLdaps(const QString& uris) {
    const QStringList list = DecoupeUris(uris);
    return !list.isEmpty() && std::all_of(list.begin(), list.end(), [](const QString& uri) {
        return uri.startsWith(u"ldaps://"_s, Qt::CaseInsensitive);
    });
}

// NULL-terminated arrays of C strings that live as long as this object.
class CStrings {
public:
    explicit CStrings(const QStringList& strings) {
        for (const QString& s : strings)
            m_bytes.push_back(s.toUtf8());
        for (QByteArray& b : m_bytes)
            m_pointers.push_back(b.data());
        m_pointers.push_back(nullptr);
    }
    char** get() { return m_bytes.empty() ? nullptr : m_pointers.data(); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char*> m_pointers;
};

// The LDAPMod array of an add or modify, pointing into the caller's values.
class Mods {
public:
    void append(int op, const QString& attribute, const QList<QByteArray>& values) {
        m_items.push_back(Item{op, attribute.toUtf8(), {}, {}});
        Item& item = m_items.back();
        for (const QByteArray& v : values)
            item.values.push_back(bervalOf(v));
    }

    LDAPMod** get() {
        m_mods.resize(m_items.size());
        m_pointers.clear();
        for (size_t i = 0; i < m_items.size(); ++i) {
            Item& item = m_items[i];
            item.pointers.clear();
            for (berval& v : item.values)
                item.pointers.push_back(&v);
            item.pointers.push_back(nullptr);
            LDAPMod& mod = m_mods[i];
            mod.mod_op = item.op | LDAP_MOD_BVALUES;
            mod.mod_type = item.name.data();
            // No values: a delete or replace of the whole attribute.
            mod.mod_bvalues = item.values.empty() ? nullptr : item.pointers.data();
            m_pointers.push_back(&mod);
        }
        m_pointers.push_back(nullptr);
        return m_pointers.data();
    }

private:
    struct Item {
        int op;
        QByteArray name;
        std::vector<berval> values;
        std::vector<berval*> pointers;
    };
    std::vector<Item> m_items;
    std::vector<LDAPMod> m_mods;
    std::vector<LDAPMod*> m_pointers;
};

int modOpOf(ModOp op) {
    switch (op) {
    case ModOp::Add:
        return LDAP_MOD_ADD;
    case ModOp::Delete:
        return LDAP_MOD_DELETE;
    case ModOp::Replace:
        break;
    }
    return LDAP_MOD_REPLACE;
}

// One change asked of the directory, as the log shows it: the attributes' names, never values.
void logWrite(const char* operation, const QString& dn, const QString& detail, int rc) {
    qCDebug(lcAnnuaire).noquote() << operation << u"dn=\"%1\""_s.arg(dn) << detail << "->"
                                  << QString::fromUtf8(ldap_err2string(rc));
}

template <typename Items> QString namesOf(const Items& items) {
    QStringList names;
    for (const auto& item : items) {
        if constexpr (requires { item.attribute; })
            names << item.attribute;
        else
            names << item.name;
    }
    return u"attributes="_s + names.join(u',');
}

int scopeOf(SearchScope scope) {
    switch (scope) {
    case SearchScope::Base:
        return LDAP_SCOPE_BASE;
    case SearchScope::OneLevel:
        return LDAP_SCOPE_ONELEVEL;
    case SearchScope::Subtree:
        break;
    }
    return LDAP_SCOPE_SUBTREE;
}

} // namespace

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
    const QString& uris() const { return m_uris; }
    bool tls = false;
    // How the session authenticated, once it did; replayed after a reconnection.
    Authentication authentication;
    // The backend's counters and patience; cleared when the backend goes before a cursor.
    RoundTrips* counters = nullptr;
    const Backend::Patience* patience = nullptr;

    void reopen() {
        m_ld = m_makeHandle();
        tls = isLdaps(m_uris);
        m_lost = false;
    }

    void reconnect() {
        reopen();
        count(&RoundTrips::binds);
        authentication(*this);
    }

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

    [[noreturn]] void fail(int code) const {
        if (code == LDAP_SERVER_DOWN)
            m_lost = true;
        raise(code, diagnosticOf(ld()));
    }

    // Waits for every message of the answer to msgid, in short slices when someone is waiting
    // with patience: a server that stopped answering must not freeze the windows or the Stop
    // button until the timeout. The timeout counts from the last data received, so that a large
    // answer that keeps coming is never cut, while a silent server is noticed within it.
    // msgid LDAP_RES_ANY waits for whichever answer completes first; the caller abandons its
    // requests when the wait fails.
    ldapraii::Message wait(int msgid) const {
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

    // Whether the server closed the connection (domain controllers close idle ones): a request
    // sent on it now would be lost, and a change with it. Data waiting (TLS session tickets, late
    // answers to abandoned requests) is not a closure.
    bool closedByServer() const {
        int descriptor = -1;
        if (!ld() || ldap_get_option(ld(), LDAP_OPT_DESC, &descriptor) != LDAP_OPT_SUCCESS || descriptor < 0)
            return false;
        pollfd p{descriptor, POLLRDHUP, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR));
    }

    // Whether bytes arrive on the connection within ms (an end of connection counts: the next
    // read reports it).
    bool dataArrives(qint64 ms) const {
        int descriptor = -1;
        if (ldap_get_option(ld(), LDAP_OPT_DESC, &descriptor) != LDAP_OPT_SUCCESS || descriptor < 0) {
            QThread::msleep(std::max<qint64>(1, ms));
            return false;
        }
        pollfd p{descriptor, POLLIN, 0};
        return ::poll(&p, 1, int(ms)) > 0;
    }

    void abandon(int msgid) const {
        if (msgid != LDAP_RES_ANY)
            ldap_abandon_ext(ld(), msgid, nullptr, nullptr);
    }

    // Raises the error a final result carries; returns its controls.
    ldapraii::Controls checkResult(LDAPMessage* result) const {
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

namespace {

LdapEntry readEntry(LDAP* ld, LDAPMessage* message) {
    LdapEntry entry;
    ldapraii::Memory dn(ldap_get_dn(ld, message));
    entry.dn = dn ? QString::fromUtf8(dn.get()) : QString();
    BerElement* rawBer = nullptr;
    char* first = ldap_first_attribute(ld, message, &rawBer);
    ldapraii::Ber ber(rawBer);
    for (char* name = first; name; name = ldap_next_attribute(ld, message, ber.get())) {
        ldapraii::Memory nameOwner(name);
        ldapraii::Values values(ldap_get_values_len(ld, message, name));
        LdapAttribute attribute{QString::fromUtf8(name), {}};
        if (values) {
            for (berval** v = values.get(); *v; ++v)
                attribute.values.append(QByteArray((*v)->bv_val, qsizetype((*v)->bv_len)));
        }
        entry.attributes.append(std::move(attribute));
    }
    return entry;
}

class LdapCursor : public SearchCursor {
public:
    LdapCursor(std::shared_ptr<LdapConnection> connection, SearchRequest request, int rangeSize)
        : m_connection(std::move(connection))
        , m_request(std::move(request))
        , m_rangeSize(rangeSize) {
        if (m_request.filter.isEmpty())
            m_request.filter = u"(objectClass=*)"_s;
        // The RootDSE is not ranged: it answers its own attributes only.
        const bool ranged = m_rangeSize > 0 && !m_request.base.isEmpty();
        m_attributes = ranged ? AttributsAvecPlage(m_request.attributes, m_rangeSize) : m_request.attributes;
        m_paged = m_request.scope != SearchScope::Base || !m_request.scopedAttribute.isEmpty();
        if (m_request.pageSize <= 0)
            m_request.pageSize = 1000;
    }

    bool fetchPage(QList<LdapEntry>& out) override {
        if (m_done)
            return false;
        // Later pages belong to the connection that gave the first: they cannot move.
        if (!m_started)
            return m_connection->retrying([&] { return readAnswer(m_connection->wait(send()).get(), out); });
        return readAnswer(m_connection->wait(send()).get(), out);
    }

    // Sends the request for the next page; returns its message id.
    int send() {
        LDAP* ld = m_connection->ld();
        ldapraii::Control page;
        if (m_paged) {
            LDAPControl* raw = nullptr;
            berval cookie = bervalOf(m_cookie);
            const int rc = ldap_create_page_control(ld, ber_int_t(m_request.pageSize),
                                                    m_cookie.isEmpty() ? nullptr : &cookie, 0, &raw);
            page.reset(raw);
            if (rc != LDAP_SUCCESS)
                m_connection->fail(rc);
        }
        const ldapraii::Control scoped = scopedQueryControl();
        LDAPControl* controls[] = {page.get(), scoped.get(), nullptr};
        if (!page)
            std::swap(controls[0], controls[1]);
        const QByteArray base = m_request.base.toUtf8();
        const QByteArray filter = m_request.filter.toUtf8();
        CStrings attributes(m_attributes);
        int msgid = 0;
        const int rc = ldap_search_ext(ld, base.constData(), scopeOf(m_request.scope), filter.constData(),
                                       attributes.get(), 0, controls[0] ? controls : nullptr, nullptr,
                                       nullptr, LDAP_NO_LIMIT, &msgid);
        if (rc != LDAP_SUCCESS)
            m_connection->fail(rc);
        if (!m_started)
            m_connection->count(&RoundTrips::searches);
        m_started = true;
        m_sent.start();
        return msgid;
    }

    // Reads the answer to one page into out; true when another page is to be asked for.
    bool readAnswer(LDAPMessage* answer, QList<LdapEntry>& out) {
        const qsizetype before = out.size();
        try {
            const bool more = readPage(answer, out);
            qCDebug(lcAnnuaire).noquote() << describe() << "->" << (out.size() - before) << "entries,"
                                          << (more ? "more pages," : "done,") << m_sent.elapsed() << "ms";
            return more;
        } catch (const LdapError& e) {
            qCDebug(lcAnnuaire).noquote()
                << describe() << "-> error" << e.code() << e.message() << "," << m_sent.elapsed() << "ms";
            throw;
        }
    }

    bool readPage(LDAPMessage* answer, QList<LdapEntry>& out) {
        m_connection->count(&RoundTrips::pages);
        LDAP* ld = m_connection->ld();
        QList<LdapEntry> page;
        bool finished = false;
        for (LDAPMessage* m = ldap_first_message(ld, answer); m; m = ldap_next_message(ld, m)) {
            switch (ldap_msgtype(m)) {
            case LDAP_RES_SEARCH_ENTRY:
                page.append(readEntry(ld, m));
                break;
            case LDAP_RES_SEARCH_RESULT:
                finished = !readCookie(m_connection->checkResult(m).get());
                break;
            default: // search references: other partitions, never followed
                break;
            }
        }
        for (LdapEntry& entry : page)
            completeRanges(entry);
        out.append(page);
        m_done = finished || !m_paged;
        return !m_done;
    }

private:
    // The request as the log shows it: base, scope, filter, controls, attributes asked for.
    QString describe() const {
        static const char* const scopes[] = {"base", "one", "sub"};
        QStringList controls;
        if (m_paged)
            controls << u"paged(%1)"_s.arg(m_request.pageSize);
        if (!m_request.scopedAttribute.isEmpty())
            controls << u"scoped(%1)"_s.arg(m_request.scopedAttribute);
        return u"search base=\"%1\" scope=%2 filter=%3 controls=[%4] attributes=%5"_s.arg(
            m_request.base, QLatin1StringView(scopes[int(m_request.scope)]), m_request.filter,
            controls.join(u','), QString::number(m_attributes.size()));
    }

    // The attribute scoped query's control: a DER sequence holding the source attribute.
    ldapraii::Control scopedQueryControl() const {
        if (m_request.scopedAttribute.isEmpty())
            return {};
        // The encoder owns its buffer (freed with it); ber_flatten gives a copy.
        const std::unique_ptr<BerElement, void (*)(BerElement*)> ber(ber_alloc_t(LBER_USE_DER),
                                                                     [](BerElement* b) { ber_free(b, 1); });
        const QByteArray attribute = m_request.scopedAttribute.toUtf8();
        berval* value = nullptr;
        if (!ber || ber_printf(ber.get(), "{s}", attribute.constData()) < 0 ||
            ber_flatten(ber.get(), &value) < 0)
            m_connection->fail(LDAP_ENCODING_ERROR);
        const ldapraii::Berval valueOwner(value);
        LDAPControl* raw = nullptr;
        const int rc = ldap_control_create(AttributeScopedQueryOid, 1, value, 1, &raw);
        if (rc != LDAP_SUCCESS)
            m_connection->fail(rc);
        return ldapraii::Control(raw);
    }

    // Keeps the server's cookie for the next page; false when the search is over.
    bool readCookie(LDAPControl** controls) {
        if (!m_paged || !controls)
            return false;
        LDAPControl* control = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, controls, nullptr);
        if (!control)
            return false;
        ber_int_t estimate = 0;
        berval cookie{0, nullptr};
        if (ldap_parse_pageresponse_control(m_connection->ld(), control, &estimate, &cookie) != LDAP_SUCCESS)
            return false;
        m_cookie = QByteArray(cookie.bv_val, qsizetype(cookie.bv_len));
        ber_memfree(cookie.bv_val);
        return !m_cookie.isEmpty();
    }

    // Reads the rest of every attribute the server cut into ranges ("member;range=0-1499").
    void completeRanges(LdapEntry& entry) {
        for (LdapAttribute& attribute : entry.attributes) {
            std::optional<PlageValeurs> range = AnalysePlage(attribute.name);
            if (!range)
                continue;
            attribute.name = range->attribut;
            while (!range->derniere) {
                range = readNextRange(entry.dn, *range, attribute.values);
                if (!range)
                    break;
            }
        }
    }

    std::optional<PlageValeurs> readNextRange(const QString& dn, const PlageValeurs& previous,
                                              QList<QByteArray>& values) {
        LDAP* ld = m_connection->ld();
        const QByteArray base = dn.toUtf8();
        CStrings attributes({PlageSuivante(previous, m_rangeSize)});
        int msgid = 0;
        const int rc = ldap_search_ext(ld, base.constData(), LDAP_SCOPE_BASE, "(objectClass=*)",
                                       attributes.get(), 0, nullptr, nullptr, nullptr, LDAP_NO_LIMIT, &msgid);
        if (rc != LDAP_SUCCESS)
            m_connection->fail(rc);
        ldapraii::Message answer = m_connection->wait(msgid);
        m_connection->count(&RoundTrips::reads);
        std::optional<PlageValeurs> next;
        for (LDAPMessage* m = ldap_first_message(ld, answer.get()); m; m = ldap_next_message(ld, m)) {
            if (ldap_msgtype(m) == LDAP_RES_SEARCH_RESULT) {
                m_connection->checkResult(m);
                continue;
            }
            if (ldap_msgtype(m) != LDAP_RES_SEARCH_ENTRY)
                continue;
            for (LdapAttribute& a : readEntry(ld, m).attributes) {
                if (std::optional<PlageValeurs> range = TrancheSuivante(previous, a.name)) {
                    values.append(a.values);
                    next = range;
                }
            }
        }
        return next; // nothing further: stop rather than ask again for the same range
    }

    std::shared_ptr<LdapConnection> m_connection;
    SearchRequest m_request;
    QStringList m_attributes;
    int m_rangeSize;
    bool m_paged = true;
    bool m_started = false;
    bool m_done = false;
    QByteArray m_cookie;
    QElapsedTimer m_sent;
};

// Searches sent ahead of their answers, at most maxInFlight at once; the others wait their turn.
// A search's later pages are asked for as soon as the previous one is read.
class LdapBatch : public SearchBatch {
public:
    LdapBatch(std::shared_ptr<LdapConnection> connection, int maxInFlight, int rangeSize)
        : m_connection(std::move(connection))
        , m_maxInFlight(std::max(1, maxInFlight))
        , m_rangeSize(rangeSize) {}

    ~LdapBatch() override { abandonAll(); }
    LdapBatch(const LdapBatch&) = delete;
    LdapBatch& operator=(const LdapBatch&) = delete;

    int start(const SearchRequest& request) override {
        const int ticket = m_nextTicket++;
        m_queued.push_back({ticket, request});
        sendQueued();
        return ticket;
    }

    std::optional<FinishedSearch> next() override {
        while (m_done.empty() && !m_running.empty())
            readOneAnswer();
        if (m_done.empty())
            return std::nullopt;
        FinishedSearch done = std::move(m_done.front());
        m_done.pop_front();
        return done;
    }

    int pending() const override { return int(m_queued.size() + m_running.size() + m_done.size()); }
    bool concurrent() const override { return true; }

private:
    struct Running {
        int ticket = 0;
        std::unique_ptr<LdapCursor> cursor;
        QList<LdapEntry> entries;
    };

    void sendQueued() {
        while (int(m_running.size()) < m_maxInFlight && !m_queued.empty()) {
            auto [ticket, request] = std::move(m_queued.front());
            m_queued.pop_front();
            Running running{ticket, std::make_unique<LdapCursor>(m_connection, request, m_rangeSize), {}};
            try {
                // With nothing under way, a lost connection can still be reopened and bound.
                const int msgid = m_running.empty()
                                      ? m_connection->retrying([&] { return running.cursor->send(); })
                                      : running.cursor->send();
                m_running.emplace(msgid, std::move(running));
            } catch (const LdapError& e) {
                endBatchOnConnectionFailure(e);
                m_done.push_back({ticket, {}, e});
            }
        }
    }

    void readOneAnswer() {
        ldapraii::Message answer;
        try {
            answer = m_connection->wait(LDAP_RES_ANY);
        } catch (const LdapError&) {
            abandonAll();
            throw;
        }
        const auto found = m_running.find(ldap_msgid(answer.get()));
        if (found == m_running.end())
            return; // the answer to a request given up earlier
        Running running = std::move(found->second);
        m_running.erase(found);
        try {
            if (running.cursor->readAnswer(answer.get(), running.entries)) {
                const int msgid = running.cursor->send();
                m_running.emplace(msgid, std::move(running));
                return;
            }
            m_done.push_back({running.ticket, std::move(running.entries), std::nullopt});
        } catch (const LdapError& e) {
            endBatchOnConnectionFailure(e);
            m_done.push_back({running.ticket, {}, e});
        }
        sendQueued();
    }

    // A lost connection or a Stop ends every search, not only the one that met it.
    void endBatchOnConnectionFailure(const LdapError& e) {
        if (e.code() == LDAP_SERVER_DOWN || e.code() == LDAP_USER_CANCELLED || e.code() == LDAP_TIMEOUT ||
            e.code() == LDAP_CONNECT_ERROR) {
            abandonAll();
            throw e;
        }
    }

    void abandonAll() {
        for (const auto& [msgid, running] : m_running)
            ldap_abandon_ext(m_connection->ld(), msgid, nullptr, nullptr);
        m_running.clear();
        m_queued.clear();
    }

    std::shared_ptr<LdapConnection> m_connection;
    int m_maxInFlight;
    int m_rangeSize;
    int m_nextTicket = 0;
    std::deque<std::pair<int, SearchRequest>> m_queued;
    std::map<int, Running> m_running; // by message id
    std::deque<FinishedSearch> m_done;
};

} // namespace

// Writing to a connection the server has closed raises SIGPIPE, whose default action ends the
// program; the write must fail with an error instead (and the connection is then reopened).
static void ignoreBrokenPipes() {
    static const bool done = [] {
        struct sigaction current {};
        if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)done;
}

LdapBackend::LdapBackend(LdapOptions options)
    : m_options(std::move(options)) {
    ignoreBrokenPipes();
}

LdapBackend::~LdapBackend() {
    if (m_connection) {
        m_connection->counters = nullptr;
        m_connection->patience = nullptr;
    }
}

QString LdapBackend::connectedUris() const {
    return m_connection ? m_connection->uris() : QString();
}

QString LdapBackend::address() const {
    return m_connection ? m_connection->uris() : DecoupeUris(m_options.uris).join(u' ');
}

bool LdapBackend::usesTls() const {
    return m_connection && m_connection->tls;
}

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

// A password goes over TLS only: ldaps://, or ldap:// after StartTLS. A server that refuses
// StartTLS or drops the connection on it is sent nothing, unless clear text was allowed for a
// laboratory. A certificate refused is never bypassed. StartTLS is tried whatever the RootDSE
// says: Samba offers it without listing it in supportedExtension.
static void secureForPassword(LdapConnection& connection, bool cleartextAllowed) {
    if (isLdapsOrLdapi(connection.uris()))
        return;
    const int rc = ldap_start_tls_s(connection.ld(), nullptr, nullptr);
    if (rc == LDAP_SUCCESS) {
        connection.tls = true;
        return;
    }
    QString noTls; // why the server offers no TLS
    if (rc == LDAP_CONNECT_ERROR) {
        const QString diagnostic = diagnosticOf(connection.ld());
        if (!closedDuringHandshake(diagnostic))
            throw LdapError(LdapCode::ConnectError, tlsFailureText(connection.uris()));
        noTls = u"StartTLS accepted, then no TLS negotiated: "_s + diagnostic;
    } else if (rc == LDAP_SERVER_DOWN && reachable(connection.uris())) {
        // StartTLS is the session's first request: a server whose port answers dropped the
        // connection on it; one that cannot be reached, or does not answer, is told as such.
        noTls = u"the connection was dropped on StartTLS"_s;
    } else if (rc < 0) {
        connection.fail(rc);
    } else {
        noTls = u"StartTLS refused: "_s + errorText(rc, diagnosticOf(connection.ld()));
    }
    if (!cleartextAllowed)
        failNoTls(connection, noTls);
    // Clear text allowed: the bind goes on a connection of its own when StartTLS cost this one.
    if (rc < 0)
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

int LdapBackend::socketDescriptor() const {
    int descriptor = -1;
    if (m_connection)
        ldap_get_option(m_connection->ld(), LDAP_OPT_DESC, &descriptor);
    return descriptor;
}

std::unique_ptr<SearchCursor> LdapBackend::search(const SearchRequest& request) {
    connection();
    return std::make_unique<LdapCursor>(m_connection, request, m_options.rangeSize);
}

std::unique_ptr<SearchBatch> LdapBackend::searchBatch(int maxInFlight) {
    connection();
    return std::make_unique<LdapBatch>(m_connection, maxInFlight, m_options.rangeSize);
}

// Every change goes one way: sent, then awaited like a search (Stop and the silence timeout
// apply), its result read. A connection the server had closed is reopened before the change is
// sent; one lost while the answer was awaited is not sent the change again: the server may have
// carried it out, and only a read of the object can tell.
template <typename Send>
static void writeChange(LdapConnection& c, RoundTrips& trips, const char* what, const QString& dn,
                        const QString& detail, Send&& send) {
    const int msgid = c.retrying([&] {
        ++trips.writes;
        int id = 0;
        const int rc = send(c.ld(), &id);
        if (rc != LDAP_SUCCESS) {
            logWrite(what, dn, detail, rc);
            c.fail(rc);
        }
        return id;
    });
    try {
        const ldapraii::Message answer = c.wait(msgid);
        c.checkResult(answer.get());
    } catch (const LdapError& e) {
        logWrite(what, dn, detail, e.code());
        throw;
    }
    logWrite(what, dn, detail, LDAP_SUCCESS);
}

void LdapBackend::add(const QString& dn, const QList<LdapAttribute>& attributes) {
    Mods mods;
    for (const LdapAttribute& a : attributes)
        mods.append(LDAP_MOD_ADD, a.name, a.values);
    const QByteArray target = dn.toUtf8();
    writeChange(connection(), m_roundTrips, "add", dn, namesOf(attributes), [&](LDAP* ld, int* msgid) {
        return ldap_add_ext(ld, target.constData(), mods.get(), nullptr, nullptr, msgid);
    });
}

void LdapBackend::modify(const QString& dn, const QList<Modification>& modifications) {
    Mods mods;
    for (const Modification& m : modifications)
        mods.append(modOpOf(m.op), m.attribute, m.values);
    const QByteArray target = dn.toUtf8();
    writeChange(connection(), m_roundTrips, "modify", dn, namesOf(modifications), [&](LDAP* ld, int* msgid) {
        return ldap_modify_ext(ld, target.constData(), mods.get(), nullptr, nullptr, msgid);
    });
}

void LdapBackend::remove(const QString& dn) {
    const QByteArray target = dn.toUtf8();
    writeChange(connection(), m_roundTrips, "delete", dn, {}, [&](LDAP* ld, int* msgid) {
        return ldap_delete_ext(ld, target.constData(), nullptr, nullptr, msgid);
    });
}

void LdapBackend::rename(const QString& dn, const QString& newRdn, const QString& newSuperior) {
    const QByteArray target = dn.toUtf8();
    const QByteArray rdn = newRdn.toUtf8();
    const QByteArray superior = newSuperior.toUtf8();
    const QString detail = u"newrdn=\"%1\" superior=\"%2\""_s.arg(newRdn, newSuperior);
    writeChange(connection(), m_roundTrips, "rename", dn, detail, [&](LDAP* ld, int* msgid) {
        return ldap_rename(ld, target.constData(), rdn.constData(),
                           newSuperior.isEmpty() ? nullptr : superior.constData(), 1, nullptr, nullptr,
                           msgid);
    });
}

// An equality test of one object, made as a base search with the value escaped rather than an
// LDAP compare: Samba builds a filter from a compare's value without escaping it, so a member
// DN holding "(" or "*" compared false there. The search also answers false, not an error, when
// the object has no value at all (an empty group).
bool LdapBackend::compare(const QString& dn, const QString& attribute, const QByteArray& value) {
    LdapConnection& c = connection();
    berval raw = bervalOf(value);
    berval escaped{0, nullptr};
    if (ldap_bv2escaped_filter_value(&raw, &escaped) != 0)
        raise(LDAP_NO_MEMORY, {});
    const QByteArray filter =
        "(" + attribute.toUtf8() + "=" + QByteArray(escaped.bv_val, qsizetype(escaped.bv_len)) + ")";
    ber_memfree(escaped.bv_val);
    const QByteArray target = dn.toUtf8();
    char noAttributes[] = LDAP_NO_ATTRS;
    char* attributes[] = {noAttributes, nullptr};
    return c.retrying([&] {
        int msgid = 0;
        ++m_roundTrips.reads;
        const int rc = ldap_search_ext(c.ld(), target.constData(), LDAP_SCOPE_BASE, filter.constData(),
                                       attributes, 0, nullptr, nullptr, nullptr, 1, &msgid);
        if (rc != LDAP_SUCCESS)
            c.fail(rc);
        ldapraii::Message answer = c.wait(msgid);
        bool found = false;
        for (LDAPMessage* m = ldap_first_message(c.ld(), answer.get()); m; m = ldap_next_message(c.ld(), m)) {
            if (ldap_msgtype(m) == LDAP_RES_SEARCH_ENTRY)
                found = true;
            else if (ldap_msgtype(m) == LDAP_RES_SEARCH_RESULT)
                c.checkResult(m);
        }
        return found;
    });
}

} // namespace arbrix
