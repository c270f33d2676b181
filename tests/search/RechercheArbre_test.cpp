#include "search/RechercheArbre.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

class RechercheDansArbre : public ::testing::Test {
protected:
    void SetUp() override {
        racine = arbre.Ajoute(nullptr, u"\\\\Ventes"_s, u"Ventes"_s, u"OOU=Ventes"_s, u"ou"_s);
        compta = arbre.Ajoute(racine, u"\\\\Ventes\\Compta"_s, u"Compta\u00A0(3)"_s, u"GCN=Compta"_s);
        dupont =
            arbre.Ajoute(compta, u"\\\\Ventes\\Compta\\jdupont"_s, u"Dupont (jdupont)"_s, u"UCN=Dupont"_s);
        martin =
            arbre.Ajoute(compta, u"\\\\Ventes\\Compta\\pmartin"_s, u"Martin (pmartin)"_s, u"UCN=Martin"_s);
        paie = arbre.Ajoute(racine, u"\\\\Ventes\\Paie"_s, u"Paie"_s, u"GCN=Paie"_s);
        durand = arbre.Ajoute(paie, u"\\\\Ventes\\Paie\\adurand"_s, u"Durand (adurand)"_s, u"UCN=Durand"_s);
    }
    Arbre arbre;
    Noeud *racine, *compta, *dupont, *martin, *paie, *durand;
};

} // namespace

// Steps in pre-order, both ways, without wrap-around.
TEST_F(RechercheDansArbre, SuivantPrecedentSansRetourAuDebut) {
    EXPECT_EQ(Rechercher(arbre, racine, RechercheDepuisDepart, u"VENTES"_s), racine)
        << "direction 0 tests the start";
    EXPECT_EQ(Rechercher(arbre, racine, RechercheSuivante, u"(p"_s), martin);
    EXPECT_EQ(Rechercher(arbre, martin, RechercheSuivante, u"(p"_s), nullptr) << "no wrap-around";
    EXPECT_EQ(Rechercher(arbre, durand, RecherchePrecedente, u"d"_s), dupont);
    EXPECT_EQ(Rechercher(arbre, dupont, RecherchePrecedente, u"d"_s), nullptr);
    EXPECT_EQ(Rechercher(arbre, racine, RecherchePrecedente, u"Ventes"_s), nullptr)
        << "nothing precedes the root";
    EXPECT_EQ(Rechercher(arbre, racine, RechercheDepuisDepart, u"(3"_s), compta) << "labels as displayed";
    EXPECT_EQ(Rechercher(arbre, racine, RechercheDepuisDepart, QString()), nullptr);
}

TEST_F(RechercheDansArbre, SansNoeudDeDepart) {
    EXPECT_EQ(Rechercher(arbre, nullptr, RechercheSuivante, u"ventes"_s), racine);
    EXPECT_EQ(Rechercher(arbre, nullptr, RecherchePrecedente, u"ventes"_s), nullptr);
    Arbre vide;
    EXPECT_EQ(Rechercher(vide, nullptr, RechercheSuivante, u"x"_s), nullptr);

    DefinitTexteRecherche(QString());
    EXPECT_FALSE(RechercheRepetable(arbre));
    DefinitTexteRecherche(u"x"_s);
    EXPECT_TRUE(RechercheRepetable(arbre));
    EXPECT_FALSE(RechercheRepetable(vide));
}
