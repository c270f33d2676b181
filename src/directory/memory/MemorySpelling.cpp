#include "directory/memory/MemorySpelling.h"

#include "directory/memory/Schema.h"

#include <QVarLengthArray>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

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

} // namespace

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

QStringView parentOfNormalized(QStringView ndn) {
    for (qsizetype i = 0; i < ndn.size(); ++i) {
        if (ndn[i] == u'\\')
            ++i;
        else if (ndn[i] == u',')
            return ndn.sliced(i + 1);
    }
    return {};
}

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

QString lowerName(QStringView type) {
    static const QString usual[] = {u"cn"_s, u"ou"_s, u"dc"_s, u"o"_s, u"c"_s, u"l"_s, u"st"_s};
    for (const QString& name : usual) {
        if (MemeNom(name, type))
            return name;
    }
    return type.toString().toLower();
}

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

bool isAtOrBelow(const QString& ndn, const QString& base) {
    return DnNormaliseSousBase(ndn, base);
}

QString namingContextOf(const Dn& dn) {
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

} // namespace arbrix
