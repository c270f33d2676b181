#include "directory/memory/Ldif.h"

#include "directory/memory/MemoryBackend.h"
#include "directory/memory/Schema.h"

#include <QByteArrayView>
#include <QHash>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

struct LogicalLine {
    int line = 0;
    QByteArray text; // refers to the file's text, copied only when a folded line is joined to it
    bool comment = false;
};

struct Paragraph {
    QList<LogicalLine> lines;
    bool readOnly = false;
};

bool isAttributeName(QByteArrayView name) {
    if (name.isEmpty())
        return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == ';' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

// Walks the text one paragraph (lines between blank lines) at a time, folded lines joined and
// comments dropped, so that the whole file is never held a second time as lines.
class ParagraphReader {
public:
    explicit ParagraphReader(const QByteArray& text)
        : m_text(text) {}

    // The next paragraph; false at the end of the text.
    bool next(Paragraph& paragraph) {
        paragraph.lines.clear();
        paragraph.readOnly = false;
        bool comments = false;
        while (m_pos <= m_text.size()) {
            if (m_pos == m_text.size()) {
                ++m_pos; // the last (empty) line of a text that ends with a newline, or of an empty text
                break;
            }
            qsizetype end = m_text.indexOf('\n', m_pos);
            const bool last = end < 0;
            if (last)
                end = m_text.size();
            QByteArrayView raw(m_text.constData() + m_pos, end - m_pos);
            m_pos = last ? m_text.size() + 1 : end + 1;
            ++m_lineNumber;
            if (raw.endsWith('\r'))
                raw.chop(1);
            if (raw.startsWith(' ') && !paragraph.lines.isEmpty()) {
                paragraph.lines.last().text.append(raw.sliced(1));
                continue;
            }
            if (raw.isEmpty()) {
                if (!paragraph.lines.isEmpty())
                    break;
                continue;
            }
            const bool comment = raw.startsWith('#');
            comments = comments || comment;
            paragraph.lines +=
                LogicalLine{m_lineNumber, QByteArray::fromRawData(raw.data(), raw.size()), comment};
        }
        if (paragraph.lines.isEmpty())
            return false;
        if (!comments)
            return true;
        // Comments are dropped here, after their folded continuations were joined to them.
        paragraph.lines.removeIf([&](const LogicalLine& l) {
            if (l.comment && l.text.mid(1).trimmed().toLower() == "arbrix: read-only")
                paragraph.readOnly = true;
            return l.comment;
        });
        return true;
    }

private:
    const QByteArray& m_text;
    qsizetype m_pos = 0;
    int m_lineNumber = 0;
};

class RecordReader {
public:
    RecordReader(const QString& source)
        : m_source(source) {}

    [[noreturn]] void fail(int line, const QString& message) const {
        throw LdifError(m_source, line, message);
    }

    // Splits "name: value", "name:: base64" into name and value; the value refers to the line
    // unless it was decoded into decoded.
    void split(const LogicalLine& l, QByteArrayView& name, QByteArrayView& value, QByteArray& decoded) const {
        const QByteArrayView text(l.text);
        const qsizetype colon = text.indexOf(':');
        if (colon <= 0)
            fail(l.line, u"expected \"attribute: value\""_s);
        name = text.first(colon).trimmed();
        const QByteArrayView rest = text.sliced(colon + 1);
        if (rest.startsWith(':')) {
            const QByteArrayView encoded = rest.sliced(1).trimmed();
            auto result =
                QByteArray::fromBase64Encoding(QByteArray::fromRawData(encoded.data(), encoded.size()),
                                               QByteArray::AbortOnBase64DecodingErrors);
            if (!result)
                fail(l.line, u"invalid base64 value"_s);
            decoded = std::move(*result);
            value = decoded;
        } else if (rest.startsWith('<')) {
            fail(l.line, u"values read from a URL are not supported"_s);
        } else {
            qsizetype i = 0;
            while (i < rest.size() && rest[i] == ' ')
                ++i;
            value = rest.sliced(i);
        }
        if (!isAttributeName(name))
            fail(l.line, u"invalid attribute name \""_s + QString::fromUtf8(name) + u"\""_s);
        if (name.size() >= 7 && name.last(7).compare(";binary", Qt::CaseInsensitive) == 0)
            name.chop(7);
    }

    LdifRecord read(const Paragraph& p) const {
        LdifRecord record;
        const LogicalLine& first = p.lines.first();
        QByteArrayView name, value;
        QByteArray decoded;
        split(first, name, value, decoded);
        if (name.compare("dn", Qt::CaseInsensitive) != 0)
            fail(first.line, u"expected a \"dn:\" line"_s);
        record.line = first.line;
        record.dn = QString::fromUtf8(value).trimmed();
        record.readOnly = p.readOnly;
        if (record.dn.isEmpty())
            fail(first.line, u"empty DN"_s);
        qsizetype i = 1;
        if (i < p.lines.size()) {
            split(p.lines[i], name, value, decoded);
            if (name.compare("changetype", Qt::CaseInsensitive) == 0) {
                const QByteArray type = value.trimmed().toByteArray().toLower();
                ++i;
                if (type == "add") {
                    record.kind = LdifRecord::Kind::Add;
                } else if (type == "delete") {
                    record.kind = LdifRecord::Kind::Delete;
                    if (i < p.lines.size())
                        fail(p.lines[i].line, u"a delete record takes no attributes"_s);
                    return record;
                } else if (type == "modify") {
                    record.kind = LdifRecord::Kind::Modify;
                    readModifications(p, i, record);
                    return record;
                } else {
                    fail(p.lines[i - 1].line,
                         u"unsupported change type \""_s + QString::fromUtf8(type) + u"\""_s);
                }
            }
        }
        if (i >= p.lines.size())
            fail(first.line, u"entry without attributes"_s);
        record.attributes.reserve(std::min<qsizetype>(p.lines.size() - i, 16)); // at most one per line
        qsizetype current = -1; // the attribute of the previous line: values of one come together
        for (; i < p.lines.size(); ++i) {
            split(p.lines[i], name, value, decoded);
            if (name == "-")
                fail(p.lines[i].line, u"\"-\" outside a modify record"_s);
            Name& attribute = named(name);
            QList<QByteArray> stored = attribute.pooled(value);
            if (current < 0 || !MemeNom(record.attributes[current].name, attribute.text)) {
                current = -1;
                for (qsizetype a = 0; a < record.attributes.size() && current < 0; ++a) {
                    if (MemeNom(record.attributes[a].name, attribute.text))
                        current = a;
                }
            }
            if (current >= 0) {
                record.attributes[current].values += stored.first();
            } else {
                current = record.attributes.size();
                record.attributes += LdapAttribute{attribute.text, std::move(stored)};
            }
        }
        return record;
    }

    void readModifications(const Paragraph& p, qsizetype i, LdifRecord& record) const {
        QByteArray decoded;
        while (i < p.lines.size()) {
            QByteArrayView op, attribute;
            split(p.lines[i], op, attribute, decoded);
            Modification m;
            const QByteArray lower = op.toByteArray().toLower();
            if (lower == "add")
                m.op = ModOp::Add;
            else if (lower == "delete")
                m.op = ModOp::Delete;
            else if (lower == "replace")
                m.op = ModOp::Replace;
            else
                fail(p.lines[i].line, u"expected add:, delete: or replace:"_s);
            m.attribute = QString::fromUtf8(attribute.trimmed());
            const int opLine = p.lines[i].line;
            ++i;
            while (i < p.lines.size() && p.lines[i].text != "-") {
                QByteArrayView name, value;
                split(p.lines[i], name, value, decoded);
                if (QString::fromUtf8(name).compare(m.attribute, Qt::CaseInsensitive) != 0)
                    fail(p.lines[i].line,
                         u"value of another attribute inside a modification of "_s + m.attribute);
                m.values += value.toByteArray();
                ++i;
            }
            if (i < p.lines.size())
                ++i; // "-"
            if (m.op == ModOp::Add && m.values.isEmpty())
                fail(opLine, u"add: without values"_s);
            record.modifications += m;
        }
        if (record.modifications.isEmpty())
            fail(record.line, u"modify record without modifications"_s);
    }

private:
    // An attribute name as spelt in the file, shared between records: a file spells the same few
    // names many times. Values of attributes that take few distinct values (classes, flags,
    // "never" dates) are shared too, as one-value lists; an attribute stops being pooled once it
    // shows many distinct values.
    struct Name {
        QString text;
        QHash<QByteArray, QList<QByteArray>> pool;
        bool pooling = true;

        // The value as a one-value list.
        QList<QByteArray> pooled(QByteArrayView value) {
            constexpr qsizetype maxDistinct = 64;
            if (!pooling)
                return {value.toByteArray()};
            // A key over the line's bytes, for the look-up only.
            const auto it = pool.constFind(QByteArray::fromRawData(value.data(), value.size()));
            if (it != pool.constEnd())
                return *it;
            const QByteArray owned = value.toByteArray();
            if (pool.size() >= maxDistinct) {
                pooling = false;
                pool = {};
                return {owned};
            }
            return *pool.insert(owned, {owned});
        }
    };

    Name& named(QByteArrayView name) const {
        auto it = m_names.find(QByteArray::fromRawData(name.data(), name.size()));
        if (it == m_names.end())
            it = m_names.insert(name.toByteArray(), Name{QString::fromUtf8(name), {}, true});
        return *it;
    }

    QString m_source;
    mutable QHash<QByteArray, Name> m_names;
};

} // namespace

QList<LdifRecord> ParseLdif(const QByteArray& text, const QString& source) {
    ParagraphReader paragraphs(text);
    RecordReader reader(source);
    QList<LdifRecord> records;
    // Room for a record every few hundred bytes, rather than growing the list many times: room
    // left unused is never touched, so costs no memory.
    records.reserve(text.size() / 256 + 1);
    bool first = true;
    Paragraph p;
    while (paragraphs.next(p)) {
        if (p.lines.isEmpty())
            continue; // comments only
        if (first && p.lines.first().text.toLower().startsWith("version:")) {
            if (p.lines.first().text.mid(8).trimmed() != "1")
                reader.fail(p.lines.first().line, u"unsupported LDIF version"_s);
            p.lines.removeFirst();
            if (p.lines.isEmpty()) {
                first = false;
                continue;
            }
        }
        first = false;
        records += reader.read(p);
    }
    return records;
}

} // namespace arbrix
