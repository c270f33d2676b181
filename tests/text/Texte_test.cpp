#include "text/Texte.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

int NumeroLeve(const std::function<void()>& action) {
    try {
        action();
    } catch (const ErreurExecution& e) {
        return e.numero();
    }
    return 0;
}

} // namespace

TEST(Remplace, ResumesAfterTheReplacementFromTheStartAndInTheCaseMode) {
    EXPECT_EQ(Remplace(u"aaa"_s, u"a"_s, u"aa"_s), u"aaaaaa"_s);
    EXPECT_EQ(Remplace(u"a-a-a"_s, u"a"_s, u"x"_s, 2), u"a-x-x"_s);
    EXPECT_EQ(Remplace(u"Ab-aB"_s, u"ab"_s, u"z"_s, 1, 1), u"z-z"_s);
    EXPECT_EQ(Remplace(u"Ab-aB"_s, u"ab"_s, u"z"_s, 1, 0), u"Ab-aB"_s);
    EXPECT_EQ(Remplace(u"abc"_s, QString(), u"z"_s), u"abc"_s);
}

TEST(Decoupe, EmptyItemsLimitCaseModeAndBadLimits) {
    EXPECT_EQ(Decoupe(QString(), u"|"_s), QStringList{QString()});
    EXPECT_EQ(Decoupe(u"a|b|"_s, u"|"_s), (QStringList{u"a"_s, u"b"_s, QString()}));
    EXPECT_EQ(Decoupe(u"a|b|c|d"_s, u"|"_s, 2), (QStringList{u"a"_s, u"b|c|d"_s}));
    EXPECT_EQ(Decoupe(u"aXbxc"_s, u"x"_s, -1, 1), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(Decoupe(u"aXbxc"_s, u"x"_s, -1, 0), (QStringList{u"aXb"_s, u"c"_s}));
    EXPECT_EQ(NumeroLeve([] { Decoupe(u"a"_s, u"|"_s, 0); }), NumeroErreur::IndiceHorsLimites);
    EXPECT_EQ(NumeroLeve([] { Decoupe(u"a"_s, u"|"_s, -2); }), NumeroErreur::AppelIncorrect);
    // Leading empty items leave no separator when joined back.
    EXPECT_EQ(Joint({QString(), u"a"_s, u"b"_s}, u","_s), u"a,b"_s);
    EXPECT_EQ(Joint({u"a"_s, QString(), u"b"_s}, u","_s), u"a,,b"_s);
}

TEST(ChercheDepuisFin, FindsLastOccurrenceAtOrBeforeStart) {
    EXPECT_EQ(ChercheDepuisFin(u"CN=a,OU=b,DC=c"_s, u","_s), 10);
    EXPECT_EQ(ChercheDepuisFin(u"CN=a,OU=b,DC=c"_s, u","_s, 9), 5);
    EXPECT_EQ(ChercheDepuisFin(u"abcabc"_s, u"BC"_s, -1, 1), 5);
    EXPECT_EQ(ChercheDepuisFin(u"abcabc"_s, u"BC"_s, -1, 0), 0);
}

TEST(Extremes, FirstKeptOnTiesAndEmptyListRaises) {
    struct Valeur {
        int cle;
        int rang;
        bool operator<(const Valeur& autre) const { return cle < autre.cle; }
    };
    EXPECT_EQ(MaximumValeurs({Valeur{5, 1}, Valeur{5, 2}}).rang, 1);
    EXPECT_EQ(MinimumValeurs({Valeur{1, 1}, Valeur{4, 0}, Valeur{1, 2}}).rang, 1);
    EXPECT_EQ(NumeroLeve([] { MaximumValeurs(std::initializer_list<int>{}); }),
              NumeroErreur::IndiceHorsLimites);
}

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
