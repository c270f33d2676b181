#include "directory/memory/MemoryDirectory.h"

#include "directory/memory/MemoryCommon.h"

using namespace Qt::StringLiterals;

namespace arbrix {

void MemoryDirectory::link(MemEntry& group) {
    for (const QString& m : std::as_const(group.memberNdns))
        m_memberOf[m] += group.ndn;
}

void MemoryDirectory::unlink(MemEntry& group) {
    for (const QString& m : std::as_const(group.memberNdns)) {
        auto it = m_memberOf.find(m);
        if (it == m_memberOf.end())
            continue;
        it->removeAll(group.ndn);
        if (it->isEmpty())
            m_memberOf.erase(it);
    }
}

// The DN as the directory spells it, in UTF-8: the entry's own "distinguishedName" value, so that
// the groups listing it share it.
QByteArray MemoryDirectory::spelling(const MemEntry& entry) {
    // Looked for from the end, where completing the entry put it.
    QByteArray stored;
    for (auto a = entry.attributes.crbegin(); a != entry.attributes.crend(); ++a) {
        if (sameName(a->name, u"distinguishedName")) {
            stored = a->values.value(0);
            break;
        }
    }
    return stored.isEmpty() ? entry.dn.toUtf8() : stored;
}

// Stores a group's members as the directory spells them; every member must exist.
void MemoryDirectory::setMembers(MemEntry& group, const QList<QByteArray>& values, bool check) {
    unlink(group);
    group.memberNdns.clear();
    QList<QByteArray> spelt;
    for (const QByteArray& v : values) {
        const QString text = QString::fromUtf8(v);
        MemEntry* member = find(text);
        if (!member && check)
            fail(LdapCode::NoSuchObject, noSuchObject(text));
        const QString ndn = member ? member->ndn : DnNormalise(text);
        if (group.memberNdns.contains(ndn))
            continue;
        group.memberNdns.insert(ndn);
        spelt += member ? spelling(*member) : v;
    }
    group.set(u"member"_s, spelt);
    link(group);
}

} // namespace arbrix
