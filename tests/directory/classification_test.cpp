#include "directory/Classification.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(AccountCategory, ServiceAccountsBeforeComputersBeforePersons) {
    EXPECT_EQ(CleCategorieCompte(QStringList{u"top"_s, u"person"_s, u"user"_s, u"computer"_s}), u"comp"_s);
    EXPECT_EQ(CleCategorieCompte(QStringList{u"top"_s, u"person"_s, u"user"_s, u"computer"_s,
                                             u"msDS-GroupManagedServiceAccount"_s}),
              u"svce"_s);
    EXPECT_EQ(CleCategorieCompte(QStringList{u"TOP"_s, u"PERSON"_s, u"USER"_s}), u"user"_s);
    EXPECT_EQ(CleCategorieCompte(QStringList{u"top"_s, u"contact"_s}), u"?"_s);
    EXPECT_EQ(CleCategorieCompte(QVariant()), u"?"_s);
    EXPECT_EQ(CleCategorieCompte(QVariant(u"computer"_s)), u"comp"_s);
    EXPECT_TRUE(TableauContient(QStringList{u"Computer"_s}, u"computer"_s, 1));
    EXPECT_FALSE(TableauContient(QStringList{u"Computer"_s}, u"computer"_s, 0));
    EXPECT_FALSE(TableauContient(QStringList{u"computers"_s}, u"computer"_s, 1)) << "whole values only";
}
