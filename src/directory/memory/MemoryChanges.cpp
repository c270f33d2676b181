#include "directory/memory/MemoryDirectory.h"

#include "directory/Classification.h"
#include "directory/memory/MemoryCommon.h"
#include "directory/memory/MemorySpelling.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

Dn parseOrFail(const QString& text) {
    const std::optional<Dn> dn = Dn::parse(text);
    if (!dn || dn->isEmpty())
        fail(LdapCode::InvalidDnSyntax,
             u"00002081: NameErr: DSID-03100225, problem 2003 (BAD_ATT_SYNTAX), data 0: "_s + text);
    return *dn;
}

} // namespace

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

} // namespace arbrix
