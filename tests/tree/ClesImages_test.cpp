#include "tree/ClesImages.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(GroupTypeKey, TypeBitThenRecursionThenScopeInOrder) {
    const std::tuple<int, bool, QString> cas[] = {
        {-2147483646, false, u"grp_sec_glo"_s}, {4, false, u"grp_dis_loc"_s},
        {-2147483643, false, u"grp_sec_loc"_s}, // builtin local: 4 wins over 1
        {-2147483640, false, u"grp_sec_uni"_s}, {8, false, u"grp_dis_uni"_s},
        {-2147483648, false, u"grp_sec"_s},     {0, false, u"grp_dis"_s},
        {-2147483646, true, u"grp_sec_rec"_s},  {2, true, u"grp_dis_rec"_s}};
    for (const auto& [type, recursif, cle] : cas)
        EXPECT_EQ(CleTypeGroupe(type, recursif), cle) << type;
}

// The states themselves are shown by the analysis tests; here the edges of expiry.
TEST(AccountImageKey, ExpiryEdges) {
    const QDateTime now(QDate(2024, 6, 1), QTime(12, 0));
    EXPECT_EQ(CleImageCompte(u"user"_s, EtatCompte{true, true, {}}, true, now), u"user_ver"_s);
    EtatCompte state;
    state.expiration = QDateTime(QDate(2024, 5, 31), QTime(23, 0));
    EXPECT_EQ(CleImageCompte(u"comp"_s, state, true, now), u"comp_exp"_s);
    state.expiration = QDateTime(QDate(2024, 6, 2), QTime(0, 0));
    EXPECT_EQ(CleImageCompte(u"comp"_s, state, true, now), u"comp"_s);
    EXPECT_TRUE(ExpirationJamais(QDateTime(QDate(1970, 1, 1), QTime(10, 0))));
    EXPECT_TRUE(ExpirationJamais(QDateTime(QDate(1601, 1, 1), QTime(0, 0))));
    EXPECT_FALSE(CompteExpire(QDateTime(QDate(1970, 1, 1), QTime(10, 0)), now));
}

TEST(ContainerTag, AfterTheFirstUnescapedComma) {
    EXPECT_EQ(TagConteneur(u"GCN=A\\,B,OU=X,DC=y"_s), u"OOU=X,DC=y"_s);
}
