#include "directory/Dn.h"

#include "directory/Hex.h"

#include <QVarLengthArray>

namespace arbrix {

namespace {

bool isTypeChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
           c == u'.';
}

bool isValidType(QStringView type) {
    if (type.isEmpty())
        return false;
    for (QChar c : type) {
        if (!isTypeChar(c))
            return false;
    }
    return true;
}

bool isSpecialInValue(QChar c) {
    switch (c.unicode()) {
    case u',':
    case u'+':
    case u'"':
    case u'\\':
    case u'<':
    case u'>':
    case u';':
    case u'=':
        return true;
    default:
        return false;
    }
}

bool isEscapable(QChar c) {
    return QStringView(u" \"#+,;<=>\\").contains(c);
}

// Reads a DN text one attribute value at a time.
class DnReader {
public:
    explicit DnReader(QStringView text)
        : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    void advance() { ++m_pos; }
    qsizetype pos() const { return m_pos; }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void skipSpaces() {
        while (!atEnd() && m_text[m_pos] == u' ')
            ++m_pos;
    }

    bool readType(QString& type) {
        skipSpaces();
        const qsizetype start = m_pos;
        while (!atEnd() && isTypeChar(m_text[m_pos]))
            ++m_pos;
        type = m_text.mid(start, m_pos - start).toString();
        skipSpaces();
        if (!isValidType(type) || peek() != u'=')
            return false;
        ++m_pos;
        return true;
    }

    // Reads a value up to an unescaped separator (",", "+", ";") or the end.
    bool readValue(QString& value) {
        skipSpaces();
        if (peek() == u'#')
            return readHexValue(value);
        if (peek() == u'"')
            return readQuotedValue(value);
        return readStringValue(value);
    }

private:
    bool readHexValue(QString& value) {
        const qsizetype start = m_pos++;
        while (!atEnd() && HexDigitValue(m_text[m_pos]) >= 0)
            ++m_pos;
        if ((m_pos - start - 1) % 2 != 0 || m_pos - start < 3)
            return false;
        value = m_text.mid(start, m_pos - start).toString().toLower();
        skipSpaces();
        return atSeparatorOrEnd();
    }

    bool readQuotedValue(QString& value) {
        ++m_pos;
        QByteArray bytes;
        while (!atEnd() && m_text[m_pos] != u'"') {
            if (!readCharOrEscape(bytes))
                return false;
        }
        // An empty value is refused quoted as it is unquoted: it could not be written back.
        if (atEnd() || bytes.isEmpty())
            return false;
        ++m_pos;
        value = QString::fromUtf8(bytes);
        skipSpaces();
        return atSeparatorOrEnd();
    }

    bool readStringValue(QString& value) {
        if (readPlainValue(value))
            return true;
        QByteArray bytes;
        qsizetype significantEnd = 0; // bytes up to the last character that is not a plain space
        while (!atEnd() && !atSeparator()) {
            const QChar c = m_text[m_pos];
            if (c == u'"' || c == u'<' || c == u'>')
                return false;
            const bool escaped = c == u'\\';
            if (!readCharOrEscape(bytes))
                return false;
            if (escaped || c != u' ')
                significantEnd = bytes.size();
        }
        bytes.truncate(significantEnd);
        value = QString::fromUtf8(bytes);
        return !bytes.isEmpty();
    }

    // The usual value, without escapes, quotes or surrogates: taken as it stands. Leaves the
    // position unchanged (for the general reading) when the value is anything else.
    bool readPlainValue(QString& value) {
        qsizetype end = m_pos;
        qsizetype significantEnd = m_pos;
        for (; end < m_text.size(); ++end) {
            const char16_t c = m_text[end].unicode();
            if (c == u',' || c == u'+' || c == u';')
                break;
            if (c == u'\\' || c == u'"' || c == u'<' || c == u'>' || QChar::isSurrogate(c))
                return false;
            if (c != u' ')
                significantEnd = end + 1;
        }
        if (significantEnd == m_pos)
            return false;
        value = m_text.mid(m_pos, significantEnd - m_pos).toString();
        m_pos = end;
        return true;
    }

    bool readCharOrEscape(QByteArray& bytes) {
        const QChar c = m_text[m_pos];
        if (c != u'\\') {
            // A surrogate pair is two QChars: keep them together.
            const qsizetype length = c.isHighSurrogate() && m_pos + 1 < m_text.size() ? 2 : 1;
            bytes += m_text.mid(m_pos, length).toUtf8();
            m_pos += length;
            return true;
        }
        if (m_pos + 1 >= m_text.size())
            return false;
        const QChar next = m_text[m_pos + 1];
        if (isEscapable(next)) {
            bytes += char(next.toLatin1());
            m_pos += 2;
            return true;
        }
        if (m_pos + 2 >= m_text.size())
            return false;
        const std::optional<char> byte = HexPairByte(next, m_text[m_pos + 2]);
        if (!byte)
            return false;
        bytes += *byte;
        m_pos += 3;
        return true;
    }

    bool atSeparator() const {
        const QChar c = peek();
        return c == u',' || c == u'+' || c == u';';
    }
    bool atSeparatorOrEnd() const { return atEnd() || atSeparator(); }

    QStringView m_text;
    qsizetype m_pos = 0;
};

// The normalised form of a printable ASCII value: spaces simplified, lower case, escaped. False
// for any other value.
bool normalisedAsciiValue(QStringView value, QString& out) {
    out.clear();
    out.reserve(value.size() + 4);
    bool pendingSpace = false;
    for (QChar ch : value) {
        const char16_t c = ch.unicode();
        if (c < 0x20 || c > 0x7e)
            return false;
        if (c == u' ') {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace)
            out += u' ';
        pendingSpace = false;
        if (out.isEmpty() && c == u'#')
            out += u'\\';
        else if (isSpecialInValue(ch))
            out += u'\\';
        out += QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return true;
}

QString normalizedValue(const RdnAttribute& a) {
    if (a.value.startsWith(u'#'))
        return a.value.toLower();
    QString ascii;
    if (normalisedAsciiValue(a.value, ascii))
        return ascii;
    return EchappeValeurDn(a.value.simplified().toCaseFolded());
}

QString normalizedRdn(const Rdn& rdn) {
    if (rdn.attributes.size() == 1) {
        const RdnAttribute& a = rdn.attributes.first();
        return a.type.toLower() + u'=' + normalizedValue(a);
    }
    QStringList parts;
    for (const RdnAttribute& a : rdn.attributes)
        parts += a.type.toLower() + u'=' + normalizedValue(a);
    parts.sort();
    return parts.join(u'+');
}

// The RDN as spelt, without the spaces before its separator. An escaped space ("\ ") and any
// other character (a line break is part of the value) stay.
QStringView withoutTrailingSpaces(QStringView rdn) {
    qsizetype end = rdn.size();
    while (end > 0 && rdn[end - 1] == u' ') {
        qsizetype backslashes = 0;
        while (end - 1 - backslashes > 0 && rdn[end - 2 - backslashes] == u'\\')
            ++backslashes;
        if (backslashes % 2 == 1)
            break;
        --end;
    }
    return rdn.left(end);
}

// Splits at the first comma that is not escaped (and not inside quotes): the fallback for texts
// that are not valid DNs.
qsizetype firstUnescapedComma(QStringView dn) {
    bool quoted = false;
    for (qsizetype i = 0; i < dn.size(); ++i) {
        const QChar c = dn[i];
        if (c == u'\\') {
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u',' && !quoted) {
            return i;
        }
    }
    return -1;
}

} // namespace

std::optional<Dn> Dn::parse(QStringView text) {
    Dn dn;
    DnReader reader(text);
    reader.skipSpaces();
    if (reader.atEnd())
        return dn;
    Rdn current;
    qsizetype rdnStart = reader.pos();
    while (true) {
        RdnAttribute attribute;
        if (!reader.readType(attribute.type) || !reader.readValue(attribute.value))
            return std::nullopt;
        current.attributes += attribute;
        reader.skipSpaces();
        const QChar separator = reader.peek();
        if (separator == u'+') {
            reader.advance();
            continue;
        }
        current.text = withoutTrailingSpaces(text.mid(rdnStart, reader.pos() - rdnStart)).toString();
        dn.m_rdns += current;
        current = Rdn();
        if (reader.atEnd())
            return dn;
        reader.advance(); // "," or ";"
        reader.skipSpaces();
        if (reader.atEnd())
            return std::nullopt; // a trailing separator
        rdnStart = reader.pos();
    }
}

QString Dn::toString() const {
    QStringList parts;
    for (const Rdn& r : m_rdns)
        parts += r.text;
    return parts.join(u',');
}

QString Dn::normalized() const {
    QString out;
    for (qsizetype i = 0; i < m_rdns.size(); ++i) {
        if (i > 0)
            out += u',';
        out += normalizedRdn(m_rdns[i]);
    }
    return out;
}

Dn Dn::parent() const {
    Dn p;
    if (m_rdns.size() > 1)
        p.m_rdns = m_rdns.mid(1);
    return p;
}

Dn Dn::child(const Rdn& rdn) const {
    Dn c;
    c.m_rdns = m_rdns;
    c.m_rdns.prepend(rdn);
    return c;
}

bool Dn::isDescendantOf(const Dn& ancestor) const {
    if (m_rdns.size() <= ancestor.m_rdns.size())
        return false;
    const qsizetype offset = m_rdns.size() - ancestor.m_rdns.size();
    for (qsizetype i = 0; i < ancestor.m_rdns.size(); ++i) {
        if (normalizedRdn(m_rdns[offset + i]) != normalizedRdn(ancestor.m_rdns[i]))
            return false;
    }
    return true;
}

QString EchappeValeurDn(QStringView value) {
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const bool leading = i == 0 && (c == u' ' || c == u'#');
        const bool trailing = i == value.size() - 1 && c == u' ';
        if (c == QChar(0)) {
            out += u"\\00";
        } else if (c == u'\n') {
            out += u"\\0A";
        } else if (c == u'\r') {
            out += u"\\0D";
        } else if (leading || trailing || isSpecialInValue(c)) {
            out += u'\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<Rdn> AnalyseRdn(QStringView text) {
    const std::optional<Dn> dn = Dn::parse(text);
    if (!dn || dn->size() != 1)
        return std::nullopt;
    return dn->rdn(0);
}

std::optional<Rdn> RdnDepuisSaisie(QStringView text) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    const QString type = text.left(equals).trimmed().toString();
    const QStringView value = text.mid(equals + 1);
    if (!isValidType(type) || value.trimmed().isEmpty())
        return std::nullopt;
    if (std::optional<Rdn> escaped = AnalyseRdn(text); escaped && escaped->attributes.size() == 1)
        return escaped;
    Rdn rdn;
    rdn.attributes += RdnAttribute{type, value.toString()};
    rdn.text = type + u'=' + EchappeValeurDn(value);
    return rdn;
}

namespace {

// The normalised form of the usual DN, printable ASCII with one type=value per RDN and no
// escapes, quotes or hex values, written without parsing it into RDNs; false for anything else,
// which the general parsing handles. Same result as parsing then normalising.
bool normalisePlainAscii(QStringView dn, QString& out) {
    // Written through a pointer into a buffer as large as the longest result (every character
    // escaped), then copied at its size: this runs for every DN looked up.
    QVarLengthArray<QChar, 256> buffer(2 * dn.size());
    QChar* const begin = buffer.data();
    QChar* o = begin;
    const auto done = [&](bool valid) {
        out = valid ? QString(begin, o - begin) : QString();
        return valid;
    };
    qsizetype i = 0;
    const qsizetype n = dn.size();
    const auto skipSpaces = [&] {
        while (i < n && dn[i] == u' ')
            ++i;
    };
    skipSpaces();
    if (i == n)
        return done(true); // the empty DN
    while (true) {
        // Type
        const qsizetype typeStart = i;
        while (i < n && isTypeChar(dn[i])) {
            const char16_t c = dn[i].unicode();
            *o++ = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
            ++i;
        }
        if (i == typeStart)
            return done(false);
        skipSpaces();
        if (i == n || dn[i] != u'=')
            return done(false);
        *o++ = u'=';
        ++i;
        skipSpaces();
        if (i < n && dn[i] == u'#')
            return done(false);
        // Value: spaces inside collapse to one, spaces around are dropped.
        bool pendingSpace = false;
        bool any = false;
        for (; i < n; ++i) {
            const char16_t c = dn[i].unicode();
            if (c == u',')
                break;
            if (c < 0x20 || c > 0x7e || c == u'\\' || c == u'"' || c == u'+' || c == u';' || c == u'<' ||
                c == u'>')
                return done(false);
            if (c == u' ') {
                pendingSpace = any;
                continue;
            }
            if (pendingSpace)
                *o++ = u' ';
            pendingSpace = false;
            any = true;
            if (c == u'=')
                *o++ = u'\\';
            *o++ = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
        }
        if (!any)
            return done(false);
        if (i == n)
            return done(true);
        *o++ = u',';
        ++i; // ","
        skipSpaces();
        if (i == n)
            return done(false); // a trailing separator
    }
}

} // namespace

QString DnNormalise(QStringView dn) {
    QString plain;
    if (normalisePlainAscii(dn, plain))
        return plain;
    if (const std::optional<Dn> parsed = Dn::parse(dn))
        return parsed->normalized();
    return dn.trimmed().toString().toCaseFolded();
}

bool DnEgaux(QStringView a, QStringView b) {
    return DnNormalise(a) == DnNormalise(b);
}

bool DnNormaliseSousBase(QStringView dnNormalise, QStringView baseNormalisee) {
    if (dnNormalise.size() == baseNormalisee.size())
        return dnNormalise == baseNormalisee;
    return dnNormalise.size() > baseNormalisee.size() && dnNormalise.endsWith(baseNormalisee) &&
           dnNormalise[dnNormalise.size() - baseNormalisee.size() - 1] == u',';
}

QString DnParent(QStringView dn) {
    if (const std::optional<Dn> parsed = Dn::parse(dn))
        return parsed->parent().toString();
    const qsizetype comma = firstUnescapedComma(dn);
    return comma < 0 ? QString() : dn.mid(comma + 1).trimmed().toString();
}

QString DnRdn(QStringView dn) {
    if (const std::optional<Dn> parsed = Dn::parse(dn))
        return parsed->isEmpty() ? QString() : parsed->rdn(0).text;
    const qsizetype comma = firstUnescapedComma(dn);
    return (comma < 0 ? dn : dn.left(comma)).trimmed().toString();
}

QString DnValeurRdn(QStringView dn) {
    if (const std::optional<Dn> parsed = Dn::parse(dn)) {
        if (parsed->isEmpty())
            return {};
        return parsed->rdn(0).attributes.first().value;
    }
    const QString rdn = DnRdn(dn);
    const qsizetype equals = rdn.indexOf(u'=');
    return equals < 0 ? rdn : rdn.mid(equals + 1);
}

std::optional<CheminLdap> AnalyseCheminLdap(QStringView chemin) {
    const QStringView scheme = u"LDAP://";
    if (!chemin.startsWith(scheme, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView rest = chemin.mid(scheme.size());
    CheminLdap result;
    // The server part ends at the first "/" not written "\/".
    qsizetype slash = -1;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] == u'\\') {
            ++i;
        } else if (rest[i] == u'/') {
            slash = i;
            break;
        }
    }
    // A DN written with an unescaped "/" ("OU=Labo A/B,...") names no server: a server name holds
    // no "=".
    if (slash >= 0 && rest.left(slash).contains(u'='))
        slash = -1;
    QStringView dnPart = rest;
    if (slash >= 0) {
        result.serveur = rest.left(slash).toString();
        dnPart = rest.mid(slash + 1);
        if (result.serveur.isEmpty())
            return std::nullopt;
    } else if (!rest.contains(u'=') && rest.compare(u"RootDSE", Qt::CaseInsensitive) != 0) {
        result.serveur = rest.toString();
        return result.serveur.isEmpty() ? std::nullopt : std::optional<CheminLdap>(result);
    }
    if (dnPart.compare(u"RootDSE", Qt::CaseInsensitive) == 0) {
        result.rootDse = true;
        return result;
    }
    QString dn;
    dn.reserve(dnPart.size());
    for (qsizetype i = 0; i < dnPart.size(); ++i) {
        if (dnPart[i] == u'\\' && i + 1 < dnPart.size()) {
            if (dnPart[i + 1] != u'/')
                dn += dnPart[i];
            dn += dnPart[i + 1];
            ++i;
        } else {
            dn += dnPart[i];
        }
    }
    result.dn = dn;
    return result;
}

QString NomDnsDepuisDn(const QString& dn) {
    const std::optional<Dn> parsed = Dn::parse(dn);
    if (!parsed)
        return {};
    QStringList labels;
    for (const Rdn& rdn : parsed->rdns()) {
        for (const RdnAttribute& a : rdn.attributes) {
            if (a.type.compare(u"DC", Qt::CaseInsensitive) == 0)
                labels += a.value;
        }
    }
    return labels.join(u'.');
}

QString ComposeCheminLdap(const QString& serveur, const QString& dn) {
    QString escaped = dn;
    escaped.replace(QStringLiteral("/"), QStringLiteral("\\/"));
    return QStringLiteral("LDAP://") + (serveur.isEmpty() ? QString() : serveur + u'/') + escaped;
}

} // namespace arbrix
