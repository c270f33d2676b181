#include "DossierTemporaire.h"

#include "i18n/TraductionFeuille.h"

#include <gtest/gtest.h>

using namespace arbrix;
namespace {

DescriptionFeuille FeuilleDeTest() {
    return {"frmTest",
            "Fenêtre",
            {
                {"lblNom", -1, GenreControle::Etiquette, "Nom"},
                {"optType", 0, GenreControle::BoutonOption, "&O.U."},
                {"optType", 1, GenreControle::BoutonOption, "G&roupe"},
                {"mnuFichier", -1, GenreControle::Menu, "&Fichier"},
                {"txtChamp", 2, GenreControle::ZoneTexte, "texte"},
                {"tabPages", -1, GenreControle::Onglets, {}, {"Un", "Deux", "Trois"}},
                {"lstListe", -1, GenreControle::Autre, "liste"},
            }};
}

const QByteArray Traductions = "[Traduction]\n"
                               "frmTest=Window\n"
                               "lblNom=Name\n"
                               "optType(1)=G&roup\n"
                               "optType=wrong: array members use their index\n"
                               "MNUFICHIER=&File\n"
                               "txtChamp=text\n"
                               "tabPages(1)=One\n"
                               "tabPages(3)=Three§line\n"
                               "lstListe=list\n";

TEST(TraduitFeuilleTest, CaptionsAreTranslatedByControlKey) {
    DossierTemporaire dossier;
    const QString fichier = dossier.Ecrit("Test.lng", Traductions);
    DescriptionFeuille feuille = FeuilleDeTest();
    TraduitFeuille(feuille, fichier);
    EXPECT_EQ(feuille.titre, "Window");
    const auto& c = feuille.controles;
    EXPECT_EQ(c[1].texte, "&O.U."); // optType(0) is not in the file
    EXPECT_EQ(c[2].texte, "G&roup");
    EXPECT_EQ(c[3].texte, "&File");
    EXPECT_EQ(c[4].texte, "text"); // a text box goes by its bare name
    EXPECT_EQ(c[5].onglets, QStringList({"One", "Deux", "Three\r\nline"}));
    EXPECT_EQ(c[6].texte, "liste"); // lists are never translated
}

// Designed texts are shown as they are, section signs included, when the file has gone.
TEST(TraduitFeuilleTest, WithoutAFileTheDesignedTextsStay) {
    DossierTemporaire dossier;
    DescriptionFeuille feuille = FeuilleDeTest();
    feuille.controles[0].texte = "a§b";
    TraduitFeuille(feuille, dossier.Chemin() + "Absent.lng");
    EXPECT_EQ(feuille.titre, "Fenêtre");
    EXPECT_EQ(feuille.controles[0].texte, "a§b");
}

} // namespace
