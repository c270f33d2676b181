#pragma once

// LDAP search filters in their string form: parsed into a tree of nodes with values unescaped.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace arbrix {

struct FilterNode {
    enum class Kind {
        And,
        Or,
        Not,
        Equality,
        Substring,
        GreaterOrEqual,
        LessOrEqual,
        Present,
        Approx,
        Extensible
    };

    Kind kind = Kind::Present;
    QString attribute;
    QByteArray value; // Equality, GreaterOrEqual, LessOrEqual, Approx, Extensible
    // Substring: initial*any1*any2*final; an empty initial or final means none.
    QByteArray initial;
    QList<QByteArray> any;
    QByteArray final;
    QString matchingRule; // Extensible: an OID or a rule name; empty when none
    bool dnAttributes = false;
    QList<FilterNode> children; // And, Or (any number), Not (one)
};

// Parses a filter. Whitespace between components is tolerated, and a filter given without its
// outer parentheses ("cn=x") is read as if it had them. nullopt when malformed.
std::optional<FilterNode> ParseFilter(QStringView text);

// Writes a value for a filter, escaping "*", "(", ")", "\" and NUL (and bytes that are not UTF-8).
QString EscapeFilterBytes(const QByteArray& value);

} // namespace arbrix
