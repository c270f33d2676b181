#include "DossierTemporaire.h"

#include "i18n/Langue.h"

#include <gtest/gtest.h>

using namespace arbrix;
namespace {

QByteArray FichierDeCode(const QByteArray& code) {
    return "[Traduction]\r\nCodeLangue=" + code + "\r\n";
}

TEST(ChoisitLangueInitialeTest, FrenchNeedsNoFileOtherwiseTheFirstFileWithTheCodeOrTheMessage) {
    DossierTemporaire dossier;
    dossier.Ecrit("Autre.lng", FichierDeCode("12")); // even a file declaring French is not looked at
    dossier.Ecrit("Aleman.lng", FichierDeCode("7"));
    dossier.Ecrit("British.lng", FichierDeCode(" 9 ; United Kingdom"));
    dossier.Ecrit("English.lng", FichierDeCode("9"));
    dossier.Ecrit("Notes.txt", FichierDeCode("10"));
    dossier.Ecrit("SansCode.lng", "[Traduction]\nTXT_OU=x\n");
    const struct {
        int code;
        QString langue;
        bool message;
    } cas[] = {{12, "Français", false}, {9, "British", false}, {7, "Aleman", false},
               {10, "Français", true},  {0, "Français", true}, {-1, "Français", true}};
    for (const auto& c : cas) {
        const ChoixLangue choix = ChoisitLangueInitiale(c.code, dossier.Chemin());
        EXPECT_EQ(choix.langue, c.langue) << c.code;
        EXPECT_EQ(choix.afficherMessage, c.message) << c.code;
    }
    EXPECT_TRUE(ChoisitLangueInitiale(9, dossier.Chemin() + "absent/").afficherMessage);
}

TEST(MessageAucuneTraductionTest, BilingualTextWithWindowsLineBreaksNamingTheProgramWithoutVersion) {
    const QString message = MessageAucuneTraduction();
    EXPECT_TRUE(message.contains("Arbrix.\r\n"));
    EXPECT_TRUE(message.contains("\r\n\r\n-----------------------\r\n\r\nTout d'abord"));
    EXPECT_EQ(message.count("\r\n"), message.count(u'\n'));
}

// The program's folder when it holds language files; those of an installed tree moved elsewhere
// are found beside its bin folder. The folder always ends with a separator.
TEST(DossierDonneesTest, ProgramFolderOrSharedFolderOfAMovedInstallation) {
    DossierTemporaire programme;
    DossierTemporaire installe;
    EXPECT_EQ(DossierDonnees(programme.Chemin(), installe.Chemin()), installe.Chemin());
    programme.Ecrit("English.lng", FichierDeCode("9"));
    EXPECT_EQ(DossierDonnees(programme.Chemin().chopped(1), installe.Chemin()), programme.Chemin());

    DossierTemporaire prefixe;
    QDir(prefixe.Chemin()).mkpath("bin");
    QDir(prefixe.Chemin()).mkpath("share/arbrix");
    const QString partage = prefixe.Chemin() + "share/arbrix/";
    EXPECT_EQ(DossierDonnees(prefixe.Chemin() + "bin", "/nonexistent"), prefixe.Chemin() + "bin/");
    prefixe.Ecrit("share/arbrix/English.lng", FichierDeCode("9"));
    EXPECT_EQ(DossierDonnees(prefixe.Chemin() + "bin", "/nonexistent"), partage);
}

TEST(LanguesDisponiblesTest, BuiltInLanguageThenFilesByName) {
    DossierTemporaire dossier;
    dossier.Ecrit("Zulu.lng", "");
    dossier.Ecrit("English.lng", "");
    dossier.Ecrit("Upper.LNG", "");
    dossier.Ecrit(".lng", "");
    EXPECT_EQ(FichiersLangue(dossier.Chemin()), QStringList({"English.lng", "Zulu.lng"}));
    EXPECT_EQ(LanguesDisponibles(dossier.Chemin()), QStringList({"Français", "English", "Zulu"}));
    EXPECT_TRUE(CheminFichierLangue("Français", dossier.Chemin()).isEmpty());
    EXPECT_EQ(CheminFichierLangue("English", dossier.Chemin()), dossier.Chemin() + "English.lng");
}

} // namespace
