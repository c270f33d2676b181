#include "directory/memory/MemoryMatcher.h"

#include "directory/Classification.h"
#include "directory/memory/MemoryCommon.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

bool substringMatch(const PreparedFilter& p, const QString& value) {
    if (!value.startsWith(p.initial) || !value.endsWith(p.final) ||
        value.size() < p.initial.size() + p.final.size())
        return false;
    qsizetype pos = p.initial.size();
    const qsizetype end = value.size() - p.final.size();
    for (const QString& piece : p.any) {
        const qsizetype found = value.indexOf(piece, pos);
        if (found < 0 || found + piece.size() > end)
            return false;
        pos = found + piece.size();
    }
    return true;
}

} // namespace

PreparedFilter prepare(const FilterNode& node, const QString& namingContext) {
    PreparedFilter p;
    p.kind = node.kind;
    p.attribute = node.attribute;
    p.syntax = SyntaxeDe(node.attribute);
    p.raw = node.value;
    p.text = fold(node.value);
    p.rule = node.matchingRule;
    p.initial = fold(node.initial);
    p.final = fold(node.final);
    for (const QByteArray& a : node.any)
        p.any += fold(a);
    if (p.syntax == SyntaxeAttribut::Entier32 || p.syntax == SyntaxeAttribut::Entier64 ||
        !node.matchingRule.isEmpty())
        p.number = number(node.value);
    if (p.syntax == SyntaxeAttribut::Entier32)
        p.number = qint32(p.number);
    if (p.syntax == SyntaxeAttribut::Dn || node.attribute.compare(u"dn", Qt::CaseInsensitive) == 0) {
        const QString value = QString::fromUtf8(node.value);
        if (node.attribute.compare(u"objectCategory", Qt::CaseInsensitive) == 0 && !value.contains(u'=')) {
            const QString category = CategorieDuNomCourt(value);
            p.never = category.isEmpty();
            p.ndn = DnNormalise(u"CN="_s + category + u",CN=Schema,CN=Configuration,"_s + namingContext);
        } else {
            p.ndn = DnNormalise(value);
        }
    }
    for (const FilterNode& child : node.children)
        p.children += prepare(child, namingContext);
    return p;
}

bool Matcher::matches(const PreparedFilter& p, const MemEntry& e) const {
    switch (p.kind) {
    case FilterNode::Kind::And:
        return std::all_of(p.children.begin(), p.children.end(),
                           [&](const PreparedFilter& c) { return matches(c, e); });
    case FilterNode::Kind::Or:
        return std::any_of(p.children.begin(), p.children.end(),
                           [&](const PreparedFilter& c) { return matches(c, e); });
    case FilterNode::Kind::Not:
        return !matches(p.children.first(), e);
    case FilterNode::Kind::Present:
        return present(p, e);
    case FilterNode::Kind::Equality:
    case FilterNode::Kind::Approx:
        return equal(p, e);
    case FilterNode::Kind::Substring:
        return anyValue(p, e, [&](const QByteArray& v) { return substringMatch(p, fold(v)); });
    case FilterNode::Kind::GreaterOrEqual:
    case FilterNode::Kind::LessOrEqual:
        return ordered(p, e);
    case FilterNode::Kind::Extensible:
        return extensible(p, e);
    }
    return false;
}

template <typename F> bool Matcher::anyValue(const PreparedFilter& p, const MemEntry& e, F test) const {
    const QList<QByteArray> vs = values(e, p.attribute);
    return std::any_of(vs.begin(), vs.end(), test);
}

bool Matcher::present(const PreparedFilter& p, const MemEntry& e) const {
    if (isOneOf(p.attribute, {u"objectClass", u"distinguishedName", u"dn"}))
        return true;
    if (sameName(p.attribute, u"memberOf"))
        return !m_memberOf.value(e.ndn).isEmpty();
    return !values(e, p.attribute).isEmpty();
}

bool Matcher::equal(const PreparedFilter& p, const MemEntry& e) const {
    if (isOneOf(p.attribute, {u"distinguishedName", u"dn"}))
        return e.ndn == p.ndn;
    if (sameName(p.attribute, u"memberOf"))
        return m_memberOf.value(e.ndn).contains(p.ndn);
    if (sameName(p.attribute, u"member"))
        return e.memberNdns.contains(p.ndn);
    if (sameName(p.attribute, u"objectCategory"))
        return !p.never && e.categoryNdn == p.ndn;
    if (sameName(p.attribute, u"objectClass"))
        return ContientNom(e.classes, QString::fromUtf8(p.raw));
    switch (p.syntax) {
    case SyntaxeAttribut::Entier32:
        return anyValue(p, e, [&](const QByteArray& v) { return qint32(number(v)) == p.number; });
    case SyntaxeAttribut::Entier64:
        return anyValue(p, e, [&](const QByteArray& v) { return number(v) == p.number; });
    case SyntaxeAttribut::Binaire:
        return anyValue(p, e, [&](const QByteArray& v) { return v == p.raw; });
    case SyntaxeAttribut::Dn:
        return anyValue(p, e,
                        [&](const QByteArray& v) { return DnNormalise(QString::fromUtf8(v)) == p.ndn; });
    case SyntaxeAttribut::Texte:
        break;
    }
    return anyValue(p, e, [&](const QByteArray& v) { return fold(v) == p.text; });
}

bool Matcher::ordered(const PreparedFilter& p, const MemEntry& e) const {
    const bool ge = p.kind == FilterNode::Kind::GreaterOrEqual;
    if (p.syntax == SyntaxeAttribut::Entier32 || p.syntax == SyntaxeAttribut::Entier64) {
        return anyValue(p, e, [&](const QByteArray& v) {
            qint64 n = number(v);
            if (p.syntax == SyntaxeAttribut::Entier32)
                n = qint32(n);
            return ge ? n >= p.number : n <= p.number;
        });
    }
    return anyValue(p, e, [&](const QByteArray& v) {
        const int c = fold(v).compare(p.text);
        return ge ? c >= 0 : c <= 0;
    });
}

bool Matcher::extensible(const PreparedFilter& p, const MemEntry& e) const {
    if (p.rule == u"1.2.840.113556.1.4.803"_s)
        return anyValue(p, e, [&](const QByteArray& v) { return (number(v) & p.number) == p.number; });
    if (p.rule == u"1.2.840.113556.1.4.804"_s)
        return anyValue(p, e, [&](const QByteArray& v) { return (number(v) & p.number) != 0; });
    if (p.rule == u"1.2.840.113556.1.4.1941"_s && sameName(p.attribute, u"memberOf"))
        return inChain(e.ndn, p.ndn);
    return false;
}

bool Matcher::inChain(const QString& ndn, const QString& group) const {
    QSet<QString> seen;
    QList<QString> pending{ndn};
    while (!pending.isEmpty()) {
        const QString current = pending.takeLast();
        for (const QString& g : m_memberOf.value(current)) {
            if (g == group)
                return true;
            if (!seen.contains(g)) {
                seen.insert(g);
                pending += g;
            }
        }
    }
    return false;
}

QList<QByteArray> Matcher::values(const MemEntry& e, QStringView name) const {
    if (sameName(name, u"memberOf")) {
        QList<QByteArray> out;
        for (const QString& g : m_memberOf.value(e.ndn)) {
            if (const MemEntry* group = m_directory.findNormalized(g))
                out += group->dn.toUtf8();
        }
        return out;
    }
    if (sameName(name, u"msDS-User-Account-Control-Computed")) {
        if (!EstClasseCompte(e.classes))
            return {};
        qint64 flags = number(e.first(u"msDS-User-Account-Control-Computed"));
        if (number(e.first(u"lockoutTime")) > 0)
            flags |= 0x10;
        return {QByteArray::number(flags)};
    }
    if (sameName(name, u"unicodePwd"))
        return {};
    const LdapAttribute* a = e.find(name);
    return a ? a->values : QList<QByteArray>();
}

} // namespace arbrix
