#include "DossierTemporaire.h"

#include "i18n/CatalogueFrancais.h"
#include "i18n/Traductions.h"

#include <gtest/gtest.h>

using namespace arbrix;
namespace {

TEST(colTraductionsTest, KeysIgnoreCaseBeyondAsciiAndRemovalKeepsTheOthersReachable) {
    colTraductions catalogue;
    catalogue.Add("TXT_GRP_SEC_GLO", "Global");
    catalogue.Add("TXT_ÉTÉ", "Summer");
    catalogue.Add("C", "3");
    EXPECT_EQ(catalogue.Item(u"txt_été"), "Summer");
    catalogue.Add("txt_grp_sec_glo", "Replaced");
    EXPECT_EQ(catalogue.Item(u"TXT_GRP_SEC_GLO"), "Replaced");
    catalogue.Remove(u"txt_été");
    EXPECT_EQ(catalogue.Cles(), QStringList({"TXT_GRP_SEC_GLO", "C"}));
    EXPECT_EQ(catalogue.Item(u"c"), "3");
}

TEST(CatalogueTest, NoKeyIsListedTwice) {
    QStringList cles;
    for (const auto& texte : TextesParDefaut())
        cles.append(texte.cle.toUpper());
    cles.removeDuplicates();
    EXPECT_EQ(cles.size(), TextesParDefaut().size());
}

TEST(CatalogueTest, LoadingAFileReplacesTranslatedKeysOnly) {
    DossierTemporaire dossier;
    const QString fichier = dossier.Ecrit("Test.lng", "[Traduction]\nTXT_OU=Unit\nTXT_ANNULER=Cancel\n");
    ChargeTraductions(fichier);
    EXPECT_EQ(Traduction(u"txt_annuler"), "Cancel");
    EXPECT_EQ(Traduction(u"TXT_FERMER"), "&Fermer");

    // A language file removed since it was chosen gives the French texts again.
    ChargeTraductions(dossier.Chemin() + "Removed.lng");
    EXPECT_EQ(Traduction(u"TXT_OU"), "O.U.");
    ChargeTraductions(QString());
    EXPECT_TRUE(FichierLangue().isEmpty());
}

} // namespace
