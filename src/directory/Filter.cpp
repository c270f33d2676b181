#include "directory/Filter.h"

#include "directory/Hex.h"

namespace arbrix {

namespace {

QString hexEscape(uchar byte) {
    return QStringLiteral("\\%1").arg(byte, 2, 16, QLatin1Char('0'));
}

bool isAttributeChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
           c == u'.' || c == u';' || c == u'_';
}

class FilterParser {
public:
    explicit FilterParser(QStringView text)
        : m_text(text) {}

    std::optional<FilterNode> parseAll() {
        skipSpaces();
        std::optional<FilterNode> node;
        if (peek() == u'(') {
            node = parseFilter();
        } else {
            // A bare item: the whole text is its content.
            node = parseItem(m_text.size());
        }
        skipSpaces();
        if (!node || m_pos != m_text.size())
            return std::nullopt;
        return node;
    }

private:
    QChar peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }
    void skipSpaces() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    std::optional<FilterNode> parseFilter() {
        skipSpaces();
        if (peek() != u'(')
            return std::nullopt;
        ++m_pos;
        skipSpaces();
        std::optional<FilterNode> node;
        const QChar c = peek();
        if (c == u'&' || c == u'|') {
            ++m_pos;
            node = FilterNode{};
            node->kind = c == u'&' ? FilterNode::Kind::And : FilterNode::Kind::Or;
            skipSpaces();
            while (peek() == u'(') {
                std::optional<FilterNode> child = parseFilter();
                if (!child)
                    return std::nullopt;
                node->children += *child;
                skipSpaces();
            }
        } else if (c == u'!') {
            ++m_pos;
            std::optional<FilterNode> child = parseFilter();
            if (!child)
                return std::nullopt;
            node = FilterNode{};
            node->kind = FilterNode::Kind::Not;
            node->children += *child;
            skipSpaces();
        } else {
            node = parseItem(closingParen());
        }
        if (!node || peek() != u')')
            return std::nullopt;
        ++m_pos;
        return node;
    }

    // The position of the ")" that ends the current item (escapes are "\XX", never "\)").
    qsizetype closingParen() const {
        for (qsizetype i = m_pos; i < m_text.size(); ++i) {
            if (m_text[i] == u')')
                return i;
            if (m_text[i] == u'(')
                return -1;
        }
        return -1;
    }

    std::optional<FilterNode> parseItem(qsizetype end) {
        if (end < 0)
            return std::nullopt;
        const QStringView item = m_text.mid(m_pos, end - m_pos);
        m_pos = end;
        FilterNode node;
        qsizetype i = 0;
        while (i < item.size() && isAttributeChar(item[i]))
            ++i;
        QString attribute = item.left(i).toString();
        // Extensible match: attr[:dn][:rule]:=value
        if (i < item.size() && item[i] == u':')
            return parseExtensible(node, attribute, item.mid(i));
        if (attribute.isEmpty() || i >= item.size())
            return std::nullopt;
        node.attribute = attribute;
        QStringView rest = item.mid(i);
        if (rest.startsWith(u">=")) {
            node.kind = FilterNode::Kind::GreaterOrEqual;
            rest = rest.mid(2);
        } else if (rest.startsWith(u"<=")) {
            node.kind = FilterNode::Kind::LessOrEqual;
            rest = rest.mid(2);
        } else if (rest.startsWith(u"~=")) {
            node.kind = FilterNode::Kind::Approx;
            rest = rest.mid(2);
        } else if (rest.startsWith(u'=')) {
            node.kind = FilterNode::Kind::Equality;
            rest = rest.mid(1);
        } else {
            return std::nullopt;
        }
        if (node.kind != FilterNode::Kind::Equality) {
            if (rest.contains(u'*'))
                return std::nullopt;
            return unescape(rest, node.value) ? std::optional<FilterNode>(node) : std::nullopt;
        }
        if (rest == u"*") {
            node.kind = FilterNode::Kind::Present;
            return node;
        }
        if (!rest.contains(u'*'))
            return unescape(rest, node.value) ? std::optional<FilterNode>(node) : std::nullopt;
        return parseSubstring(node, rest);
    }

    static std::optional<FilterNode> parseSubstring(FilterNode& node, QStringView value) {
        node.kind = FilterNode::Kind::Substring;
        const QList<QStringView> pieces = value.split(u'*');
        if (!unescape(pieces.first(), node.initial) || !unescape(pieces.last(), node.final))
            return std::nullopt;
        for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
            QByteArray piece;
            if (!unescape(pieces[i], piece) || piece.isEmpty())
                return std::nullopt; // "**" is not a valid substring filter
            node.any += piece;
        }
        return node;
    }

    static std::optional<FilterNode> parseExtensible(FilterNode& node, const QString& attribute,
                                                     QStringView rest) {
        node.kind = FilterNode::Kind::Extensible;
        node.attribute = attribute;
        const qsizetype assign = rest.indexOf(u":=");
        if (assign < 0)
            return std::nullopt;
        const QList<QStringView> parts = rest.left(assign).split(u':', Qt::SkipEmptyParts);
        for (QStringView part : parts) {
            if (part.compare(u"dn", Qt::CaseInsensitive) == 0)
                node.dnAttributes = true;
            else
                node.matchingRule = part.toString();
        }
        if (attribute.isEmpty() && node.matchingRule.isEmpty())
            return std::nullopt;
        return unescape(rest.mid(assign + 2), node.value) ? std::optional<FilterNode>(node) : std::nullopt;
    }

    // Decodes "\XX" escapes into bytes; the rest is UTF-8.
    static bool unescape(QStringView text, QByteArray& out) {
        out.clear();
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'(' || text[i] == u')')
                return false;
            if (text[i] != u'\\')
                continue;
            if (i + 2 >= text.size())
                return false;
            const std::optional<char> byte = HexPairByte(text[i + 1], text[i + 2]);
            if (!byte)
                return false;
            out += text.mid(start, i - start).toUtf8();
            out += *byte;
            i += 2;
            start = i + 1;
        }
        out += text.mid(start).toUtf8();
        return true;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<FilterNode> ParseFilter(QStringView text) {
    return FilterParser(text).parseAll();
}

QString EscapeFilterBytes(const QByteArray& value) {
    QString out;
    const QString text = QString::fromUtf8(value);
    const bool validUtf8 = text.toUtf8() == value;
    if (!validUtf8) {
        for (char byte : value)
            out += hexEscape(uchar(byte));
        return out;
    }
    for (QChar c : text) {
        if (c == u'*' || c == u'(' || c == u')' || c == u'\\' || c.unicode() == 0)
            out += hexEscape(uchar(c.unicode()));
        else
            out += c;
    }
    return out;
}

} // namespace arbrix
