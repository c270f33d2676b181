#include "cli/TextesCli.h"
#include "i18n/CatalogueFrancais.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "settings/Ini.h"

#include <gtest/gtest.h>

namespace arbrix {
using namespace Qt::StringLiterals;
namespace {

const QString Dossier = QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/");
const QString Fichier = Dossier + "English.lng";
const QString Absent = QStringLiteral("\x01absent");

// Texts that read the same in both languages.
const QStringList Identiques = {"TXT_SUCCES", "TXT_RESULTAT_DETAIL",   "TXT_OU",          "COL_DESCRIPTION",
                                "COL_TYPE",   "COL_DISTINGUISHEDNAME", "TXT_LEGENDE_ETAT"};

// The accelerator letters of a caption ("&&" is a plain ampersand).
qsizetype NombreAccelerateurs(const QString& texte) {
    return QString(texte).remove("&&").count(u'&');
}

TEST(EnglishTest, DeclaresEnglishAndIsChosenOnAnEnglishSystem) {
    EXPECT_EQ(CodeLangueFichier(Fichier), 9);
    EXPECT_EQ(ChoisitLangueInitiale(9, Dossier).langue, "English");
}

TEST(EnglishTest, TranslatesEveryTextOfTheCatalogueAndOfTheCommandLine) {
    ChargeTraductions(QString());
    QList<TexteParDefaut> textes = TextesParDefaut();
    for (const QString& cle : ClesTexteCli())
        textes.append({cle, TexteCli(cle)});
    for (const auto& [cle, francais] : textes) {
        const QString anglais = LitTraduction(Fichier, cle, Absent);
        ASSERT_NE(anglais, Absent) << qPrintable(cle) << " is missing";
        EXPECT_FALSE(anglais.trimmed().isEmpty()) << qPrintable(cle);
        if (!Identiques.contains(cle)) {
            EXPECT_NE(anglais, AppliqueSautsDeLigne(francais)) << qPrintable(cle) << " is still French";
        }
        // Messages are filled in order: the same number of placeholders, or values go missing.
        EXPECT_EQ(anglais.count("%v", Qt::CaseInsensitive), francais.count("%v", Qt::CaseInsensitive))
            << qPrintable(cle);
        EXPECT_EQ(NombreAccelerateurs(anglais) > 0, NombreAccelerateurs(francais) > 0) << qPrintable(cle);
        EXPECT_LE(NombreAccelerateurs(anglais), 1) << qPrintable(cle);
    }
    // The help is a block: nothing at its end is lost.
    EXPECT_TRUE(
        LitTraduction(Fichier, CleTexteCli::Aide, Absent).endsWith("     listed on standard output)\n"));
}

TEST(EnglishTest, TranslatesTheDesignedCaptionsOfEveryWindow) {
    // Every window's designed captions: main window and menus, progress, find, occurrence list,
    // group creation, accounts, groups, net send, export, configuration, about.
    const QStringList cles =
        u"lblChercher btnChercher fraType optType(0) optType(1) lblDescriptionLabel lblGéréParLabel "
        u"mnuFichier mnuFichierQuitter mnuEdition mnuEditionRechercher mnuEditionRechercherSuivant "
        u"mnuEditionRechercherPrécédent mnuEditionCopierNomCompte mnuEditionCopierNom mnuOptions "
        u"mnuOptionsMémoriserPosition mnuOptionsMémoriserTaille "
        u"mnuOptionsMinimiserSystray mnuOptionsToujoursAuDessus mnuOptionsConfiguration mnuAide "
        u"mnuAideLégende mnuAideAPropos mnuSystray mnuSystrayRestaurer mnuSystrayAnnuler mnuSystrayQuitter "
        u"lblTraitementEnCoursInfo btnStop frmRechercher lblRechercher btnChercherSuivant "
        u"btnChercherPrécédent btnFermer frmListeOccurrences btnOK btnAnnuler frmCréationGroupe "
        u"lblNomGroupe lblTypeGroupe optTypeGroupe(0) optTypeGroupe(1) lblEtendueGroupe "
        u"optEtendueGroupe(0) optEtendueGroupe(1) optEtendueGroupe(2) frmAjoutCompte lblCompteOuNom "
        u"btnChercherCompte btnAjouter frmAjoutGroupe btnChercherGroupe lblDifférenceNomWin200x "
        u"frmNetsendSaisie lblSaisissezVotreMessage frmNetsendEnvoi frmExporter fraEtendue optEtendue(0) "
        u"optEtendue(1) optEtendue(2) fraContenu chkStructure chkModeColonné chkComptesUtilisateurs "
        u"chkComptesOrdinateurs chkComptesDeService fraFormat optFormat(0) optFormat(1) optFormat(2) "
        u"optFormat(3) lblIndentation lblSéparateur lblCaractèresInfo fraDestination optDestination(0) "
        u"optDestination(1) lblAperçu frmConfiguration lblLangue fraAccèsAD optAccèsAD(0) optAccèsAD(1) "
        u"optAccèsAD(2) lblAccèsADServeur lblAccèsADDomaine lblAccèsADLogin lblAccèsADPassword fraAnalyse "
        u"lblAnalyseParDéfaut chkAnalyseAutreTypeSiAucuneReponse chkContrôlerVerrouilléExpiré "
        u"chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés "
        u"chkDéplierGroupesContenantGroupesRécursifs chkDéplierGroupesEtOU chkReprésenterGroupesRacineOU "
        u"chkAfficherNombreMembres fraMémos btnMonter btnDescendre btnSupprimer lblNbElémentsMémorisésMax "
        u"frmAPropos"_s.split(u' ');
    for (const QString& cle : cles)
        EXPECT_FALSE(LitIni(Fichier, "Traduction", cle, QString()).isEmpty()) << qPrintable(cle);
    const QString description = LitTraduction(Fichier, "lblDescriptionOutil", Absent);
    EXPECT_TRUE(description.startsWith("Arbrix shows")) << qPrintable(description);
    EXPECT_TRUE(description.endsWith("configured account."));
    // The main window's caption is the program's title and version, set before translation.
    EXPECT_TRUE(LitIni(Fichier, "Traduction", "frmPrincipal", QString()).isEmpty());
}

} // namespace
} // namespace arbrix
