#include "DossierTemporaire.h"

#include "i18n/Traductions.h"

#include <gtest/gtest.h>

using namespace arbrix;
namespace {

class LitTraductionTest : public ::testing::Test {
protected:
    QString Fichier(const QByteArray& contenu) { return dossier.Ecrit(QStringLiteral("Test.lng"), contenu); }
    DossierTemporaire dossier;
};

TEST_F(LitTraductionTest, DefaultWhenNoFileOrNoKey) {
    EXPECT_EQ(LitTraduction(dossier.Chemin() + "Absent.lng", "TXT_OU", "O.U."), "O.U.");
    const QString fichier = Fichier("[Traduction]\r\nTXT_OU=OU\r\n[Autre]\r\nTXT_ECHEC=x\r\n");
    EXPECT_EQ(LitTraduction(fichier, "txt_ou", "O.U."), "OU");
    // Only section "Traduction" counts.
    EXPECT_EQ(LitTraduction(fichier, "TXT_ECHEC", "échec"), "échec");
}

TEST_F(LitTraductionTest, BracedValueFollowsOneLevelOnly) {
    const QString fichier = Fichier("[Traduction]\n"
                                    "TXT_OU=Unit\n"
                                    "TXT_A={TXT_OU}\n"
                                    "TXT_B={TXT_A}\n"
                                    "TXT_C={TXT_ABSENT}\n"
                                    "TXT_E={partial\n");
    EXPECT_EQ(LitTraduction(fichier, "TXT_A", "d"), "Unit");
    EXPECT_EQ(LitTraduction(fichier, "TXT_B", "d"), "{TXT_OU}");
    EXPECT_EQ(LitTraduction(fichier, "TXT_C", "d"), "d");
    EXPECT_EQ(LitTraduction(fichier, "TXT_E", "d"), "{partial");
}

TEST_F(LitTraductionTest, BlockUsedWhenTheKeyIsEmpty) {
    const QString fichier = Fichier("[Traduction]\r\n"
                                    "TXT_LIGNE=one line\r\n"
                                    "TXT_VIDE=\r\n"
                                    "<txt_vide>\r\nfirst\r\nsecond\r\n</TXT_VIDE>\r\n"
                                    "<TXT_LIGNE>\r\nignored\r\n</TXT_LIGNE>\r\n"
                                    "<TXT_BLOC>\r\nblock only</TXT_BLOC>\r\n"
                                    "<TXT_OUVERT>\r\nno end\r\n");
    // The break after the opening tag is dropped, the one before the closing tag kept.
    EXPECT_EQ(LitTraduction(fichier, "TXT_VIDE", "d"), "first\r\nsecond\r\n");
    EXPECT_EQ(LitTraduction(fichier, "TXT_LIGNE", "d"), "one line");
    EXPECT_EQ(LitTraduction(fichier, "TXT_BLOC", "d"), "block only");
    EXPECT_EQ(LitTraduction(fichier, "TXT_OUVERT", "d"), "d");
    // Unix line breaks: the block keeps its first character.
    const QString sautsUnix = Fichier("[Traduction]\n<TXT_X>\nAbc\ndef\n</TXT_X>\n");
    EXPECT_EQ(LitTraduction(sautsUnix, "TXT_X", "d"), "Abc\ndef\n");
}

TEST_F(LitTraductionTest, SectionSignsBecomeLineBreaksExceptBetweenQuotes) {
    EXPECT_EQ(AppliqueSautsDeLigne("a§b§§c"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(AppliqueSautsDeLigne("sign '§' here§"), "sign '§' here\r\n");
    EXPECT_EQ(AppliqueSautsDeLigne("''§''"), "''§''");
    // A literal "{167}" is no placeholder: it stays as written.
    EXPECT_EQ(AppliqueSautsDeLigne("{167}§"), "{167}\r\n");
    // The rule also applies to texts read from a file.
    const QString fichier = Fichier("[Traduction]\nK=Error:§§%v '§'\n");
    EXPECT_EQ(LitTraduction(fichier, "K", "d"), "Error:\r\n\r\n%v '§'");
}

TEST_F(LitTraductionTest, WindowsFilesAreRead) {
    // Windows-1252: "§" is 0xA7 and "é" 0xE9.
    const QString fichier = Fichier("[Traduction]\r\nTXT_ECHEC=r\xE9sum\xE9\xA7"
                                    "fin\r\n<TXT_BLOC>\r\n\xE9t\xE9\r\n</TXT_BLOC>\r\n");
    EXPECT_EQ(LitTraduction(fichier, "TXT_ECHEC", "d"), "résumé\r\nfin");
    EXPECT_EQ(LitTraduction(fichier, "TXT_BLOC", "d"), "été\r\n");
}

} // namespace
