#include "directory/ldap/LdapSearch.h"

#include "directory/ldap/LdapRange.h"
#include "text/Journal.h"

#include <QElapsedTimer>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

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
        // A scoped query goes unpaged: paging doubles what the server spends on each (Samba's
        // paging module), and few groups hold more members than a page. A server that caps an
        // unpaged answer says so, and that group is asked again page by page.
        m_paged = m_request.scope != SearchScope::Base && !m_request.unpagedFirst;
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
            if (!pageAfterCap(e))
                throw;
            out.resize(before);
            return true;
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
    // An unpaged scoped query that the server refused as too large (sizeLimitExceeded, or Active
    // Directory's adminLimitExceeded past MaxPageSize) becomes a paged one, from the start.
    bool pageAfterCap(const LdapError& e) {
        if (m_paged || (m_request.scopedAttribute.isEmpty() && !m_request.unpagedFirst) ||
            (e.code() != LDAP_SIZELIMIT_EXCEEDED && e.code() != LDAP_ADMINLIMIT_EXCEEDED))
            return false;
        m_paged = true;
        m_done = false;
        m_cookie.clear();
        qCInfo(lcAnnuaire).noquote() << describe() << "-> too large unpaged, asked again page by page";
        return true;
    }

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

std::unique_ptr<SearchCursor> makeLdapCursor(std::shared_ptr<LdapConnection> connection,
                                             const SearchRequest& request, int rangeSize) {
    return std::make_unique<LdapCursor>(std::move(connection), request, rangeSize);
}

std::unique_ptr<SearchBatch> makeLdapBatch(std::shared_ptr<LdapConnection> connection, int maxInFlight,
                                           int rangeSize) {
    return std::make_unique<LdapBatch>(std::move(connection), maxInFlight, rangeSize);
}

} // namespace arbrix
