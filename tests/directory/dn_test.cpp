#include "directory/Classification.h"
#include "directory/Dn.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(DnParsing, EscapedCommasHexPairsQuotesAndMultiValuedRdns) {
    const std::optional<Dn> dn = Dn::parse(u"CN=Smith\\, John,OU=R&D\\2C Paris,OU=\"Sales, EMEA\",DC=x"_s);
    ASSERT_TRUE(dn);
    ASSERT_EQ(dn->size(), 4);
    EXPECT_EQ(dn->rdn(0).attributes.first().value, u"Smith, John"_s);
    EXPECT_EQ(dn->rdn(1).attributes.first().value, u"R&D, Paris"_s);
    EXPECT_EQ(dn->rdn(2).attributes.first().value, u"Sales, EMEA"_s);
    EXPECT_EQ(dn->rdn(0).text, u"CN=Smith\\, John"_s);
    EXPECT_EQ(Dn::parse(u"CN=\\C3\\A9t\\C3\\A9,DC=x"_s)->rdn(0).attributes.first().value, u"été"_s);
    EXPECT_EQ(Dn::parse(u"CN=a+UID=b,DC=x"_s)->rdn(0).attributes.size(), 2);
    EXPECT_EQ(Dn::parse(u"CN=\\ lead\\ ,DC=x"_s)->rdn(0).attributes.first().value, u" lead "_s);
    EXPECT_EQ(Dn::parse(u"CN=trail  ,DC=x"_s)->rdn(0).attributes.first().value, u"trail"_s);
    for (const QString& bad : {u"CN=a,"_s, u"CN"_s, u"=a"_s, u"CN=a\\"_s, u"CN=a\\zz"_s, u"CN=\"open"_s,
                               u"CN=a<b"_s, u"CN=,DC=x"_s, u"CN=\"\",DC=x"_s})
        EXPECT_FALSE(Dn::parse(bad)) << bad.toStdString();
    EXPECT_TRUE(Dn::parse(u""_s)->isEmpty());
}

TEST(DnParsing, ComparisonIgnoresCaseSpacingAndEscapeForms) {
    EXPECT_TRUE(DnEgaux(u"CN=Smith\\, John,OU=Sales,DC=x"_s, u"cn=smith\\2c john, ou=SALES,dc=X"_s));
    EXPECT_TRUE(DnEgaux(u"CN=Équipe,DC=x"_s, u"cn=équipe,dc=x"_s));
    EXPECT_FALSE(DnEgaux(u"CN=Smith\\, John,OU=Sales,DC=x"_s, u"CN=Smith,CN=John,OU=Sales,DC=x"_s));
    EXPECT_TRUE(Dn::parse(u"CN=a,OU=b,DC=x"_s)->isDescendantOf(*Dn::parse(u"ou=B,dc=X"_s)));
    EXPECT_FALSE(Dn::parse(u"OU=b,DC=x"_s)->isDescendantOf(*Dn::parse(u"OU=b,DC=x"_s)));
}

TEST(DnParsing, ParentRdnAndValueNeverCutInsideAName) {
    EXPECT_EQ(DnParent(u"CN=Chercheurs R&D\\, Paris,OU=R&D\\, Paris,DC=x"_s), u"OU=R&D\\, Paris,DC=x"_s);
    EXPECT_EQ(DnRdn(u"CN=Chercheurs R&D\\, Paris,OU=R&D\\, Paris,DC=x"_s), u"CN=Chercheurs R&D\\, Paris"_s);
    EXPECT_EQ(DnValeurRdn(u"CN=Chercheurs R&D\\, Paris,OU=R&D\\, Paris,DC=x"_s), u"Chercheurs R&D, Paris"_s);
    EXPECT_TRUE(DnParent(u"DC=x"_s).isEmpty());
}

TEST(DnEscaping, ValuesAndUserTypedRdns) {
    EXPECT_EQ(EchappeValeurDn(u"#a, b+c\"d\\e<f>;g= "_s), u"\\#a\\, b\\+c\\\"d\\\\e\\<f\\>\\;g\\=\\ "_s);
    EXPECT_EQ(RdnDepuisSaisie(u"CN=Smith, John"_s)->text, u"CN=Smith\\, John"_s);
    EXPECT_EQ(RdnDepuisSaisie(u"CN=Smith\\, John"_s)->text, u"CN=Smith\\, John"_s);
    EXPECT_EQ(RdnDepuisSaisie(u"CN=O'Brien (Paris)"_s)->text, u"CN=O'Brien (Paris)"_s);
    EXPECT_EQ(RdnDepuisSaisie(u"CN=#1"_s)->attributes.first().value, u"#1"_s);
    EXPECT_FALSE(RdnDepuisSaisie(u"Sales"_s));
    EXPECT_FALSE(RdnDepuisSaisie(u"CN="_s));
}

TEST(LdapPaths, ServerPartRootDseAndSlashEscapes) {
    const auto p = AnalyseCheminLdap(u"LDAP://velmora.test/CN=Achats\\/Logistique,OU=Labo A\\/B,DC=x"_s);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->serveur, u"velmora.test"_s);
    EXPECT_EQ(p->dn, u"CN=Achats/Logistique,OU=Labo A/B,DC=x"_s);
    EXPECT_TRUE(AnalyseCheminLdap(u"LDAP://RootDSE"_s)->rootDse);
    EXPECT_TRUE(AnalyseCheminLdap(u"ldap://dc1/RootDSE"_s)->rootDse);
    EXPECT_EQ(AnalyseCheminLdap(u"LDAP://velmora.test"_s)->serveur, u"velmora.test"_s);
    EXPECT_EQ(AnalyseCheminLdap(u"LDAP://CN=a\\,b,DC=x"_s)->dn, u"CN=a\\,b,DC=x"_s);
    EXPECT_FALSE(AnalyseCheminLdap(u"CN=a,DC=x"_s));
    EXPECT_EQ(ComposeCheminLdap(u"srv"_s, u"CN=A/B,DC=x"_s), u"LDAP://srv/CN=A\\/B,DC=x"_s);
}

// Inputs the fuzzer found: the DN as spelt must read back as the same DN.
TEST(DnParsing, WrittenBackReadsAsTheSameDn) {
    for (const QString& text : {u"CN=a\\ ,DC=x"_s, u"CN=\\ lead\\ ,DC=x"_s, u"CN=a\\\\ ,DC=x"_s, u"CN=\n"_s,
                                u"CN=a\t,DC=x"_s, u"CN=a  +UID=b\\ ,DC=x"_s}) {
        const std::optional<Dn> dn = Dn::parse(text);
        ASSERT_TRUE(dn) << text.toStdString();
        const std::optional<Dn> again = Dn::parse(dn->toString());
        ASSERT_TRUE(again) << dn->toString().toStdString();
        EXPECT_EQ(again->normalized(), dn->normalized()) << text.toStdString();
    }
    EXPECT_EQ(Dn::parse(u"CN=a\\ ,DC=x"_s)->rdn(0).text, u"CN=a\\ "_s);
    EXPECT_EQ(Dn::parse(u"CN=a\\\\  ,DC=x"_s)->rdn(0).text, u"CN=a\\\\"_s);
}
