#include "directory/memory/MemoryDirectory.h"

#include "directory/Classification.h"
#include "directory/Sid.h"
#include "directory/Values.h"
#include "directory/memory/MemoryBackend.h"
#include "directory/memory/Schema.h"

#include <QCryptographicHash>
#include <QScopeGuard>
#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

[[noreturn]] void fail(int code, const QString& message) {
    throw LdapError(code, message);
}

QString noSuchObject(const QString& dn) {
    return u"0000208D: NameErr: DSID-03100241, problem 2001 (NO_OBJECT), data 0, best match of: '"_s + dn +
           u"'"_s;
}

const QString insufficientRights =
    u"00002098: SecErr: DSID-03150F94, problem 4003 (INSUFF_ACCESS_RIGHTS), data 0"_s;

bool sameName(QStringView a, QStringView b) {
    return MemeNom(a, b);
}

bool isOneOf(QStringView name, std::initializer_list<QStringView> names) {
    for (QStringView n : names) {
        if (sameName(name, n))
            return true;
    }
    return false;
}

// A value written in its "#" hex form ("#04024869"); an escaped "#" ("\\#x") leaves the same
// leading "#" in the parsed value, without the hex digits.
bool isHexForm(QStringView value) {
    if (value.size() < 3 || value.size() % 2 == 0 || !value.startsWith(u'#'))
        return false;
    return std::all_of(value.begin() + 1, value.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    });
}

// The types the directory writes in capitals.
bool isUsualType(QStringView type) {
    const auto lower = [&](qsizetype i) { return char16_t(type[i].unicode() | 0x20); };
    if (type.size() == 1)
        return lower(0) == u'o' || lower(0) == u'c' || lower(0) == u'l';
    if (type.size() != 2)
        return false;
    const char16_t a = lower(0), b = lower(1);
    return (a == u'c' && b == u'n') || (a == u'o' && b == u'u') || (a == u'd' && b == u'c') ||
           (a == u's' && b == u't');
}

// The DN as the directory spells it: usual types in capitals, values escaped one way.
QString canonicalDn(const Dn& dn) {
    QString out;
    for (qsizetype i = 0; i < dn.size(); ++i) {
        if (i > 0)
            out += u',';
        const Rdn& rdn = dn.rdn(i);
        for (qsizetype j = 0; j < rdn.attributes.size(); ++j) {
            const RdnAttribute& a = rdn.attributes[j];
            if (j > 0)
                out += u'+';
            out += isUsualType(a.type) ? a.type.toUpper() : a.type;
            out += u'=';
            out += isHexForm(a.value) ? a.value : EchappeValeurDn(a.value);
        }
    }
    return out;
}

// The spelling canonicalDn gives the usual DN (printable ASCII, one type=value per RDN, no
// escapes, quotes or hex values), written without parsing the DN into RDNs; false for any other
// DN, the empty one included.
bool plainCanonicalDn(QStringView dn, QString& out) {
    QVarLengthArray<QChar, 256> buffer(2 * dn.size()); // every character escaped at worst
    QChar* const begin = buffer.data();
    QChar* o = begin;
    const auto done = [&](bool valid) {
        out = valid ? QString(begin, o - begin) : QString();
        return valid;
    };
    const auto isTypeChar = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'.';
    };
    qsizetype i = 0;
    const qsizetype n = dn.size();
    const auto skipSpaces = [&] {
        while (i < n && dn[i] == u' ')
            ++i;
    };
    skipSpaces();
    if (i == n)
        return done(false);
    while (true) {
        const qsizetype typeStart = i;
        while (i < n && isTypeChar(dn[i].unicode()))
            ++i;
        const QStringView type = dn.sliced(typeStart, i - typeStart);
        if (type.isEmpty())
            return done(false);
        const bool upper = isUsualType(type);
        for (QChar c : type)
            *o++ = upper && c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c;
        skipSpaces();
        if (i == n || dn[i] != u'=')
            return done(false);
        *o++ = u'=';
        ++i;
        skipSpaces();
        if (i < n && dn[i] == u'#')
            return done(false);
        const qsizetype valueStart = i;
        qsizetype valueEnd = i; // without the spaces before the separator
        for (; i < n && dn[i] != u','; ++i) {
            const char16_t c = dn[i].unicode();
            if (c < 0x20 || c > 0x7e || c == u'\\' || c == u'"' || c == u'+' || c == u';' || c == u'<' ||
                c == u'>')
                return done(false);
            if (c != u' ')
                valueEnd = i + 1;
        }
        if (valueEnd == valueStart)
            return done(false);
        for (qsizetype k = valueStart; k < valueEnd; ++k) {
            if (dn[k] == u'=')
                *o++ = u'\\';
            *o++ = dn[k];
        }
        if (i == n)
            return done(true);
        *o++ = u',';
        ++i; // ","
        skipSpaces();
        if (i == n)
            return done(false); // a trailing separator
    }
}

Dn parseOrFail(const QString& text) {
    const std::optional<Dn> dn = Dn::parse(text);
    if (!dn || dn->isEmpty())
        fail(LdapCode::InvalidDnSyntax,
             u"00002081: NameErr: DSID-03100225, problem 2003 (BAD_ATT_SYNTAX), data 0: "_s + text);
    return *dn;
}

qint64 number(const QByteArray& value) {
    return value.trimmed().toLongLong();
}

// The parent's normalised DN, cut from a normalised DN: commas inside values are escaped there.
QStringView parentOfNormalized(QStringView ndn) {
    for (qsizetype i = 0; i < ndn.size(); ++i) {
        if (ndn[i] == u'\\')
            ++i;
        else if (ndn[i] == u',')
            return ndn.sliced(i + 1);
    }
    return {};
}

// The first RDN of a DN as the directory spells it: its values are escaped, so that the first
// unescaped comma ends the RDN.
Rdn firstRdn(const QString& dn) {
    qsizetype end = dn.size();
    for (qsizetype i = 0; i < dn.size(); ++i) {
        if (dn[i] == u'\\') {
            ++i;
        } else if (dn[i] == u',') {
            end = i;
            break;
        }
    }
    return *AnalyseRdn(QStringView(dn).left(end));
}

// The type and value of the first RDN of a DN as the directory spells it, seen in the DN itself
// when that RDN holds no escape, quote, "+" or hex value; false otherwise.
bool plainLeaf(QStringView dn, QStringView& type, QStringView& value) {
    qsizetype equals = -1;
    qsizetype end = 0;
    for (; end < dn.size() && dn[end] != u','; ++end) {
        const QChar c = dn[end];
        if (c == u'\\' || c == u'"' || c == u'+')
            return false;
        if (c == u'=' && equals < 0)
            equals = end;
    }
    if (equals <= 0 || equals + 1 >= end || dn[equals + 1] == u'#')
        return false;
    type = dn.first(equals);
    value = dn.sliced(equals + 1, end - equals - 1);
    return true;
}

// An attribute type in lower case, the usual ones without a copy.
QString lowerName(QStringView type) {
    static const QString usual[] = {u"cn"_s, u"ou"_s, u"dc"_s, u"o"_s, u"c"_s, u"l"_s, u"st"_s};
    for (const QString& name : usual) {
        if (MemeNom(name, type))
            return name;
    }
    return type.toString().toLower();
}

// True when utf8 is the UTF-8 form of value; compared in place for ASCII text.
bool isSpelling(const QByteArray& utf8, QStringView value) {
    for (QChar c : value) {
        if (c.unicode() >= 0x80)
            return utf8 == value.toUtf8();
    }
    if (utf8.size() != value.size())
        return false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (char16_t(uchar(utf8[i])) != value[i].unicode())
            return false;
    }
    return true;
}

// True when ndn names base or an entry below it (both normalised).
bool isAtOrBelow(const QString& ndn, const QString& base) {
    if (ndn.size() == base.size())
        return ndn == base;
    return ndn.size() > base.size() && ndn.endsWith(base) && ndn[ndn.size() - base.size() - 1] == u',';
}

} // namespace

// ---- Filters, with their values prepared once per search ----

struct PreparedFilter {
    FilterNode::Kind kind;
    QString attribute;
    SyntaxeAttribut syntax = SyntaxeAttribut::Texte;
    QByteArray raw;
    QString text; // case-folded
    QString ndn;  // DN syntax: normalised value
    qint64 number = 0;
    QString initial, final;
    QStringList any;
    QString rule;
    bool never = false; // a value that can match nothing (unknown category short name)
    QList<PreparedFilter> children;
};

namespace {

QString fold(const QByteArray& value) {
    return QString::fromUtf8(value).toCaseFolded();
}

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

// ---- MemEntry ----

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

// ---- Matching ----

class Matcher {
public:
    Matcher(const MemoryDirectory& directory, const QHash<QString, QList<QString>>& memberOf)
        : m_directory(directory)
        , m_memberOf(memberOf) {}

    bool matches(const PreparedFilter& p, const MemEntry& e) const {
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

    QList<QByteArray> values(const MemEntry& e, QStringView name) const;

private:
    template <typename F> bool anyValue(const PreparedFilter& p, const MemEntry& e, F test) const {
        const QList<QByteArray> vs = values(e, p.attribute);
        return std::any_of(vs.begin(), vs.end(), test);
    }

    bool present(const PreparedFilter& p, const MemEntry& e) const {
        if (isOneOf(p.attribute, {u"objectClass", u"distinguishedName", u"dn"}))
            return true;
        if (sameName(p.attribute, u"memberOf"))
            return !m_memberOf.value(e.ndn).isEmpty();
        return !values(e, p.attribute).isEmpty();
    }

    bool equal(const PreparedFilter& p, const MemEntry& e) const {
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

    bool ordered(const PreparedFilter& p, const MemEntry& e) const {
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

    bool extensible(const PreparedFilter& p, const MemEntry& e) const {
        if (p.rule == u"1.2.840.113556.1.4.803"_s)
            return anyValue(p, e, [&](const QByteArray& v) { return (number(v) & p.number) == p.number; });
        if (p.rule == u"1.2.840.113556.1.4.804"_s)
            return anyValue(p, e, [&](const QByteArray& v) { return (number(v) & p.number) != 0; });
        if (p.rule == u"1.2.840.113556.1.4.1941"_s && sameName(p.attribute, u"memberOf"))
            return inChain(e.ndn, p.ndn);
        return false;
    }

    // True when group is reached from ndn by following the groups upwards.
    bool inChain(const QString& ndn, const QString& group) const {
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

    const MemoryDirectory& m_directory;
    const QHash<QString, QList<QString>>& m_memberOf;
};

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

// ---- Loading ----

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

static QString namingContextOf(const Dn& dn) {
    QList<Rdn> dcs;
    for (qsizetype i = dn.size() - 1; i >= 0; --i) {
        const Rdn& r = dn.rdn(i);
        if (r.attributes.size() != 1 || r.attributes.first().type.compare(u"DC", Qt::CaseInsensitive) != 0)
            break;
        dcs.prepend(r);
    }
    Dn nc;
    for (qsizetype i = dcs.size() - 1; i >= 0; --i)
        nc = nc.child(dcs[i]);
    return canonicalDn(nc);
}

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
        const qint32 type = qint32(number(e.first(u"groupType")));
        const bool security = type < 0;
        const qint64 samType =
            (type & 4) ? (security ? 536870912 : 536870913) : (security ? 268435456 : 268435457);
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

// ---- Members ----

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

// ---- Searching ----

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

// ---- Changes ----

void MemoryDirectory::add(const QString& dnText, const QList<LdapAttribute>& attributes) {
    m_derivedValid = false;
    const Dn dn = parseOrFail(dnText);
    if (m_entries.contains(dn.normalized()))
        fail(LdapCode::EntryAlreadyExists,
             u"00000524: UpdErr: DSID-031A11E2, problem 6005 (ENTRY_EXISTS), data 0"_s);
    MemEntry* parent = findNormalized(dn.parent().normalized());
    if (!parent)
        fail(LdapCode::NoSuchObject, noSuchObject(dn.parent().toString()));
    if (parent->readOnly)
        fail(LdapCode::InsufficientAccessRights, insufficientRights);
    QList<LdapAttribute> stored;
    for (const LdapAttribute& a : attributes) {
        if (isOneOf(a.name, {u"memberOf", u"distinguishedName"}))
            continue;
        stored += a;
    }
    EntryPtr e = insert(dn, stored, 0);
    try {
        complete(*e);
        if (EstClasseCompte(e->classes) || EstClasseGroupe(e->classes))
            checkUniqueAccountName(*e, e->first(u"sAMAccountName"));
        if (const LdapAttribute* member = e->find(u"member")) {
            const QList<QByteArray> values = member->values;
            setMembers(*e, values, true);
        }
    } catch (...) {
        unlink(*e);
        m_entries.remove(e->ndn);
        throw;
    }
    if (EstClasseCompte(e->classes) || EstClasseGroupe(e->classes))
        m_accountNames.insert(fold(e->first(u"sAMAccountName")), e->ndn);
    parent->children += e.get();
}

void MemoryDirectory::modify(const QString& dn, const QList<Modification>& modifications) {
    m_derivedValid = false;
    MemEntry& e = existing(dn);
    if (e.readOnly)
        fail(LdapCode::InsufficientAccessRights, insufficientRights);
    // Checked on a copy first, so that a refused change leaves the entry as it was.
    MemEntry copy = e;
    QList<QByteArray> members = copy.find(u"member") ? copy.find(u"member")->values : QList<QByteArray>();
    QSet<QString> memberNdns = copy.memberNdns;
    bool membersChanged = false;
    const QString rdnType = Dn::parse(e.dn)->rdn(0).attributes.first().type;
    for (const Modification& m : modifications) {
        if (isOneOf(m.attribute, {u"distinguishedName", u"memberOf", u"objectSid", u"objectGUID",
                                  u"objectClass", u"sAMAccountType", u"msDS-User-Account-Control-Computed"}))
            fail(LdapCode::UnwillingToPerform,
                 u"00002077: SvcErr: DSID-03152D2A, problem 5003 (WILL_NOT_PERFORM), data 0: "_s +
                     m.attribute);
        if (isOneOf(m.attribute, {u"name"}) || m.attribute.compare(rdnType, Qt::CaseInsensitive) == 0)
            fail(67, u"00002016: NameErr: DSID-0310040F, problem 2004 (NOT_ALLOWED_ON_RDN), data 0"_s);
        if (m.attribute.compare(u"member", Qt::CaseInsensitive) == 0) {
            membersChanged = true;
            for (const QByteArray& v : m.values) {
                MemEntry* target = find(QString::fromUtf8(v));
                const QString ndn = target ? target->ndn : DnNormalise(QString::fromUtf8(v));
                if (m.op == ModOp::Add) {
                    if (!target)
                        fail(LdapCode::NoSuchObject, noSuchObject(QString::fromUtf8(v)));
                    if (memberNdns.contains(ndn))
                        fail(LdapCode::EntryAlreadyExists,
                             u"00000562: UpdErr: DSID-031A11E2, problem 6005 (ENTRY_EXISTS), data 0"_s);
                    memberNdns.insert(ndn);
                    members += spelling(*target);
                } else if (m.op == ModOp::Delete) {
                    if (!memberNdns.contains(ndn))
                        fail(LdapCode::UnwillingToPerform,
                             u"00000561: SvcErr: DSID-031A1021, problem 5003 (WILL_NOT_PERFORM), data 0"_s);
                    memberNdns.remove(ndn);
                    members.removeIf(
                        [&](const QByteArray& x) { return DnNormalise(QString::fromUtf8(x)) == ndn; });
                }
            }
            if (m.op == ModOp::Replace) {
                members = m.values;
                memberNdns.clear();
                for (const QByteArray& v : m.values) {
                    if (!find(QString::fromUtf8(v)))
                        fail(LdapCode::NoSuchObject, noSuchObject(QString::fromUtf8(v)));
                    memberNdns.insert(DnNormalise(QString::fromUtf8(v)));
                }
            }
            if (m.op == ModOp::Delete && m.values.isEmpty()) {
                members.clear();
                memberNdns.clear();
            }
            continue;
        }
        const LdapAttribute* current = copy.find(m.attribute);
        QList<QByteArray> values = current ? current->values : QList<QByteArray>();
        switch (m.op) {
        case ModOp::Add:
            for (const QByteArray& v : m.values) {
                if (values.contains(v))
                    fail(
                        LdapCode::AttributeOrValueExists,
                        u"00002083: AtrErr: DSID-03151818, #1: 0: 00002083: DSID-03151818, problem 1006 (ATT_OR_VALUE_EXISTS)"_s);
                values += v;
            }
            break;
        case ModOp::Delete:
            if (!current)
                fail(LdapCode::NoSuchAttribute,
                     u"00002080: AtrErr: DSID-03151818, problem 1001 (NO_ATTRIBUTE_OR_VAL)"_s);
            if (m.values.isEmpty())
                values.clear();
            for (const QByteArray& v : m.values) {
                if (!values.removeOne(v))
                    fail(LdapCode::NoSuchAttribute,
                         u"00002080: AtrErr: DSID-03151818, problem 1001 (NO_ATTRIBUTE_OR_VAL)"_s);
            }
            break;
        case ModOp::Replace:
            values = m.values;
            break;
        }
        if (isOneOf(m.attribute, {u"groupType", u"userAccountControl", u"primaryGroupID"})) {
            for (const QByteArray& v : values) {
                bool ok = false;
                v.trimmed().toLongLong(&ok);
                if (!ok)
                    fail(
                        LdapCode::InvalidAttributeSyntax,
                        u"00000057: LdapErr: DSID-0C090D8A, comment: Error in attribute conversion operation"_s);
            }
        }
        if (m.attribute.compare(u"sAMAccountName", Qt::CaseInsensitive) == 0) {
            if (values.size() != 1 || values.first().isEmpty())
                fail(LdapCode::UnwillingToPerform, u"00002077: SvcErr: problem 5003 (WILL_NOT_PERFORM)"_s);
            checkUniqueAccountName(e, values.first());
        }
        copy.set(current ? current->name : m.attribute, values);
    }
    // Accepted: applied.
    const QByteArray oldName = e.first(u"sAMAccountName");
    e.attributes = copy.attributes;
    const QByteArray newName = e.first(u"sAMAccountName");
    if (oldName != newName && !newName.isEmpty()) {
        m_accountNames.remove(fold(oldName));
        m_accountNames.insert(fold(newName), e.ndn);
    }
    if (const QByteArray category = e.first(u"objectCategory"); !category.isEmpty())
        e.categoryNdn = DnNormalise(QString::fromUtf8(category));
    if (membersChanged) {
        unlink(e);
        e.memberNdns = memberNdns;
        e.set(u"member"_s, members);
        link(e);
    }
}

void MemoryDirectory::remove(const QString& dn) {
    m_derivedValid = false;
    MemEntry& e = existing(dn);
    MemEntry* parent = findNormalized(e.parentNdn);
    if (e.readOnly || (parent && parent->readOnly))
        fail(LdapCode::InsufficientAccessRights, insufficientRights);
    if (!e.children.isEmpty())
        fail(LdapCode::NotAllowedOnNonLeaf,
             u"00002015: SvcErr: DSID-031A1236, problem 6003 (CANT_ON_NON_LEAF), data 0"_s);
    if (e.ndn == DnNormalise(m_namingContext))
        fail(LdapCode::UnwillingToPerform, u"00002077: SvcErr: problem 5003 (WILL_NOT_PERFORM)"_s);
    // Links to the entry go with it.
    for (const QString& g : m_memberOf.value(e.ndn)) {
        if (MemEntry* group = findNormalized(g)) {
            group->memberNdns.remove(e.ndn);
            if (LdapAttribute* member = group->find(u"member"))
                member->values.removeIf(
                    [&](const QByteArray& v) { return DnNormalise(QString::fromUtf8(v)) == e.ndn; });
        }
    }
    m_memberOf.remove(e.ndn);
    unlink(e);
    if (parent)
        parent->children.removeAll(&e);
    m_accountNames.remove(fold(e.first(u"sAMAccountName")));
    e.deleted = true;
    const QString ndn = e.ndn;
    m_entries.remove(ndn);
}

// Moves an entry (and, below it, its subtree) to a new DN, keeping every link to it.
void MemoryDirectory::relocate(MemEntry& e, const QString& newDn) {
    const QString oldNdn = e.ndn;
    const Dn dn = *Dn::parse(newDn);
    EntryPtr holder = m_entries.take(oldNdn);
    e.dn = canonicalDn(dn);
    e.ndn = dn.normalized();
    setParentNdn(e);
    e.set(u"distinguishedName"_s, {e.dn.toUtf8()});
    m_entries.insert(e.ndn, holder);
    if (m_accountNames.value(fold(e.first(u"sAMAccountName"))) == oldNdn)
        m_accountNames.insert(fold(e.first(u"sAMAccountName")), e.ndn);
    // Groups listing it.
    const QList<QString> groups = m_memberOf.take(oldNdn);
    for (const QString& g : groups) {
        MemEntry* group = findNormalized(g);
        if (!group)
            continue;
        group->memberNdns.remove(oldNdn);
        group->memberNdns.insert(e.ndn);
        if (LdapAttribute* member = group->find(u"member")) {
            for (QByteArray& v : member->values) {
                if (DnNormalise(QString::fromUtf8(v)) == oldNdn)
                    v = e.dn.toUtf8();
            }
        }
    }
    if (!groups.isEmpty())
        m_memberOf.insert(e.ndn, groups);
    // Its own members' back links.
    for (const QString& m : std::as_const(e.memberNdns)) {
        auto it = m_memberOf.find(m);
        if (it != m_memberOf.end())
            std::replace(it->begin(), it->end(), oldNdn, e.ndn);
    }
    for (MemEntry* child : std::as_const(e.children))
        relocate(*child, Dn::parse(child->dn)->rdn(0).text + u',' + e.dn);
}

void MemoryDirectory::rename(const QString& dn, const QString& newRdn, const QString& newSuperior) {
    m_derivedValid = false;
    MemEntry& e = existing(dn);
    const std::optional<Rdn> rdn = AnalyseRdn(newRdn);
    if (!rdn)
        fail(LdapCode::InvalidDnSyntax, u"00002081: NameErr: problem 2003 (BAD_ATT_SYNTAX): "_s + newRdn);
    MemEntry* oldParent = findNormalized(e.parentNdn);
    MemEntry* newParent = newSuperior.isEmpty() ? oldParent : find(newSuperior);
    if (!newParent)
        fail(LdapCode::NoSuchObject, noSuchObject(newSuperior));
    if (e.readOnly || (oldParent && oldParent->readOnly) || newParent->readOnly)
        fail(LdapCode::InsufficientAccessRights, insufficientRights);
    const Dn oldDn = *Dn::parse(e.dn);
    if (rdn->attributes.first().type.compare(oldDn.rdn(0).attributes.first().type, Qt::CaseInsensitive) != 0)
        fail(LdapCode::NamingViolation, u"00002016: NameErr: problem 2005 (NAMING_VIOLATION)"_s);
    const Dn target = Dn::parse(newParent->dn)->child(*rdn);
    if (target.normalized() != e.ndn && m_entries.contains(target.normalized()))
        fail(LdapCode::EntryAlreadyExists,
             u"00002071: UpdErr: DSID-030502F1, problem 6005 (ENTRY_EXISTS), data 0"_s);
    if (target.isDescendantOf(oldDn))
        fail(LdapCode::UnwillingToPerform, u"00002077: SvcErr: problem 5003 (WILL_NOT_PERFORM)"_s);
    if (oldParent)
        oldParent->children.removeAll(&e);
    relocate(e, canonicalDn(target));
    newParent->children += &e;
    const RdnAttribute& value = rdn->attributes.first();
    e.set(value.type.toLower(), {value.value.toUtf8()});
    e.set(u"name"_s, {value.value.toUtf8()});
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
