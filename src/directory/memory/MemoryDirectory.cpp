#include "directory/memory/MemoryDirectory.h"

#include "directory/Classification.h"
#include "directory/Values.h"
#include "directory/memory/MemoryCommon.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

const LdapAttribute* MemEntry::find(QStringView name) const {
    for (const LdapAttribute& a : attributes) {
        if (sameName(a.name, name))
            return &a;
    }
    return nullptr;
}

LdapAttribute* MemEntry::find(QStringView name) {
    for (LdapAttribute& a : attributes) {
        if (sameName(a.name, name))
            return &a;
    }
    return nullptr;
}

QByteArray MemEntry::first(QStringView name) const {
    const LdapAttribute* a = find(name);
    return a && !a->values.isEmpty() ? a->values.first() : QByteArray();
}

void MemEntry::set(const QString& name, const QList<QByteArray>& values) {
    if (values.isEmpty()) {
        erase(name);
        return;
    }
    if (LdapAttribute* a = find(name))
        a->values = values;
    else
        attributes += LdapAttribute{name, values};
}

void MemEntry::erase(QStringView name) {
    attributes.removeIf([&](const LdapAttribute& a) { return sameName(a.name, name); });
}

MemoryDirectory::~MemoryDirectory() {
    // Entries released in the order they were made, close to their order in memory, rather than
    // in the index's order: a large directory goes several times faster.
    std::vector<EntryPtr> entries;
    entries.reserve(m_entries.size());
    for (EntryPtr& e : m_entries)
        entries.push_back(std::move(e));
    m_entries.clear();
    std::sort(entries.begin(), entries.end(),
              [](const EntryPtr& a, const EntryPtr& b) { return a->sequence < b->sequence; });
}

QString MemoryDirectory::dnsDomain() const {
    return NomDnsDepuisDn(m_namingContext);
}

QString MemoryDirectory::netbiosName() const {
    return dnsDomain().section(u'.', 0, 0).toUpper();
}

MemEntry* MemoryDirectory::findNormalized(const QString& ndn) const {
    const auto it = m_entries.constFind(ndn);
    return it == m_entries.constEnd() ? nullptr : it->get();
}

MemEntry* MemoryDirectory::find(const QString& dn) const {
    return findNormalized(DnNormalise(dn));
}

MemEntry& MemoryDirectory::existing(const QString& dn) const {
    MemEntry* e = find(dn);
    if (!e)
        fail(LdapCode::NoSuchObject, noSuchObject(dn));
    return *e;
}

void MemoryDirectory::authenticate(const QString& login, const QString& password) const {
    const auto refused = [](const char* data) {
        fail(LdapCode::InvalidCredentials,
             u"80090308: LdapErr: DSID-0C09044E, comment: AcceptSecurityContext error, data "_s +
                 QString::fromLatin1(data) + u", v4563"_s);
    };
    const MemEntry* account = nullptr;
    if (login.contains(u'=')) {
        account = find(login);
    } else {
        QString sam = login;
        bool byPrincipal = false;
        if (const qsizetype slash = login.indexOf(u'\\'); slash >= 0) {
            const QString domain = login.left(slash);
            if (domain.compare(netbiosName(), Qt::CaseInsensitive) != 0 &&
                domain.compare(dnsDomain(), Qt::CaseInsensitive) != 0)
                refused("52e");
            sam = login.mid(slash + 1);
        } else if (const qsizetype at = login.lastIndexOf(u'@'); at >= 0) {
            byPrincipal = true;
            for (const EntryPtr& e : m_entries) {
                if (QString::fromUtf8(e->first(u"userPrincipalName")).compare(login, Qt::CaseInsensitive) ==
                    0) {
                    account = e.get();
                    break;
                }
            }
            if (!account && login.mid(at + 1).compare(dnsDomain(), Qt::CaseInsensitive) == 0) {
                sam = login.left(at);
                byPrincipal = false;
            }
        }
        if (!account && !byPrincipal)
            account = findNormalized(m_accountNames.value(fold(sam.toUtf8())));
    }
    if (!account || !EstClasseCompte(account->classes) || password.isEmpty())
        refused("52e");
    const QByteArray stored = account->first(u"unicodePwd");
    if (!stored.isEmpty()) {
        QString expected =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(stored.constData()), stored.size() / 2);
        if (expected.startsWith(u'"') && expected.endsWith(u'"') && expected.size() >= 2)
            expected = expected.mid(1, expected.size() - 2);
        if (expected != password)
            refused("52e");
    }
    const qint64 control = number(account->first(u"userAccountControl"));
    if (control & 2)
        refused("533");
    if (number(account->first(u"lockoutTime")) > 0 ||
        (number(account->first(u"msDS-User-Account-Control-Computed")) & 0x10))
        refused("775");
    const qint64 expires = number(account->first(u"accountExpires"));
    if (expires > 0 && expires != FiletimeJamais &&
        DateDepuisFiletime(expires) <= QDateTime::currentDateTime())
        refused("701");
}

} // namespace arbrix
