#pragma once

// Search filters over the embedded directory's entries, their values prepared once per search.

#include "directory/Filter.h"
#include "directory/Values.h"
#include "directory/memory/MemoryDirectory.h"

namespace arbrix {

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

PreparedFilter prepare(const FilterNode& node, const QString& namingContext);

// Tells whether an entry matches a filter, with the values a domain controller computes
// ("memberOf", the computed account control) read as it answers them.
class Matcher {
public:
    Matcher(const MemoryDirectory& directory, const QHash<QString, QList<QString>>& memberOf)
        : m_directory(directory)
        , m_memberOf(memberOf) {}

    bool matches(const PreparedFilter& p, const MemEntry& e) const;
    QList<QByteArray> values(const MemEntry& e, QStringView name) const;

private:
    template <typename F> bool anyValue(const PreparedFilter& p, const MemEntry& e, F test) const;
    bool present(const PreparedFilter& p, const MemEntry& e) const;
    bool equal(const PreparedFilter& p, const MemEntry& e) const;
    bool ordered(const PreparedFilter& p, const MemEntry& e) const;
    bool extensible(const PreparedFilter& p, const MemEntry& e) const;
    // True when group is reached from ndn by following the groups upwards.
    bool inChain(const QString& ndn, const QString& group) const;

    const MemoryDirectory& m_directory;
    const QHash<QString, QList<QString>>& m_memberOf;
};

} // namespace arbrix
