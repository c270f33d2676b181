#include "settings/Valeurs.h"
#include "text/Erreur.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(Booleen, TrueWhenTheLeadingNumberIsNotZero) {
    for (const QString& vrai : {u"1"_s, u"-1"_s, u"2"_s, u" -1"_s, u"0.5"_s, u"3abc"_s, u"&HFFFF"_s})
        EXPECT_TRUE(BooleenDuTexte(vrai)) << vrai.toStdString();
    for (const QString& faux : {u"0"_s, QString(), u"abc"_s, u"-0"_s, u"True"_s, u"0x10"_s})
        EXPECT_FALSE(BooleenDuTexte(faux)) << faux.toStdString();
}

TEST(NombreEnTete, ReadsTheLeadingNumberSkippingBlanks) {
    const std::pair<QString, double> cas[] = {
        {u"12abc"_s, 12}, {u"  -7 "_s, -7}, {u"1 2 3"_s, 123}, {u"2.5e2x"_s, 250}, {u"1e"_s, 1},
        {u".5"_s, 0.5},   {u"1,5"_s, 1},    {u"&H1F"_s, 31},   {u"&HFFFF"_s, -1},  {u"&O17"_s, 15},
        {u"abc"_s, 0},    {u"-"_s, 0},      {u"1e-999"_s, 0}};
    for (const auto& [texte, nombre] : cas)
        EXPECT_EQ(NombreEnTete(texte), nombre) << texte.toStdString();
    EXPECT_TRUE(std::isinf(NombreEnTete(u"1e999"_s)));
}

TEST(Entier, RoundsHalfToEven) {
    EXPECT_EQ(Entier16DuTexte(u"2.5"_s), 2);
    EXPECT_EQ(Entier16DuTexte(u"3.5"_s), 4);
    EXPECT_EQ(Entier32DuTexte(u"pas un nombre"_s), 0);
}

// The message naming the key is read end to end by the start-up test.
TEST(Entier, TooLargeForTheTypeRaisesOverflow) {
    for (const QString& texte : {u"32768"_s, u"-32769"_s, u"1e999"_s})
        EXPECT_THROW(Entier16DuTexte(texte), ErreurExecution) << texte.toStdString();
    EXPECT_THROW(Entier32DuTexte(u"-2147483649"_s), ErreurExecution);
}
