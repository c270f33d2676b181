#include "directory/memory/MemoryDirectory.h"

#include "directory/Classification.h"
#include "directory/Sid.h"
#include "directory/Values.h"
#include "directory/memory/MemoryCommon.h"
#include "directory/memory/MemorySpelling.h"

#include <QCryptographicHash>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace arbrix {

QString MemoryDirectory::categoryDn(const QString& rdnValue) const {
    return u"CN="_s + rdnValue + u",CN=Schema,CN=Configuration,"_s + m_namingContext;
}

QByteArray MemoryDirectory::nextSid() {
    while (m_usedRids.contains(m_nextRid))
        ++m_nextRid;
    m_usedRids.insert(m_nextRid);
    return SidAvecRid(m_domainSid, m_nextRid++);
}

// Entries of a kind give the same classes: the chain and the default category are worked out
// once per list of classes.
const MemoryDirectory::ClassChain& MemoryDirectory::classChain(const QList<QByteArray>& values) {
    auto it = m_classChains.constFind(values);
    if (it != m_classChains.constEnd())
        return *it;
    QStringList given;
    for (const QByteArray& v : values)
        given += QString::fromUtf8(v).trimmed();
    ClassChain chain;
    chain.classes = ChaineClasses(given);
    for (const QString& c : std::as_const(chain.classes))
        chain.values += shared(c.toUtf8());
    chain.defaultCategory =
        shared(categoryDn(CategorieParDefaut(ClasseStructurelle(chain.classes))).toUtf8());
    return *m_classChains.insert(values, chain);
}

QString MemoryDirectory::checkUniqueAccountName(const MemEntry& entry, const QByteArray& name) const {
    QString key = fold(name);
    const QString owner = m_accountNames.value(key);
    if (!owner.isEmpty() && owner != entry.ndn)
        fail(LdapCode::EntryAlreadyExists,
             u"00000524: UpdErr: DSID-031A1262, problem 6005 (ENTRY_EXISTS), data 0: sAMAccountName "_s +
                 QString::fromUtf8(name));
    return key;
}

// The values a domain controller sets itself: class chain, naming attributes, category, SID,
// account defaults.
void MemoryDirectory::complete(MemEntry& e) {
    const LdapAttribute* classes = e.find(u"objectClass");
    if (!classes || classes->values.isEmpty())
        fail(LdapCode::ObjectClassViolation, u"00002014: objectclass violation: no objectClass"_s);
    const ClassChain& chain = classChain(classes->values);
    QStringView type, value;
    std::optional<Rdn> leaf;
    if (!plainLeaf(e.dn, type, value)) {
        leaf = firstRdn(e.dn);
        type = leaf->attributes.first().type;
        value = leaf->attributes.first().value;
    }
    const QString rdnType = lowerName(type);
    // Room for the values set below, given back at the end: a loaded file's entries are completed
    // one after the other, so that the spare room is never held by all of them at once.
    e.attributes.reserve(e.attributes.size() + 12);
    const auto squeeze = qScopeGuard([&] { e.attributes.squeeze(); });
    e.classes = chain.classes;
    e.set(u"objectClass"_s, chain.values);

    // The file's own value, kept rather than copied; one list for the naming attribute and "name".
    const LdapAttribute* named = e.find(rdnType);
    const QByteArray given = named ? named->values.value(0) : QByteArray();
    const bool spelt = named && isSpelling(given, value);
    const QList<QByteArray> rdnValues = spelt && named->values.size() == 1
                                            ? named->values
                                            : QList<QByteArray>{spelt ? given : value.toUtf8()};
    e.set(rdnType, rdnValues);
    e.set(u"name"_s, rdnValues);
    e.set(u"distinguishedName"_s, {e.dn.toUtf8()});

    QString category = QString::fromUtf8(e.first(u"objectCategory"));
    if (!category.isEmpty() && !category.contains(u'='))
        category =
            categoryDn(CategorieDuNomCourt(category).isEmpty() ? category : CategorieDuNomCourt(category));
    const QByteArray categoryValue = category.isEmpty() ? chain.defaultCategory : shared(category.toUtf8());
    e.set(u"objectCategory"_s, sharedList(categoryValue));
    auto known = m_categoryNdns.constFind(categoryValue);
    if (known == m_categoryNdns.constEnd())
        known = m_categoryNdns.insert(categoryValue, DnNormalise(QString::fromUtf8(categoryValue)));
    e.categoryNdn = *known;

    if (e.find(u"objectGUID") == nullptr)
        e.set(u"objectGUID"_s, {QCryptographicHash::hash(e.ndn.toUtf8(), QCryptographicHash::Md5)});

    const bool account = EstClasseCompte(e.classes);
    const bool group = EstClasseGroupe(e.classes);
    if (!account && !group)
        return;
    QByteArray sid = e.first(u"objectSid");
    if (sid.startsWith("S-"))
        sid = SidDepuisTexte(sid);
    if (sid.isEmpty())
        sid = nextSid();
    e.set(u"objectSid"_s, {sid});
    if (e.first(u"sAMAccountName").isEmpty()) {
        const QByteArray h =
            QCryptographicHash::hash(e.ndn.toUtf8(), QCryptographicHash::Sha1).toHex().toUpper();
        e.set(u"sAMAccountName"_s, {"$" + h.left(6) + "-" + h.mid(6, 12)});
    }
    if (group) {
        if (e.first(u"groupType").isEmpty())
            e.set(u"groupType"_s, sharedList("-2147483646"_ba));
        const qint32 groupType = qint32(number(e.first(u"groupType")));
        const bool security = groupType < 0;
        const qint64 samType =
            (groupType & 4) ? (security ? 536870912 : 536870913) : (security ? 268435456 : 268435457);
        e.set(u"sAMAccountType"_s, sharedList(QByteArray::number(samType)));
        return;
    }
    const bool computer = EstClasseOrdinateur(e.classes);
    const bool managed = ContientNom(e.classes, u"msDS-GroupManagedServiceAccount") ||
                         ContientNom(e.classes, u"msDS-ManagedServiceAccount");
    if (e.first(u"primaryGroupID").isEmpty())
        e.set(u"primaryGroupID"_s, sharedList(computer ? "515"_ba : "513"_ba));
    if (e.first(u"userAccountControl").isEmpty())
        e.set(u"userAccountControl"_s, sharedList(managed ? "4130"_ba : computer ? "4128"_ba : "546"_ba));
    if (e.first(u"accountExpires").isEmpty())
        e.set(u"accountExpires"_s, sharedList(QByteArray::number(FiletimeJamais)));
    e.set(u"sAMAccountType"_s, sharedList(computer ? "805306369"_ba : "805306368"_ba));
}

void MemoryDirectory::synthesizeMissing() {
    const QString nc = m_namingContext;
    struct Default {
        QString rdn;
        QList<LdapAttribute> attributes;
    };
    const auto attrs = [](std::initializer_list<std::pair<const char*, QByteArray>> list) {
        QList<LdapAttribute> out;
        for (const auto& [name, value] : list)
            out += LdapAttribute{QString::fromLatin1(name), {value}};
        return out;
    };
    const auto sidWithRid = [&](quint32 rid) { return SidAvecRid(m_domainSid, rid); };
    const QList<Default> defaults = {
        {QString(), attrs({{"objectClass", "domainDNS"}, {"objectSid", m_domainSid}})},
        {u"CN=Users"_s, attrs({{"objectClass", "container"}})},
        {u"CN=Computers"_s, attrs({{"objectClass", "container"}})},
        {u"CN=Builtin"_s, attrs({{"objectClass", "builtinDomain"}})},
        {u"OU=Domain Controllers"_s, attrs({{"objectClass", "organizationalUnit"}})},
        {u"CN=Administrator,CN=Users"_s, attrs({{"objectClass", "user"},
                                                {"sAMAccountName", "Administrator"},
                                                {"objectSid", sidWithRid(500)},
                                                {"userAccountControl", "66048"}})},
        {u"CN=Domain Admins,CN=Users"_s, attrs({{"objectClass", "group"},
                                                {"sAMAccountName", "Domain Admins"},
                                                {"objectSid", sidWithRid(512)},
                                                {"member", "CN=Administrator,CN=Users," + nc.toUtf8()}})},
        {u"CN=Domain Users,CN=Users"_s,
         attrs(
             {{"objectClass", "group"}, {"sAMAccountName", "Domain Users"}, {"objectSid", sidWithRid(513)}})},
        {u"CN=Domain Computers,CN=Users"_s, attrs({{"objectClass", "group"},
                                                   {"sAMAccountName", "Domain Computers"},
                                                   {"objectSid", sidWithRid(515)}})},
    };
    for (const Default& d : defaults) {
        const Dn dn = *Dn::parse(d.rdn.isEmpty() ? nc : d.rdn + u',' + nc);
        if (m_entries.contains(dn.normalized()))
            continue;
        // A domain object the file left out: made as provisioning makes it.
        EntryPtr e = insert(dn, d.attributes, 0);
        e->sequence = -1000 + e->sequence; // before the file's entries
    }
}

} // namespace arbrix
