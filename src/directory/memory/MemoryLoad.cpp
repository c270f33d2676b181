#include "directory/memory/MemoryDirectory.h"

#include "directory/Classification.h"
#include "directory/Sid.h"
#include "directory/memory/MemoryBackend.h"
#include "directory/memory/MemoryCommon.h"
#include "directory/memory/MemorySpelling.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

void MemoryDirectory::load(QList<LdifRecord> records, const QString& source) {
    // The naming context: the DC= components of the first entry.
    QString ncNdn;
    // Each record's DN parsed once: normalised, and as the directory spells it.
    QList<QString> ndns;
    QList<QString> dns;
    ndns.reserve(records.size());
    dns.reserve(records.size());
    QString spelling;
    for (const LdifRecord& r : records) {
        if (m_namingContext.isEmpty() || !plainCanonicalDn(r.dn, spelling)) {
            const std::optional<Dn> dn = Dn::parse(r.dn);
            if (!dn || dn->isEmpty())
                throw LdifError(source, r.line, u"invalid DN \""_s + r.dn + u"\""_s);
            if (m_namingContext.isEmpty()) {
                m_namingContext = namingContextOf(*dn);
                if (m_namingContext.isEmpty())
                    throw LdifError(source, r.line, u"the DN has no DC= components naming the domain"_s);
            }
            spelling = canonicalDn(*dn);
        }
        const QString ndn = DnNormalise(r.dn);
        ndns += ndn;
        dns += r.kind == LdifRecord::Kind::Add ? spelling : QString();
        if (ncNdn.isEmpty())
            ncNdn = Dn::parse(m_namingContext)->normalized();
        if (!isAtOrBelow(ndn, ncNdn))
            throw LdifError(source, r.line, u"the entry lies outside the domain "_s + m_namingContext);
        for (const LdapAttribute& a : r.attributes) {
            if (a.name.compare(u"objectSid", Qt::CaseInsensitive) == 0 && !a.values.isEmpty()) {
                const QByteArray sid =
                    a.values.first().startsWith("S-") ? SidDepuisTexte(a.values.first()) : a.values.first();
                if (ndn == ncNdn)
                    m_domainSid = sid;
                else if (const std::optional<quint32> rid = RidDepuisSid(sid))
                    m_usedRids.insert(*rid);
            }
        }
    }
    if (m_namingContext.isEmpty())
        throw LdifError(source, 1, u"the file holds no entry"_s);
    if (m_domainSid.isEmpty()) {
        const QByteArray h =
            QCryptographicHash::hash(m_namingContext.toLower().toUtf8(), QCryptographicHash::Sha1);
        const quint32 a = qFromLittleEndian<quint32>(h.constData()) % 1000000000u;
        const quint32 b = qFromLittleEndian<quint32>(h.constData() + 4) % 1000000000u;
        const quint32 c = qFromLittleEndian<quint32>(h.constData() + 8) % 1000000000u;
        m_domainSid = SidDepuisTexte(QStringLiteral("S-1-5-21-%1-%2-%3").arg(a).arg(b).arg(c).toUtf8());
    }

    // Records are applied in order, checks that need the whole file come after.
    m_entries.reserve(records.size() + 16);
    m_accountNames.reserve(records.size() + 16);
    for (qsizetype i = 0; i < records.size(); ++i) {
        LdifRecord& r = records[i];
        try {
            switch (r.kind) {
            case LdifRecord::Kind::Add: {
                if (m_entries.contains(ndns[i]))
                    fail(LdapCode::EntryAlreadyExists, u"the entry exists already"_s);
                // Moved, not shared: completing the entry would otherwise copy them.
                EntryPtr e =
                    insert(std::exchange(dns[i], {}), ndns[i], std::exchange(r.attributes, {}), r.line);
                e->readOnly = r.readOnly;
                break;
            }
            case LdifRecord::Kind::Modify: {
                MemEntry& e = existing(r.dn);
                for (const Modification& m : r.modifications) {
                    QList<QByteArray> current =
                        e.find(m.attribute) ? e.find(m.attribute)->values : QList<QByteArray>();
                    if (m.op == ModOp::Replace)
                        current = m.values;
                    else if (m.op == ModOp::Add)
                        current += m.values;
                    else if (m.values.isEmpty())
                        current.clear();
                    else
                        for (const QByteArray& v : m.values)
                            current.removeAll(v);
                    e.set(m.attribute, current);
                }
                e.readOnly = e.readOnly || r.readOnly;
                break;
            }
            case LdifRecord::Kind::Delete:
                existing(r.dn);
                m_entries.remove(ndns[i]);
                break;
            }
        } catch (const LdapError& e) {
            throw LdifError(source, r.line, e.message());
        }
    }
    records = {};
    ndns = {};
    dns = {};
    synthesizeMissing();
    m_derivedValid = false;

    // Parents, then every entry's computed values, then the member links.
    QList<MemEntry*> ordered;
    for (const EntryPtr& e : std::as_const(m_entries))
        ordered += e.get();
    std::sort(ordered.begin(), ordered.end(),
              [](MemEntry* a, MemEntry* b) { return a->sequence < b->sequence; });
    for (MemEntry* e : ordered) {
        if (e->ndn == ncNdn)
            continue;
        MemEntry* parent = findNormalized(e->parentNdn);
        if (!parent)
            throw LdifError(source, e->line, u"the parent of "_s + e->dn + u" does not exist"_s);
        parent->children += e;
    }
    for (MemEntry* e : ordered) {
        try {
            complete(*e);
            if (EstClasseCompte(e->classes) || EstClasseGroupe(e->classes)) {
                m_accountNames.insert(checkUniqueAccountName(*e, e->first(u"sAMAccountName")), e->ndn);
            }
        } catch (const LdapError& error) {
            throw LdifError(source, e->line, error.message());
        }
    }
    for (MemEntry* e : ordered) {
        if (const LdapAttribute* member = e->find(u"member")) {
            try {
                const QList<QByteArray> values = member->values;
                setMembers(*e, values, true);
            } catch (const LdapError& error) {
                throw LdifError(source, e->line, error.message());
            }
        }
        e->erase(u"memberOf"); // computed from the groups, never stored
        e->attributes.squeeze();
    }
}

void MemoryDirectory::setParentNdn(MemEntry& e) const {
    const QStringView parentNdn = parentOfNormalized(e.ndn);
    // Looked up over the entry's own text; the parent's string is kept, one for all the children.
    if (const MemEntry* parent = findNormalized(QString::fromRawData(parentNdn.data(), parentNdn.size())))
        e.parentNdn = parent->ndn;
    else
        e.parentNdn = parentNdn.toString();
}

QByteArray MemoryDirectory::shared(const QByteArray& value) {
    auto it = m_sharedValues.constFind(value);
    if (it == m_sharedValues.constEnd())
        it = m_sharedValues.insert(value, value);
    return *it;
}

QList<QByteArray> MemoryDirectory::sharedList(const QByteArray& value) {
    auto it = m_sharedLists.constFind(value);
    if (it == m_sharedLists.constEnd())
        it = m_sharedLists.insert(value, {shared(value)});
    return *it;
}

EntryPtr MemoryDirectory::insert(const Dn& dn, QList<LdapAttribute> attributes, int line) {
    return insert(canonicalDn(dn), dn.normalized(), std::move(attributes), line);
}

EntryPtr MemoryDirectory::insert(QString dn, const QString& ndn, QList<LdapAttribute> attributes, int line) {
    auto e = std::make_shared<MemEntry>();
    e->dn = std::move(dn);
    e->ndn = ndn;
    setParentNdn(*e);
    e->attributes = std::move(attributes);
    e->sequence = ++m_sequence;
    e->line = line;
    m_entries.insert(e->ndn, e);
    return e;
}

} // namespace arbrix
