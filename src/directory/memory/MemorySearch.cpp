#include "directory/memory/MemoryDirectory.h"

#include "directory/Classification.h"
#include "directory/memory/MemoryCommon.h"
#include "directory/memory/MemoryMatcher.h"
#include "directory/memory/MemorySpelling.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

LdapEntry MemoryDirectory::rootDse(const QStringList& attributes) const {
    const QString dnsHost = u"dc1."_s + dnsDomain();
    const QList<LdapAttribute> all = {
        {u"defaultNamingContext"_s, {m_namingContext.toUtf8()}},
        {u"rootDomainNamingContext"_s, {m_namingContext.toUtf8()}},
        {u"configurationNamingContext"_s, {(u"CN=Configuration,"_s + m_namingContext).toUtf8()}},
        {u"schemaNamingContext"_s, {(u"CN=Schema,CN=Configuration,"_s + m_namingContext).toUtf8()}},
        {u"namingContexts"_s,
         {m_namingContext.toUtf8(), (u"CN=Configuration,"_s + m_namingContext).toUtf8(),
          (u"CN=Schema,CN=Configuration,"_s + m_namingContext).toUtf8()}},
        {u"dnsHostName"_s, {dnsHost.toUtf8()}},
        {u"ldapServiceName"_s, {(dnsDomain() + u":dc1$@"_s + dnsDomain().toUpper()).toUtf8()}},
        {u"supportedLDAPVersion"_s, {"3", "2"}},
        {u"supportedControl"_s, {"1.2.840.113556.1.4.319", AttributeScopedQueryOid}},
        {u"supportedSASLMechanisms"_s, {"GSSAPI", "GSS-SPNEGO"}},
        {u"isGlobalCatalogReady"_s, {"TRUE"}},
    };
    LdapEntry entry;
    const bool everything =
        attributes.isEmpty() || attributes.contains(u"*"_s) || attributes.contains(u"+"_s);
    for (const LdapAttribute& a : all) {
        if (everything || TableauContient(attributes, a.name))
            entry.attributes += a;
    }
    return entry;
}

LdapEntry MemoryDirectory::materialize(const MemEntry& e, const QStringList& attributes) const {
    LdapEntry out;
    out.dn = e.dn;
    if (attributes == QStringList{u"1.1"_s})
        return out;
    const Matcher matcher(*this, m_memberOf);
    const bool everything = attributes.isEmpty() || attributes.contains(u"*"_s);
    out.attributes.reserve(everything ? e.attributes.size() + attributes.size() : attributes.size());
    if (everything) {
        for (const LdapAttribute& a : e.attributes) {
            if (!isOneOf(a.name, {u"unicodePwd", u"msDS-User-Account-Control-Computed"}))
                out.attributes += a;
        }
        const QList<QByteArray> memberOf = matcher.values(e, u"memberOf");
        if (!memberOf.isEmpty())
            out.attributes += LdapAttribute{u"memberOf"_s, memberOf};
    }
    for (const QString& name : attributes) {
        if (name == u"*"_s || out.find(name))
            continue;
        const QList<QByteArray> vs = matcher.values(e, name);
        if (vs.isEmpty())
            continue;
        const LdapAttribute* stored = e.find(name);
        out.attributes += LdapAttribute{stored ? stored->name : name, vs};
    }
    return out;
}

// The objects an attribute of entry names, in the order they were made (as the members found
// through memberOf are listed).
QList<MemEntry*> MemoryDirectory::scopedTargets(const MemEntry& entry, const QString& attribute) const {
    QList<MemEntry*> targets;
    if (sameName(attribute, u"member")) {
        for (const QString& m : entry.memberNdns) {
            if (MemEntry* e = findNormalized(m))
                targets += e;
        }
    } else if (const LdapAttribute* a = entry.find(attribute)) {
        for (const QByteArray& v : a->values) {
            if (MemEntry* e = find(QString::fromUtf8(v)))
                targets += e;
        }
    }
    std::sort(targets.begin(), targets.end(),
              [](MemEntry* a, MemEntry* b) { return a->sequence < b->sequence; });
    return targets;
}

std::vector<EntryPtr> MemoryDirectory::search(const SearchRequest& request) const {
    const std::optional<FilterNode> filter = ParseFilter(request.filter);
    if (!filter)
        fail(LdapCode::FilterError, u"Bad search filter"_s);
    const MemEntry* base = find(request.base);
    if (!base)
        fail(LdapCode::NoSuchObject, noSuchObject(request.base));
    const PreparedFilter prepared = prepare(*filter, m_namingContext);
    const Matcher matcher(*this, m_memberOf);
    std::vector<EntryPtr> out;
    if (!request.scopedAttribute.isEmpty()) {
        if (request.scope != SearchScope::Base)
            fail(LdapCode::UnwillingToPerform, u"An attribute scoped query must have a base scope"_s);
        for (MemEntry* e : scopedTargets(*base, request.scopedAttribute)) {
            if (!e->deleted && matcher.matches(prepared, *e))
                out.push_back(m_entries.value(e->ndn));
        }
        return out;
    }
    const auto inScope = [&](const MemEntry& e) {
        switch (request.scope) {
        case SearchScope::Base:
            return e.ndn == base->ndn;
        case SearchScope::OneLevel:
            return e.parentNdn == base->ndn;
        case SearchScope::Subtree:
            return isAtOrBelow(e.ndn, base->ndn);
        }
        return false;
    };
    const auto consider = [&](MemEntry* e) {
        if (e && !e->deleted && inScope(*e) && matcher.matches(prepared, *e))
            out.push_back(m_entries.value(e->ndn));
    };

    // An equality on memberOf or on the DN inside the top "and" names the only candidates.
    const PreparedFilter* key = nullptr;
    const QList<PreparedFilter> top =
        prepared.kind == FilterNode::Kind::And ? prepared.children : QList<PreparedFilter>{prepared};
    for (const PreparedFilter& p : top) {
        if (p.kind == FilterNode::Kind::Equality &&
            isOneOf(p.attribute, {u"memberOf", u"distinguishedName", u"dn"})) {
            key = &p;
            break;
        }
    }
    if (key && key->attribute.compare(u"memberOf", Qt::CaseInsensitive) == 0) {
        const MemEntry* group = findNormalized(key->ndn);
        if (!group)
            return out;
        QList<MemEntry*> candidates;
        for (const QString& m : group->memberNdns) {
            if (MemEntry* e = findNormalized(m))
                candidates += e;
        }
        std::sort(candidates.begin(), candidates.end(),
                  [](MemEntry* a, MemEntry* b) { return a->sequence < b->sequence; });
        for (MemEntry* e : candidates)
            consider(e);
        return out;
    }
    if (key) {
        consider(findNormalized(key->ndn));
        return out;
    }
    if (request.scope == SearchScope::Base) {
        consider(const_cast<MemEntry*>(base));
        return out;
    }
    // An equality on primaryGroupID, or an "or" of indexed equalities ("members of a group and
    // the accounts whose primary group it is"), inside the top "and": its candidates only, in
    // the order of the walk below.
    for (const PreparedFilter& p : top) {
        std::vector<MemEntry*> candidates;
        if (request.scope != SearchScope::Subtree || !indexedCandidates(p, candidates))
            continue;
        refreshDerived();
        std::sort(candidates.begin(), candidates.end(),
                  [](MemEntry* a, MemEntry* b) { return a->rank < b->rank; });
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        for (MemEntry* e : candidates)
            consider(e);
        return out;
    }
    if (request.scope == SearchScope::OneLevel) {
        for (MemEntry* child : base->children)
            consider(child);
        return out;
    }
    QList<MemEntry*> stack{const_cast<MemEntry*>(base)};
    while (!stack.isEmpty()) {
        MemEntry* e = stack.takeLast();
        consider(e);
        for (qsizetype i = e->children.size() - 1; i >= 0; --i)
            stack += e->children[i];
    }
    return out;
}

// The entries an equality on primaryGroupID, memberOf or the DN can match, or an "or" of such
// terms; false when the term is of another kind.
bool MemoryDirectory::indexedCandidates(const PreparedFilter& p, std::vector<MemEntry*>& out) const {
    if (p.kind == FilterNode::Kind::Or && !p.children.isEmpty()) {
        for (const PreparedFilter& c : p.children) {
            if (c.kind == FilterNode::Kind::Or || !indexedCandidates(c, out))
                return false;
        }
        return true;
    }
    if (p.kind != FilterNode::Kind::Equality)
        return false;
    if (sameName(p.attribute, u"primaryGroupID") && p.syntax == SyntaxeAttribut::Entier32) {
        refreshDerived();
        const auto it = m_byPrimaryGroup.constFind(qint32(p.number));
        if (it != m_byPrimaryGroup.constEnd())
            out.insert(out.end(), it->begin(), it->end());
        return true;
    }
    if (sameName(p.attribute, u"memberOf")) {
        if (const MemEntry* group = findNormalized(p.ndn)) {
            for (const QString& m : group->memberNdns) {
                if (MemEntry* e = findNormalized(m))
                    out.push_back(e);
            }
        }
        return true;
    }
    if (isOneOf(p.attribute, {u"distinguishedName", u"dn"})) {
        if (MemEntry* e = findNormalized(p.ndn))
            out.push_back(e);
        return true;
    }
    return false;
}

// The walk order of the tree and the primaryGroupID index, rebuilt after changes when a search
// needs them.
void MemoryDirectory::refreshDerived() const {
    if (m_derivedValid)
        return;
    m_byPrimaryGroup.clear();
    qint64 rank = 0;
    QList<MemEntry*> stack;
    if (MemEntry* root = findNormalized(DnNormalise(m_namingContext)))
        stack += root;
    while (!stack.isEmpty()) {
        MemEntry* e = stack.takeLast();
        e->rank = ++rank;
        if (const LdapAttribute* a = e->find(u"primaryGroupID")) {
            for (const QByteArray& v : a->values)
                m_byPrimaryGroup[qint32(number(v))] += e;
        }
        for (qsizetype i = e->children.size() - 1; i >= 0; --i)
            stack += e->children[i];
    }
    m_derivedValid = true;
}

bool MemoryDirectory::compare(const QString& dn, const QString& attribute, const QByteArray& value) const {
    const MemEntry& e = existing(dn);
    FilterNode node;
    node.kind = FilterNode::Kind::Equality;
    node.attribute = attribute;
    node.value = value;
    return Matcher(*this, m_memberOf).matches(prepare(node, m_namingContext), e);
}

} // namespace arbrix
