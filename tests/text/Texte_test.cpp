#include "text/Texte.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(FormateMessage, FillsPlaceholdersInOrderWithoutRegardToCase) {
    EXPECT_EQ(FormateMessage(u"%v et %v"_s, {u"x"_s}), u"x et "_s);
    EXPECT_EQ(FormateMessage(u"%V-%v"_s, {1, 2, 3}), u"1-2"_s);
    // A value holding a placeholder gets it filled by the next value.
    EXPECT_EQ(FormateMessage(u"[%v] [%v]"_s, {u"a%vb"_s, u"1"_s, u"2"_s}), u"[a1b] [2]"_s);
}

TEST(Version, TextFromNumbersAndBetaRevision) {
    EXPECT_EQ(TexteVersion(2, 9, 0), u"v2.9"_s);
    EXPECT_EQ(TexteVersion(1, 0, 3), u"v1.0.3"_s);
    EXPECT_EQ(TexteVersion(3, 1, 9999), u"v2.9 beta 2"_s);
    EXPECT_TRUE(EstVersionBeta(TexteVersion(3, 1, 9999)));
}
