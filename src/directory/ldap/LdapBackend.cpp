#include "directory/ldap/LdapBackend.h"

#include "directory/ldap/LdapConnection.h"
#include "directory/ldap/LdapDiscovery.h"
#include "directory/ldap/LdapSearch.h"
#include "text/Journal.h"

#include <csignal>
#include <vector>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

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

int LdapBackend::socketDescriptor() const {
    int descriptor = -1;
    if (m_connection)
        ldap_get_option(m_connection->ld(), LDAP_OPT_DESC, &descriptor);
    return descriptor;
}

std::unique_ptr<SearchCursor> LdapBackend::search(const SearchRequest& request) {
    connection();
    return makeLdapCursor(m_connection, request, m_options.rangeSize);
}

std::unique_ptr<SearchBatch> LdapBackend::searchBatch(int maxInFlight) {
    connection();
    return makeLdapBatch(m_connection, maxInFlight, m_options.rangeSize);
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
