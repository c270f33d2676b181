#include "DossierTemporaire.h"

#include "i18n/CatalogueFrancais.h"
#include "i18n/Traductions.h"

#include <gtest/gtest.h>

namespace arbrix {
namespace {

TEST(colTraductionsTest, KeysIgnoreCaseAndUnknownKeysGiveEmptyText) {
    colTraductions catalogue;
    catalogue.Add("TXT_GRP_SEC_GLO", "Global");
    catalogue.Add("TXT_ÉTÉ", "Summer");
    EXPECT_EQ(catalogue.Item(u"txt_grp_sec_glo"), "Global");
    EXPECT_EQ(catalogue.Item(u"txt_été"), "Summer");
    EXPECT_TRUE(catalogue.Contient(u"Txt_Grp_Sec_Glo"));
    EXPECT_TRUE(catalogue.Item(u"TXT_INCONNU").isEmpty());
    EXPECT_FALSE(catalogue.Contient(u"TXT_INCONNU"));

    catalogue.Add("txt_grp_sec_glo", "Replaced");
    EXPECT_EQ(catalogue.Count(), 2);
    EXPECT_EQ(catalogue.Item(u"TXT_GRP_SEC_GLO"), "Replaced");
}

TEST(colTraductionsTest, RemoveKeepsTheOtherEntriesReachable) {
    colTraductions catalogue;
    catalogue.Add("A", "1");
    catalogue.Add("B", "2");
    catalogue.Add("C", "3");
    catalogue.Remove(u"b");
    catalogue.Remove(u"absent");
    EXPECT_EQ(catalogue.Clés(), QStringList({"A", "C"}));
    EXPECT_EQ(catalogue.Item(u"c"), "3");
    EXPECT_EQ(catalogue.Textes(), QStringList({"1", "3"}));
    catalogue.Vide();
    EXPECT_EQ(catalogue.Count(), 0);
    EXPECT_TRUE(catalogue.Item(u"A").isEmpty());
}

TEST(CatalogueTest, BuiltInFrenchTextsBeforeAnyLoading) {
    EXPECT_EQ(Traduction(u"txt_grp_sec_glo"), "Groupe de sécurité - Global");
    EXPECT_EQ(Traduction(u"TXT_ANNULER"), "A&nnuler");
    EXPECT_EQ(Traduction(u"MSG_ERREUR"),
              "Une erreur (%v) est survenue durant le traitement :\r\n\r\n%v\r\n\r\n"
              "Veuillez contacter l'auteur du logiciel si le problème persiste...");
}

TEST(CatalogueTest, LoadingOrderStartsWithTheNinetyOneKeys) {
    const auto& textes = TextesParDéfaut();
    ASSERT_GT(textes.size(), 91);
    EXPECT_EQ(textes[0].clé, "TXT_NOM_GROUPE_A_CREER");
    EXPECT_EQ(textes[90].clé, "TXT_TOOLTIP_AJOUT_COMPTES");
    for (const char* clé : {"TXT_FERMER", "COL_TELEPHONE", "COL_COMPTE", "COL_NOM_RDN", "COL_ATTENTION"})
        EXPECT_TRUE(Catalogue().Contient(QString::fromUtf8(clé))) << clé;
    QStringList clés;
    for (const auto& texte : textes)
        clés.append(texte.clé.toUpper());
    clés.removeDuplicates();
    EXPECT_EQ(clés.size(), textes.size()) << "a key is listed twice";
}

TEST(CatalogueTest, LoadingAFileReplacesTranslatedKeysOnly) {
    DossierTemporaire dossier;
    const QString fichier = dossier.Ecrit("Test.lng", "[Traduction]\nTXT_OU=Unit\nTXT_ANNULER=Cancel\n");
    ChargeTraductions(fichier);
    EXPECT_EQ(FichierLangue(), fichier);
    EXPECT_EQ(Traduction(u"TXT_OU"), "Unit");
    EXPECT_EQ(Traduction(u"txt_annuler"), "Cancel");
    EXPECT_EQ(Traduction(u"TXT_FERMER"), "&Fermer");
    EXPECT_EQ(Catalogue().Count(), TextesParDéfaut().size());

    // A language file removed since it was chosen gives the French texts again.
    ChargeTraductions(dossier.Chemin() + "Removed.lng");
    EXPECT_EQ(Traduction(u"TXT_OU"), "O.U.");
    ChargeTraductions(QString());
    EXPECT_EQ(Traduction(u"TXT_ANNULER"), "A&nnuler");
    EXPECT_TRUE(FichierLangue().isEmpty());
}

} // namespace
} // namespace arbrix
