#include "directory/Values.h"

#include "directory/Query.h"

#include <QHash>
#include <QTimeZone>

namespace arbrix {

namespace {

// Names of another length are passed over without the costly case-insensitive comparison (case
// folding keeps the length of a name).
bool oneOf(QStringView name, std::initializer_list<QStringView> names) {
    for (QStringView n : names) {
        if (n.size() == name.size() && name.compare(n, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

SyntaxeAttribut SyntaxeDe(QStringView attribut) {
    if (oneOf(attribut, {u"groupType", u"userAccountControl", u"primaryGroupID", u"sAMAccountType",
                         u"instanceType", u"msDS-User-Account-Control-Computed", u"systemFlags",
                         u"adminCount", u"badPwdCount", u"logonCount", u"codePage", u"countryCode",
                         u"msDS-SupportedEncryptionTypes", u"flags", u"supportedLDAPVersion"}))
        return SyntaxeAttribut::Entier32;
    if (oneOf(attribut,
              {u"accountExpires", u"lockoutTime", u"pwdLastSet", u"lastLogon", u"lastLogonTimestamp",
               u"badPasswordTime", u"uSNChanged", u"uSNCreated", u"lastLogoff", u"maxPwdAge", u"minPwdAge",
               u"lockoutDuration", u"lockOutObservationWindow", u"forceLogoff", u"creationTime",
               u"modifiedCount", u"highestCommittedUSN"}))
        return SyntaxeAttribut::Entier64;
    if (oneOf(attribut, {u"objectSid", u"objectGUID", u"sIDHistory", u"tokenGroups", u"thumbnailPhoto",
                         u"jpegPhoto", u"userCertificate", u"nTSecurityDescriptor", u"logonHours",
                         u"msDS-ManagedPassword", u"unicodePwd", u"mS-DS-ConsistencyGuid",
                         u"msExchMailboxGuid", u"msDS-GenerationId", u"userParameters"}))
        return SyntaxeAttribut::Binaire;
    if (EstAttributDn(attribut))
        return SyntaxeAttribut::Dn;
    return SyntaxeAttribut::Texte;
}

bool EstMultiValue(QStringView attribut) {
    return oneOf(attribut, {u"memberOf",
                            u"member",
                            u"objectClass",
                            u"servicePrincipalName",
                            u"proxyAddresses",
                            u"otherTelephone",
                            u"otherMobile",
                            u"otherHomePhone",
                            u"otherPager",
                            u"otherFacsimileTelephoneNumber",
                            u"otherIpPhone",
                            u"url",
                            u"namingContexts",
                            u"supportedControl",
                            u"supportedLDAPVersion",
                            u"supportedCapabilities",
                            u"supportedSASLMechanisms",
                            u"supportedLDAPPolicies",
                            u"dSCorePropagationData",
                            u"directReports",
                            u"managedObjects",
                            u"msDS-HostServiceAccount",
                            u"msDS-HostServiceAccountBL",
                            u"postalAddress",
                            u"sIDHistory",
                            u"tokenGroups",
                            u"msDS-AllowedToDelegateTo",
                            u"altSecurityIdentities",
                            u"userCertificate",
                            u"seeAlso",
                            u"secretary",
                            u"msDS-GroupMSAMembership",
                            u"objectClasses"});
}

static QVariant valeurSimple(SyntaxeAttribut syntaxe, const QByteArray& raw) {
    switch (syntaxe) {
    case SyntaxeAttribut::Entier32:
        return int(raw.trimmed().toLongLong()); // unsigned texts such as 4294967295 wrap as the server's
    case SyntaxeAttribut::Entier64:
        return qlonglong(raw.trimmed().toLongLong());
    case SyntaxeAttribut::Binaire:
        return raw;
    default:
        return QString::fromUtf8(raw);
    }
}

namespace {

struct NameFacts {
    SyntaxeAttribut syntax;
    bool multiValued;
};

// What the name lists say of an attribute, looked up once per name and thread: every value read
// goes through here, and a directory spells few names.
NameFacts factsOf(const QString& name) {
    constexpr qsizetype maxNames = 1024;
    thread_local QHash<QString, NameFacts> known;
    const auto it = known.constFind(name);
    if (it != known.constEnd())
        return *it;
    const NameFacts facts{SyntaxeDe(name), EstMultiValue(name)};
    if (known.size() < maxNames)
        known.insert(name, facts);
    return facts;
}

} // namespace

QVariant valeurAttribut(const LdapAttribute& attribute) {
    if (attribute.values.isEmpty())
        return {};
    const NameFacts facts = factsOf(attribute.name);
    const SyntaxeAttribut syntaxe = facts.syntax;
    if (!facts.multiValued && attribute.values.size() == 1)
        return valeurSimple(syntaxe, attribute.values.first());
    if (syntaxe == SyntaxeAttribut::Binaire) {
        QVariantList list;
        for (const QByteArray& v : attribute.values)
            list += v;
        return list;
    }
    QStringList list;
    for (const QByteArray& v : attribute.values)
        list += QString::fromUtf8(v);
    return list;
}

QList<QByteArray> octetsValeur(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QStringList: {
        QList<QByteArray> values;
        for (const QString& s : value.toStringList())
            values += s.toUtf8();
        return values;
    }
    case QMetaType::QVariantList: {
        QList<QByteArray> values;
        for (const QVariant& v : value.toList())
            values += octetsValeur(v);
        return values;
    }
    case QMetaType::QByteArray:
        return {value.toByteArray()};
    case QMetaType::Bool:
        return {value.toBool() ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE")};
    case QMetaType::Int:
    case QMetaType::Short:
        return {QByteArray::number(value.toInt())};
    case QMetaType::LongLong:
    case QMetaType::Long:
        return {QByteArray::number(value.toLongLong())};
    case QMetaType::UInt:
        return {QByteArray::number(qint32(value.toUInt()))};
    default:
        return {value.toString().toUtf8()};
    }
}

QDateTime DateDepuisFiletime(qint64 filetime) {
    if (filetime <= 0 || filetime == FiletimeJamais)
        return QDateTime(QDate(1970, 1, 1), QTime(0, 0));
    // 100 ns ticks from 1601-01-01 to 1970-01-01.
    constexpr qint64 epochOffset = 116444736000000000LL;
    const qint64 msecs = (filetime - epochOffset) / 10000;
    return QDateTime::fromMSecsSinceEpoch(msecs, QTimeZone::utc()).toLocalTime();
}

} // namespace arbrix
