#pragma once

// The store behind the embedded directory: entries by normalised DN, their children, the groups'
// members both ways, and the operations with a domain controller's checks and result codes.

#include "directory/Backend.h"
#include "directory/Dn.h"
#include "directory/Filter.h"
#include "directory/memory/Ldif.h"

#include <QHash>
#include <QSet>

#include <memory>
#include <vector>

namespace arbrix {

struct MemEntry {
    QString dn;  // as the directory spells it
    QString ndn; // normalised: the key
    QString parentNdn;
    QList<LdapAttribute> attributes;
    QStringList classes;      // the objectClass chain
    QString categoryNdn;      // normalised objectCategory
    QSet<QString> memberNdns; // groups: normalised DNs of the members
    QList<MemEntry*> children;
    bool readOnly = false;
    bool deleted = false;
    qint64 sequence = 0; // creation order
    qint64 rank = 0;     // position in a walk of the tree, for ordering indexed results
    int line = 0;        // LDIF line, for load errors

    const LdapAttribute* find(QStringView name) const;
    LdapAttribute* find(QStringView name);
    QByteArray first(QStringView name) const;
    void set(const QString& name, const QList<QByteArray>& values);
    void erase(QStringView name);
};

using EntryPtr = std::shared_ptr<MemEntry>;

struct PreparedFilter;

class MemoryDirectory {
public:
    MemoryDirectory() = default;
    MemoryDirectory(const MemoryDirectory&) = delete;
    MemoryDirectory& operator=(const MemoryDirectory&) = delete;
    ~MemoryDirectory();

    // Builds the directory from LDIF records. Raises LdifError.
    void load(QList<LdifRecord> records, const QString& source);

    const QString& namingContext() const { return m_namingContext; }
    QString dnsDomain() const;
    QString netbiosName() const;
    qsizetype size() const { return m_entries.size(); }

    MemEntry* find(const QString& dn) const;
    MemEntry* findNormalized(const QString& ndn) const;

    // Operations as a domain controller answers them; they raise LdapError.
    std::vector<EntryPtr> search(const SearchRequest& request) const;
    LdapEntry rootDse(const QStringList& attributes) const;
    LdapEntry materialize(const MemEntry& entry, const QStringList& attributes) const;
    void add(const QString& dn, const QList<LdapAttribute>& attributes);
    void modify(const QString& dn, const QList<Modification>& modifications);
    void remove(const QString& dn);
    void rename(const QString& dn, const QString& newRdn, const QString& newSuperior);
    bool compare(const QString& dn, const QString& attribute, const QByteArray& value) const;
    // Checks a login and password; raises LdapError(invalidCredentials) with the sub-code.
    void authenticate(const QString& login, const QString& password) const;

private:
    QList<MemEntry*> scopedTargets(const MemEntry& entry, const QString& attribute) const;
    EntryPtr insert(const Dn& dn, QList<LdapAttribute> attributes, int line);
    // dn as the directory spells it, ndn normalised.
    EntryPtr insert(QString dn, const QString& ndn, QList<LdapAttribute> attributes, int line);
    void setParentNdn(MemEntry& entry) const;
    // One copy of the values many entries hold (classes, categories, defaults).
    QByteArray shared(const QByteArray& value);
    QList<QByteArray> sharedList(const QByteArray& value); // of that one value
    static QByteArray spelling(const MemEntry& entry);
    void complete(MemEntry& entry);
    void synthesizeMissing();
    void link(MemEntry& entry);
    void unlink(MemEntry& entry);
    void setMembers(MemEntry& group, const QList<QByteArray>& values, bool check);
    QByteArray nextSid();
    struct ClassChain {
        QStringList classes;
        QList<QByteArray> values; // of objectClass
        QByteArray defaultCategory;
    };
    const ClassChain& classChain(const QList<QByteArray>& values);
    QString categoryDn(const QString& rdnValue) const;
    // Raises LdapError when another entry holds the name; returns the name as the index keys it.
    QString checkUniqueAccountName(const MemEntry& entry, const QByteArray& name) const;
    void relocate(MemEntry& entry, const QString& newDn);
    MemEntry& existing(const QString& dn) const;
    bool indexedCandidates(const PreparedFilter& term, std::vector<MemEntry*>& out) const;
    void refreshDerived() const;

    QHash<QString, EntryPtr> m_entries;
    QHash<QString, QList<QString>> m_memberOf; // member ndn -> group ndns
    QHash<QString, QString> m_accountNames;    // folded sAMAccountName -> ndn
    QHash<QByteArray, QByteArray> m_sharedValues;
    QHash<QByteArray, QList<QByteArray>> m_sharedLists;
    QHash<QByteArray, QString> m_categoryNdns;          // objectCategory value -> normalised
    QHash<QList<QByteArray>, ClassChain> m_classChains; // objectClass values as given -> chain
    QString m_namingContext;
    QByteArray m_domainSid;
    quint32 m_nextRid = 1100;
    QSet<quint32> m_usedRids;
    qint64 m_sequence = 0;
    // Derived from the entries, rebuilt on demand after a change.
    mutable bool m_derivedValid = false;
    mutable QHash<qint32, QList<MemEntry*>> m_byPrimaryGroup;
};

} // namespace arbrix
