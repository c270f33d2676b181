#include "directory/Filter.h"
#include "directory/Query.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(Escaping, FilterValuesFollowTheLdapRules) {
    EXPECT_EQ(EchappeValeurFiltre(u"Ventes (EMEA)*\\"_s), u"Ventes \\28EMEA\\29\\2a\\5c"_s);
    EXPECT_EQ(EchappeValeurFiltre(QString(QChar(0))), u"\\00"_s);
    EXPECT_EQ(EchappeValeurFiltre(u"Zoé D'Arcy, 王芳"_s), u"Zoé D'Arcy, 王芳"_s);
    EXPECT_EQ(FiltreEgalite(u"cn", u"a*(b)"), u"(cn=a\\2a\\28b\\29)"_s);
    // The user's stars stay wildcards, runs of them one: "a**b" would be a malformed filter.
    for (const auto& [typed, escaped] : {std::pair{u"*Petit (x)*"_s, u"*Petit \\28x\\29*"_s},
                                         {u"a**b"_s, u"a*b"_s},
                                         {u"**"_s, u"*"_s},
                                         {u"***a"_s, u"*a"_s}})
        EXPECT_EQ(EchappeValeurFiltreGenerique(typed), escaped) << typed.toStdString();
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
