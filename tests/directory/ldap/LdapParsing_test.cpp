#include "directory/ldap/LdapDiscovery.h"
#include "directory/ldap/LdapRange.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(LdapRange, ReadsTheSliceAServerNames) {
    const struct {
        QString name;
        std::optional<PlageValeurs> slice;
    } rows[] = {
        {u"member;range=0-1499"_s, PlageValeurs{u"member"_s, 0, 1499, false}},
        {u"member;Range=3000-*"_s, PlageValeurs{u"member"_s, 3000, -1, true}},
        // Other options stay with the attribute's name.
        {u"userCertificate;binary;range=0-*"_s, PlageValeurs{u"userCertificate;binary"_s, 0, -1, true}},
        {u"member"_s, std::nullopt},
        {u"member;range=5-2"_s, std::nullopt}, // backwards: never asked for again
        {u"member;range=a-b"_s, std::nullopt},
        {u";range=0-*"_s, std::nullopt},
        // Found by the fuzzer: the next slice of these would overflow.
        {u"member;range=0-9223372036854775807"_s, std::nullopt},
        {u"member;range=9223372036854775807-*"_s, std::nullopt},
        {u"member;range=0-2147483647"_s, std::nullopt}, // not the last, yet no index after it
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const std::optional<PlageValeurs> slice = AnalysePlage(row.name);
        ASSERT_EQ(slice.has_value(), row.slice.has_value());
        if (!slice)
            continue;
        EXPECT_EQ(slice->attribut, row.slice->attribut);
        EXPECT_EQ(slice->debut, row.slice->debut);
        EXPECT_EQ(slice->derniere, row.slice->derniere);
        if (!slice->derniere) {
            EXPECT_EQ(slice->fin, row.slice->fin);
        }
    }
}

TEST(LdapRange, RequestsTheFirstSliceOfNamedAttributesAndThenTheNext) {
    const QStringList asked{u"member"_s, u"*"_s, u"1.1"_s, u"cn;binary"_s};
    EXPECT_EQ(AttributsAvecPlage(asked, 0), asked);
    EXPECT_EQ(AttributsAvecPlage(asked, 10),
              (QStringList{u"member;range=0-9"_s, u"*"_s, u"1.1"_s, u"cn;binary"_s}));

    const PlageValeurs first{u"member"_s, 0, 1499, false};
    EXPECT_EQ(PlageSuivante(first, 0), u"member;range=1500-*"_s);
    EXPECT_EQ(PlageSuivante(first, 100), u"member;range=1500-1599"_s);
    EXPECT_EQ(PlageSuivante(PlageValeurs{u"member"_s, 0, 2147483640, false}, 100),
              u"member;range=2147483641-*"_s);
}

TEST(LdapDiscovery, ReadsTheDefaultRealmOfLibdefaultsOnly) {
    const QString conf = u"# comment\n[realms]\n  default_realm = WRONG.TEST\n[libdefaults]\n"
                         u"\tdns_lookup_kdc = false\n\tdefault_realm = VELMORA.TEST\n"
                         u"[domain_realm]\n default_realm = ALSO.WRONG\n"_s;
    EXPECT_EQ(RoyaumeDepuisKrb5Conf(conf), u"VELMORA.TEST"_s);
    EXPECT_EQ(RoyaumeDepuisKrb5Conf(u"[libdefaults]\n  dns_lookup_kdc = true\n"_s), QString());
    EXPECT_EQ(RoyaumeDepuisKrb5Conf(QString()), QString());
}

TEST(LdapDiscovery, FindsNoControllerForADomainWithoutRecords) {
    EXPECT_TRUE(ControleursDuDomaine(QString()).isEmpty());
    EXPECT_TRUE(ControleursDuDomaine(u"no-such-domain.invalid"_s).isEmpty());
}
