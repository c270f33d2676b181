#include "directory/ldap/LdapDiscovery.h"
#include "directory/ldap/LdapRange.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(LdapRange, ReadsTheSliceAServerNames) {
    const auto middle = AnalysePlage(u"member;range=0-1499"_s);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->attribut, u"member"_s);
    EXPECT_EQ(middle->debut, 0);
    EXPECT_EQ(middle->fin, 1499);
    EXPECT_FALSE(middle->derniere);

    const auto last = AnalysePlage(u"member;Range=3000-*"_s);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->debut, 3000);
    EXPECT_TRUE(last->derniere);

    // Other options stay with the attribute's name.
    const auto withOption = AnalysePlage(u"userCertificate;binary;range=0-*"_s);
    ASSERT_TRUE(withOption);
    EXPECT_EQ(withOption->attribut, u"userCertificate;binary"_s);
}

TEST(LdapRange, IgnoresNamesWithoutAValidRange) {
    EXPECT_FALSE(AnalysePlage(u"member"_s));
    EXPECT_FALSE(AnalysePlage(u"member;range=5-2"_s)); // backwards: never asked for again
    EXPECT_FALSE(AnalysePlage(u"member;range=a-b"_s));
    EXPECT_FALSE(AnalysePlage(u";range=0-*"_s));
    // Found by the fuzzer: the next slice of this one would overflow.
    EXPECT_FALSE(AnalysePlage(u"member;range=0-9223372036854775807"_s));
    EXPECT_FALSE(AnalysePlage(u"member;range=9223372036854775807-*"_s));
}

TEST(LdapRange, AsksForTheNextSlice) {
    const PlageValeurs first{u"member"_s, 0, 1499, false};
    EXPECT_EQ(PlageSuivante(first, 0), u"member;range=1500-*"_s);
    EXPECT_EQ(PlageSuivante(first, 100), u"member;range=1500-1599"_s);
}

TEST(LdapRange, RequestsTheFirstSliceOfNamedAttributesOnly) {
    const QStringList asked{u"member"_s, u"*"_s, u"1.1"_s, u"cn;binary"_s};
    EXPECT_EQ(AttributsAvecPlage(asked, 0), asked);
    EXPECT_EQ(AttributsAvecPlage(asked, 10),
              (QStringList{u"member;range=0-9"_s, u"*"_s, u"1.1"_s, u"cn;binary"_s}));
}

TEST(LdapDiscovery, ReadsTheDefaultRealmOfLibdefaultsOnly) {
    const QString conf = u"# comment\n"
                         "[realms]\n"
                         "  default_realm = WRONG.TEST\n"
                         "[libdefaults]\n"
                         "\tdns_lookup_kdc = false\n"
                         "\tdefault_realm = VELMORA.TEST\n"
                         "[domain_realm]\n"
                         " default_realm = ALSO.WRONG\n"_s;
    EXPECT_EQ(RoyaumeDepuisKrb5Conf(conf), u"VELMORA.TEST"_s);
    EXPECT_EQ(RoyaumeDepuisKrb5Conf(u"[libdefaults]\n  dns_lookup_kdc = true\n"_s), QString());
    EXPECT_EQ(RoyaumeDepuisKrb5Conf(QString()), QString());
}

TEST(LdapDiscovery, TurnsServerNamesIntoUris) {
    EXPECT_EQ(DecoupeUris(u" ldap://a.test, ldaps://b.test:636  ldapi://%2Frun%2Fldapi "_s),
              (QStringList{u"ldap://a.test"_s, u"ldaps://b.test:636"_s, u"ldapi://%2Frun%2Fldapi"_s}));
    EXPECT_EQ(UriDuServeur(u"dc1.velmora.test"_s), u"ldap://dc1.velmora.test"_s);
    EXPECT_EQ(UriDuServeur(u" dc1.velmora.test:3268 "_s), u"ldap://dc1.velmora.test:3268"_s);
    EXPECT_EQ(UriDuServeur(u"ldaps://dc1.velmora.test"_s), u"ldaps://dc1.velmora.test"_s);
    EXPECT_EQ(UrisDepuisListeSrv(u"dc1.velmora.test:389 dc2.velmora.test:389"_s),
              (QStringList{u"ldap://dc1.velmora.test:389"_s, u"ldap://dc2.velmora.test:389"_s}));
    EXPECT_TRUE(UrisDepuisListeSrv(QString()).isEmpty());
}

TEST(LdapDiscovery, FindsNoControllerForADomainWithoutRecords) {
    EXPECT_TRUE(ControleursDuDomaine(QString()).isEmpty());
    EXPECT_TRUE(ControleursDuDomaine(u"no-such-domain.invalid"_s).isEmpty());
}
