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
    QByteArray text;
    bool comment = false;
};

struct Paragraph {
    QList<LogicalLine> lines;
    bool readOnly = false;
};

bool isAttributeName(const QByteArray& name) {
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
        QList<bool> comments;
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
            paragraph.lines += LogicalLine{m_lineNumber, raw.toByteArray(), raw.startsWith('#')};
        }
        if (paragraph.lines.isEmpty())
            return false;
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

    // Splits "name: value", "name:: base64" into name and value bytes.
    void split(const LogicalLine& l, QByteArray& name, QByteArray& value) const {
        const qsizetype colon = l.text.indexOf(':');
        if (colon <= 0)
            fail(l.line, u"expected \"attribute: value\""_s);
        name = l.text.left(colon).trimmed();
        QByteArray rest = l.text.mid(colon + 1);
        if (rest.startsWith(':')) {
            const QByteArray encoded = rest.mid(1).trimmed();
            auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                fail(l.line, u"invalid base64 value"_s);
            value = *decoded;
        } else if (rest.startsWith('<')) {
            fail(l.line, u"values read from a URL are not supported"_s);
        } else {
            qsizetype i = 0;
            while (i < rest.size() && rest[i] == ' ')
                ++i;
            value = rest.mid(i);
        }
        if (!isAttributeName(name))
            fail(l.line, u"invalid attribute name \""_s + QString::fromUtf8(name) + u"\""_s);
        if (name.size() >= 7 && QByteArrayView(name).last(7).compare(";binary", Qt::CaseInsensitive) == 0)
            name.chop(7);
    }

    LdifRecord read(const Paragraph& p) const {
        LdifRecord record;
        const LogicalLine& first = p.lines.first();
        QByteArray name, value;
        split(first, name, value);
        if (name.toLower() != "dn")
            fail(first.line, u"expected a \"dn:\" line"_s);
        record.line = first.line;
        record.dn = QString::fromUtf8(value).trimmed();
        record.readOnly = p.readOnly;
        if (record.dn.isEmpty())
            fail(first.line, u"empty DN"_s);
        qsizetype i = 1;
        if (i < p.lines.size()) {
            split(p.lines[i], name, value);
            if (name.toLower() == "changetype") {
                const QByteArray type = value.trimmed().toLower();
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
        for (; i < p.lines.size(); ++i) {
            split(p.lines[i], name, value);
            if (name == "-")
                fail(p.lines[i].line, u"\"-\" outside a modify record"_s);
            const QString attribute = interned(name);
            value = pooled(attribute, value);
            bool found = false;
            for (LdapAttribute& a : record.attributes) {
                if (MemeNom(a.name, attribute)) {
                    a.values += value;
                    found = true;
                    break;
                }
            }
            if (!found) {
                record.attributes += LdapAttribute{attribute, {value}};
                record.attributeLines += p.lines[i].line;
            }
        }
        return record;
    }

    void readModifications(const Paragraph& p, qsizetype i, LdifRecord& record) const {
        while (i < p.lines.size()) {
            QByteArray op, attribute;
            split(p.lines[i], op, attribute);
            Modification m;
            const QByteArray lower = op.toLower();
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
                QByteArray name, value;
                split(p.lines[i], name, value);
                if (QString::fromUtf8(name).compare(m.attribute, Qt::CaseInsensitive) != 0)
                    fail(p.lines[i].line,
                         u"value of another attribute inside a modification of "_s + m.attribute);
                m.values += value;
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
    // Attribute names are shared between records: a file spells the same few names many times.
    QString interned(const QByteArray& name) const {
        auto it = m_names.constFind(name);
        if (it == m_names.constEnd())
            it = m_names.insert(name, QString::fromUtf8(name));
        return *it;
    }

    // Values of attributes that take few distinct values (classes, flags, "never" dates) are
    // shared too; an attribute stops being pooled once it shows many distinct values.
    QByteArray pooled(const QString& attribute, const QByteArray& value) const {
        constexpr qsizetype maxDistinct = 64;
        Pool& pool = m_pools[attribute];
        if (!pool.open)
            return value;
        auto it = pool.values.constFind(value);
        if (it != pool.values.constEnd())
            return *it;
        if (pool.values.size() >= maxDistinct) {
            pool.open = false;
            pool.values = {};
            return value;
        }
        pool.values.insert(value, value);
        return value;
    }

    struct Pool {
        QHash<QByteArray, QByteArray> values;
        bool open = true;
    };

    QString m_source;
    mutable QHash<QByteArray, QString> m_names;
    mutable QHash<QString, Pool> m_pools;
};

} // namespace

QList<LdifRecord> ParseLdif(const QByteArray& text, const QString& source) {
    ParagraphReader paragraphs(text);
    RecordReader reader(source);
    QList<LdifRecord> records;
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
