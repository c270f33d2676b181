// The sample domain as the controller holds it and as the embedded directory holds it: the same
// objects with the same values, including what each computes (memberOf, categories, lock-out).

#include "TestDc.h"

#include "directory/Dn.h"
#include "directory/memory/MemoryBackend.h"

#include <QMap>
#include <QSet>

using namespace arbrix;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

const QStringList comparedAttributes =
    u"objectClass objectCategory name cn ou distinguishedName sAMAccountName userPrincipalName displayName "
    u"description mail telephoneNumber managedBy member memberOf groupType userAccountControl accountExpires "
    u"primaryGroupID lockoutTime msDS-User-Account-Control-Computed"_s.split(u' ');

// DN-valued attributes compare as DNs, with the sample's suffix moved to the controller's.
const QSet<QString> dnAttributes{u"objectcategory"_s, u"distinguishedname"_s, u"managedby"_s, u"member"_s,
                                 u"memberof"_s};

QSet<QString> comparable(const LdapEntry& entry, const QString& attribute, bool fromSample) {
    QSet<QString> values;
    const LdapAttribute* a = entry.find(attribute);
    if (!a)
        return values;
    const bool isDn = dnAttributes.contains(attribute.toLower());
    for (const QByteArray& raw : a->values) {
        QString value = QString::fromUtf8(raw);
        if (attribute.compare(u"msDS-User-Account-Control-Computed"_s, Qt::CaseInsensitive) == 0)
            value = QString::number(value.toLongLong() & 0x10); // the lock-out bit is what is read
        if (isDn)
            value = DnNormalise(fromSample ? OnDc(value) : value);
        else if (attribute.compare(u"objectClass"_s, Qt::CaseInsensitive) == 0)
            value = value.toLower();
        values.insert(value);
    }
    return values;
}

// The lock-out bit; a controller computes the attribute on every object, the embedded directory
// on accounts only, and the program reads it on accounts only.
QSet<QString> lockBit(const LdapEntry& entry) {
    QSet<QString> values = comparable(entry, u"msDS-User-Account-Control-Computed"_s, false);
    return values.isEmpty() ? QSet<QString>{u"0"_s} : values;
}

bool hasNoScope(const LdapEntry& entry) {
    const LdapAttribute* type = entry.find(u"groupType");
    return type && (type->values.value(0).toInt() & 0xE) == 0;
}

QString describe(const QSet<QString>& values) {
    QStringList list(values.begin(), values.end());
    list.sort();
    return u"{"_s + list.join(u" | "_s) + u"}"_s;
}

QMap<QString, LdapEntry> entriesUnder(Backend& backend, const QString& base) {
    SearchRequest request;
    request.base = base;
    request.filter = u"(objectClass=*)"_s;
    request.attributes = comparedAttributes;
    QMap<QString, LdapEntry> byDn;
    for (LdapEntry& e : searchAll(backend, request))
        byDn.insert(DnNormalise(e.dn), std::move(e));
    return byDn;
}

} // namespace

TEST(DcSample, BothDirectoriesHoldTheSameObjectsAndValues) {
    ARBRIX_REQUIRE_DC();
    MemoryBackend memory(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif"));
    memory.bind({}, {});
    auto dc = AdminBackend();
    const QMap<QString, LdapEntry> embedded = entriesUnder(memory, u"OU=Velmora,DC=velmora,DC=test"_s);
    const QMap<QString, LdapEntry> controller = entriesUnder(*dc, OnDc(u"OU=Velmora,DC=velmora,DC=test"_s));

    // The group without a scope bit is refused by controllers, with its memberships; so are the
    // principals of a trusted domain, which a controller holds only once the trust is made.
    QSet<QString> refused;
    for (const LdapEntry& e : embedded) {
        if (hasNoScope(e))
            refused.insert(DnNormalise(OnDc(e.dn)));
        for (const QString& membre : comparable(e, u"member"_s, true))
            if (membre.startsWith(u"cn=s-1-5-21-"_s))
                refused.insert(membre);
    }

    QStringList differences;
    QSet<QString> embeddedOnDc;
    for (auto it = embedded.begin(); it != embedded.end(); ++it) {
        const QString dnOnDc = DnNormalise(OnDc(it->dn));
        embeddedOnDc.insert(dnOnDc);
        const auto found = controller.constFind(dnOnDc);
        const LdapEntry* other = found != controller.cend() ? &found.value() : nullptr;
        if (!other) {
            if (!refused.contains(dnOnDc))
                differences << u"missing on the controller: "_s + it->dn;
            continue;
        }
        for (const QString& attribute : comparedAttributes) {
            const bool lock = attribute == u"msDS-User-Account-Control-Computed"_s;
            const QSet<QString> mine = lock ? lockBit(*it) : comparable(*it, attribute, true) - refused;
            const QSet<QString> theirs = lock ? lockBit(*other) : comparable(*other, attribute, false);
            if (mine != theirs)
                differences << u"%1 %2: embedded %3, controller %4"_s.arg(it->dn, attribute, describe(mine),
                                                                          describe(theirs));
        }
    }
    for (auto it = controller.begin(); it != controller.end(); ++it) {
        if (!embeddedOnDc.contains(it.key()))
            differences << u"only on the controller: "_s + it->dn;
    }
    EXPECT_TRUE(differences.isEmpty()) << differences.join(u'\n').toStdString();
}
