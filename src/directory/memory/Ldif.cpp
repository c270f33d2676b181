#include "directory/memory/Ldif.h"

#include "directory/memory/MemoryBackend.h"

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

// Joins folded lines and groups them into paragraphs separated by blank lines.
QList<Paragraph> paragraphs(const QByteArray& text) {
    QList<Paragraph> result;
    Paragraph current;
    const QList<QByteArray> physical = text.split('\n');
    int lineNumber = 0;
    for (QByteArray raw : physical) {
        ++lineNumber;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.startsWith(' ') && (!current.lines.isEmpty())) {
            current.lines.last().text += raw.mid(1);
            continue;
        }
        if (raw.isEmpty()) {
            if (!current.lines.isEmpty())
                result += current;
            current = Paragraph();
            continue;
        }
        LogicalLine l;
        l.line = lineNumber;
        l.text = raw;
        l.comment = raw.startsWith('#');
        current.lines += l;
    }
    if (!current.lines.isEmpty())
        result += current;
    // Comments are dropped here, after their folded continuations were joined to them.
    for (Paragraph& p : result) {
        QList<LogicalLine> kept;
        for (const LogicalLine& l : std::as_const(p.lines)) {
            if (!l.comment) {
                kept += l;
            } else if (l.text.mid(1).trimmed().toLower() == "arbrix: read-only") {
                p.readOnly = true;
            }
        }
        p.lines = kept;
    }
    return result;
}

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
        if (name.toLower().endsWith(";binary"))
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
            const QString attribute = QString::fromUtf8(name);
            bool found = false;
            for (LdapAttribute& a : record.attributes) {
                if (a.name.compare(attribute, Qt::CaseInsensitive) == 0) {
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
    QString m_source;
};

} // namespace

QList<LdifRecord> ParseLdif(const QByteArray& text, const QString& source) {
    QList<Paragraph> paras = paragraphs(text);
    RecordReader reader(source);
    QList<LdifRecord> records;
    bool first = true;
    for (Paragraph& p : paras) {
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
