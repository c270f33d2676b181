#include "directory/Filter.h"
#include "directory/Query.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

RequeteTraduite translate(const QString& text, SearchScope scope = SearchScope::Subtree) {
    return TraduitRequete(text, scope);
}

qint32 errorOf(const QString& text) {
    try {
        TraduitRequete(text);
    } catch (const DirectoryError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(Escaping, FilterValuesFollowTheLdapRules) {
    EXPECT_EQ(EchappeValeurFiltre(u"Ventes (EMEA)*\\"_s), u"Ventes \\28EMEA\\29\\2a\\5c"_s);
    EXPECT_EQ(EchappeValeurFiltre(QString(QChar(0))), u"\\00"_s);
    EXPECT_EQ(EchappeValeurFiltre(u"Zoé D'Arcy, 王芳"_s), u"Zoé D'Arcy, 王芳"_s);
    EXPECT_EQ(EchappeValeurFiltreGenerique(u"*Petit (x)*"_s), u"*Petit \\28x\\29*"_s);
}

TEST(SqlDialect, SelectFromWhereBecomesBaseFilterAndAttributes) {
    const RequeteTraduite q =
        translate(u"SELECT Name, DistinguishedName, sAMAccountName FROM 'LDAP://DC=velmora,DC=test' WHERE "
                  u"objectClass='organizationalUnit' AND Name='Ventes'"_s);
    EXPECT_EQ(q.requete.base, u"DC=velmora,DC=test"_s);
    EXPECT_TRUE(q.serveur.isEmpty());
    EXPECT_EQ(q.requete.filter, u"(&(objectClass=organizationalUnit)(Name=Ventes))"_s);
    EXPECT_EQ(q.requete.attributes, (QStringList{u"Name"_s, u"DistinguishedName"_s, u"sAMAccountName"_s}));
    EXPECT_EQ(q.requete.scope, SearchScope::Subtree);
    EXPECT_EQ(translate(u"SELECT Name FROM 'LDAP://OU=A,DC=x' WHERE objectCategory='group'"_s,
                        SearchScope::OneLevel)
                  .requete.scope,
              SearchScope::OneLevel);
}

TEST(SqlDialect, ValuesAreEscapedAndOnlyStarsStayWildcards) {
    EXPECT_EQ(translate(u"SELECT cn FROM 'LDAP://DC=x' WHERE CN='LD Lettre d''info (x)*'"_s).requete.filter,
              u"(CN=LD Lettre d'info \\28x\\29*)"_s);
    EXPECT_EQ(translate(u"SELECT cn FROM 'LDAP://DC=x' WHERE CN='a\\b'"_s).requete.filter, u"(CN=a\\5cb)"_s);
    EXPECT_EQ(translate(u"SELECT cn FROM 'LDAP://DC=x' WHERE description='*'"_s).requete.filter,
              u"(description=*)"_s);
    // DN-valued attributes take no wildcard.
    EXPECT_EQ(
        translate(u"SELECT cn FROM 'LDAP://DC=x' WHERE memberOf='CN=G*,DC=x' AND objectCategory='group'"_s)
            .requete.filter,
        u"(&(memberOf=CN=G\\2a,DC=x)(objectCategory=group))"_s);
    EXPECT_EQ(translate(u"SELECT cn FROM 'LDAP://DC=x' WHERE DistinguishedName='CN=R&D\\, Paris (1),DC=x'"_s)
                  .requete.filter,
              u"(DistinguishedName=CN=R&D\\5c, Paris \\281\\29,DC=x)"_s);
}

TEST(SqlDialect, OperatorsParenthesesAndKeywordsInAnyCase) {
    EXPECT_EQ(
        translate(u"select a from 'LDAP://DC=x' where ObjectClass = 'group' and (cn='a' or not cn<>'b')"_s)
            .requete.filter,
        u"(&(ObjectClass=group)(|(cn=a)(!(!(cn=b)))))"_s);
    EXPECT_EQ(translate(u"SELECT a FROM 'LDAP://DC=x' WHERE groupType=8 AND uSNChanged>=5"_s).requete.filter,
              u"(&(groupType=8)(uSNChanged>=5))"_s);
    EXPECT_EQ(translate(u"SELECT a FROM 'LDAP://DC=x' WHERE x>3"_s).requete.filter, u"(&(x>=3)(!(x=3)))"_s);
    EXPECT_EQ(translate(u"SELECT a FROM 'LDAP://DC=x'"_s).requete.filter, u"(objectClass=*)"_s);
    for (const QString& bad : {u"SELECT FROM 'LDAP://DC=x'"_s, u"SELECT a FROM 'LDAP://DC=x' WHERE cn='x"_s,
                               u"SELECT a FROM 'LDAP://DC=x' WHERE (cn='x'"_s, u"SELECT a FROM LDAP://DC=x"_s,
                               u"SELECT a FROM 'LDAP://DC=x' WHERE cn='x' AND"_s, u"DELETE a"_s,
                               u"SELECT a FROM 'nowhere' WHERE cn='x'"_s})
        EXPECT_EQ(errorOf(bad), ErrorNumber::QuerySyntax) << bad.toStdString();
}

TEST(SqlDialect, BasePathsWithServerSlashesAndQuotes) {
    const RequeteTraduite mode2 =
        translate(u"SELECT a FROM 'LDAP://velmora.test/OU=Labo A\\/B,DC=x' WHERE cn='y'"_s);
    EXPECT_EQ(mode2.serveur, u"velmora.test"_s);
    EXPECT_EQ(mode2.requete.base, u"OU=Labo A/B,DC=x"_s);
    const RequeteTraduite serverOnly = translate(u"SELECT a FROM 'LDAP://velmora.test' WHERE cn='y'"_s);
    EXPECT_TRUE(serverOnly.baseServeur);
    EXPECT_TRUE(serverOnly.requete.base.isEmpty());
    // A slash left unescaped inside a DN does not make a server.
    const RequeteTraduite raw = translate(u"SELECT a FROM 'LDAP://OU=Labo A/B,DC=x' WHERE cn='y'"_s);
    EXPECT_TRUE(raw.serveur.isEmpty());
    EXPECT_EQ(raw.requete.base, u"OU=Labo A/B,DC=x"_s);
    EXPECT_EQ(translate(u"SELECT a FROM 'LDAP://OU=D''Arcy,DC=x' WHERE cn='y'"_s).requete.base,
              u"OU=D'Arcy,DC=x"_s);
}

TEST(LdapDialect, BaseFilterAttributesAndScope) {
    const RequeteTraduite q = translate(
        u"<LDAP://"
        u"DC=velmora,DC=test>;(&(objectCategory=computer)(memberOf=CN=G\\28x\\29,DC=x));sAMAccountName, "
        u"DisplayName , CN"_s);
    EXPECT_EQ(q.requete.base, u"DC=velmora,DC=test"_s);
    EXPECT_EQ(q.requete.filter, u"(&(objectCategory=computer)(memberOf=CN=G\\28x\\29,DC=x))"_s);
    EXPECT_EQ(q.requete.attributes, (QStringList{u"sAMAccountName"_s, u"DisplayName"_s, u"CN"_s}));
    EXPECT_EQ(translate(u"<LDAP://OU=A,DC=x>;(cn=*);cn"_s, SearchScope::OneLevel).requete.scope,
              SearchScope::OneLevel);
    EXPECT_EQ(translate(u"<LDAP://OU=A,DC=x>;(cn=*);cn;base"_s, SearchScope::OneLevel).requete.scope,
              SearchScope::Base);
    const RequeteTraduite mode2 = translate(u"<LDAP://velm''ora.test/OU=A\\/B,DC=x>;(cn=*);cn"_s);
    EXPECT_EQ(mode2.serveur, u"velm'ora.test"_s);
    EXPECT_EQ(mode2.requete.base, u"OU=A/B,DC=x"_s);
    // A filter that an unescaped name broke is refused rather than searched with another meaning.
    EXPECT_EQ(errorOf(u"<LDAP://DC=x>;(&(cn=*)(memberOf=CN=Ventes (EMEA),DC=x));cn"_s),
              ErrorNumber::QuerySyntax);
    EXPECT_EQ(errorOf(u"<LDAP://DC=x;(cn=*);cn"_s), ErrorNumber::QuerySyntax);
}

TEST(FilterParser, ReadsEveryKindAndRejectsMalformedText) {
    const std::optional<FilterNode> f = ParseFilter(
        u"(&(a=1)(|(b=x*y*z)(!(c>=5)))(d<=7)(e=*)(f~=g)(userAccountControl:1.2.840.113556.1.4.803:=2))"_s);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->children.size(), 6);
    EXPECT_EQ(f->children[1].children[0].kind, FilterNode::Kind::Substring);
    EXPECT_EQ(f->children[1].children[0].initial, "x");
    EXPECT_EQ(f->children[1].children[0].any, QList<QByteArray>{"y"});
    EXPECT_EQ(f->children[1].children[0].final, "z");
    EXPECT_EQ(f->children[3].kind, FilterNode::Kind::Present);
    EXPECT_EQ(f->children[5].matchingRule, u"1.2.840.113556.1.4.803"_s);
    EXPECT_EQ(ParseFilter(u"(cn=a\\28b\\29\\5c\\2a)"_s)->value, QByteArray("a(b)\\*"));
    EXPECT_EQ(ParseFilter(u"cn=x"_s)->attribute, u"cn"_s);
    for (const QString& bad : {u"(cn=a(b)"_s, u"(cn=a\\zz)"_s, u"(&(cn=a)"_s, u"(=a)"_s, u"(cn=a**b)"_s,
                               u"(cn>=a*)"_s, u"(cn=a))"_s, u""_s})
        EXPECT_FALSE(ParseFilter(bad)) << bad.toStdString();
}

// Inputs the fuzzer found: a query either fails as a query or gives a filter servers accept.
TEST(SqlDialect, NeverProducesAMalformedFilter) {
    const QString from = u"SELECT cn FROM 'LDAP://DC=x' WHERE "_s;
    EXPECT_EQ(translate(from + u"cn='a**b'"_s).requete.filter, u"(cn=a*b)"_s);
    EXPECT_EQ(translate(from + u"cn='**'"_s).requete.filter, u"(cn=*)"_s);
    EXPECT_EQ(translate(from + u"cn='***a'"_s).requete.filter, u"(cn=*a)"_s);
    EXPECT_EQ(translate(from + u"userCertificate;binary='x'"_s).requete.filter,
              u"(userCertificate;binary=x)"_s);
    for (const QString& where : {u"mem*er='x'"_s, u"*='x'"_s, u"été='x'"_s})
        EXPECT_EQ(errorOf(from + where), ErrorNumber::QuerySyntax) << where.toStdString();
}
