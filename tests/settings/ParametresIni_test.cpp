#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"
#include "shell/FichiersTest.h"
#include "text/Erreur.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

QStringList ClesDuFichier(const QString& chemin) {
    QStringList cles;
    for (const QString& ligne : QString::fromUtf8(test::LitFichier(chemin)).split(u'\n')) {
        if (ligne.contains(u'='))
            cles.append(ligne.section(u'=', 0, 0));
    }
    return cles;
}

using test::EcritFichier;

Parametres TousModifies() {
    return {.Langue = u"English"_s,
            .FenetreMemoriserTaille = true,
            .FenetreMemoriserPosition = true,
            .MinimiserSystray = true,
            .ToujoursAuDessus = true,
            .FenetreEtat = 2,
            .FenetreHauteur = 9000,
            .FenetreLargeur = 12000,
            .FenetreGauche = -150,
            .FenetreHaut = 300,
            .AnalyseAutreTypeSiAucuneReponse = false,
            .AnalyseParDefaut = 5,
            .ControlerVerrouilleExpire = false,
            .DeplierGroupesContenantComptesDesactivesVerrouillesExpires = true,
            .DeplierGroupesContenantGroupesRecursifs = false,
            .DeplierGroupesEtOU = true,
            .RepresenterGroupesRacineOU = true,
            .AfficherNombreMembres = false,
            .AccesAD = 2,
            .AccesADServeur = u"ldaps://dc1.example.test"_s,
            .AccesADDomaine = u"EXEMPLE"_s,
            .AccesADLogin = u"admin.groupes"_s,
            .AccesADPassword = u"Mot de passe é€"_s,
            .AccesADSansTLS = true,
            .TypeGroupe = 1,
            .EtendueGroupe = 2,
            .NbElementsMemorisesMax = 35,
            .MessagerieCommande = u"msmtp -C '/a b/rc' -i"_s,
            .MessagerieExpediteur = u"admin@example.org"_s};
}

class FichierParametres : public ::testing::Test {
protected:
    QString Ini() const { return dossier.filePath(u"Arbrix.ini"_s); }
    QTemporaryDir dossier;
};

} // namespace

// A value too large for its type stops the start-up: the start-up test reads it end to end.
TEST_F(FichierParametres, MissingFileGivesTheDefaultsAndEachSettingHasItsWidth) {
    EXPECT_EQ(LitParametres(Ini()), Parametres{});
    EcritFichier(Ini(), "[Config]\nFenêtreLargeur=40000\n");
    EXPECT_EQ(LitParametres(Ini()).FenetreLargeur, 40000);
}

// The account check is on for a new file and stays as an older file had it (off, unwritten).
TEST_F(FichierParametres, AccountCheckOnForNewFilesOnlyAndWrittenOnce) {
    EXPECT_TRUE(LitParametres(Ini()).ControlerVerrouilleExpire);
    EcritParametresSortie(Ini(), LitParametres(Ini()), {});
    EXPECT_TRUE(LitParametres(Ini()).ControlerVerrouilleExpire);

    EcritFichier(Ini(), "[Config]\nLangue=English\n");
    const Parametres ancien = LitParametres(Ini());
    EXPECT_FALSE(ancien.ControlerVerrouilleExpire);
    EcritParametresSortie(Ini(), ancien, {});
    EXPECT_FALSE(LitParametres(Ini()).ControlerVerrouilleExpire);
}

TEST_F(FichierParametres, NothingChangedWritesOnlyTheAlwaysKeys) {
    EcritParametresSortie(Ini(), TousModifies(), {});
    const QStringList attendues = u"FenêtreGauche FenêtreHaut FenêtreEtat FenêtreLargeur FenêtreHauteur "
                                  u"TypeGroupe EtendueGroupe NbElémentsMémorisésMax"_s.split(u' ');
    const QString premiere = u"ContrôlerVerrouilléExpiré"_s; // a new file's only setting
    EXPECT_EQ(ClesDuFichier(Ini()), QStringList{premiere} + attendues);

    Parametres rien = TousModifies();
    rien.FenetreMemoriserPosition = false;
    rien.FenetreMemoriserTaille = false;
    QFile::remove(Ini());
    EcritParametresSortie(Ini(), rien, {});
    EXPECT_EQ(ClesDuFichier(Ini()), QStringList{premiere} + attendues.mid(5));
}

// Every setting differs from its default, so a key not written or not read back shows.
TEST_F(FichierParametres, EveryFlagWritesItsKeysAndReadsBack) {
    EcritParametresSortie(Ini(), TousModifies(), {true, true});
    EXPECT_EQ(LitIni(Ini(), SectionConfig, CleConfig::DeplierGroupesEtOU, {}), u"-1"_s);
    EXPECT_EQ(LitIni(Ini(), SectionConfig, CleConfig::AfficherNombreMembres, {}), u"0"_s);
    EXPECT_NE(LitIni(Ini(), SectionConfig, CleConfig::AccesADPassword, {}), TousModifies().AccesADPassword);
    EXPECT_EQ(LitParametres(Ini()), TousModifies());
}

TEST_F(FichierParametres, FileHoldingAPasswordIsReadableByItsOwnerOnly) {
    EcritParametresSortie(Ini(), Parametres{}, {true, false});
    EXPECT_TRUE(QFile::permissions(Ini()) & QFileDevice::ReadOther) << "no password, usual permissions";
    EcritParametresSortie(Ini(), TousModifies(), {true, false});
    EXPECT_FALSE(QFile::permissions(Ini()) & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
}

// Bounded keys are brought into their range at both ends; a number too large for the field still
// stops the start-up.
TEST_F(FichierParametres, BoundedKeysAreClampedYetStillOverflow) {
    EcritFichier(Ini(), "[Config]\nRequêtesSimultanées=0\nDélaiAnnuaire=9999\n");
    EXPECT_EQ(LitParametres(Ini()).RequetesSimultanees, 1);
    EXPECT_EQ(LitParametres(Ini()).DelaiAnnuaire, 600);
    EcritFichier(Ini(), "[Config]\nRequêtesSimultanées=65\nDélaiAnnuaire=1\n");
    EXPECT_EQ(LitParametres(Ini()).RequetesSimultanees, 64);
    EXPECT_EQ(LitParametres(Ini()).DelaiAnnuaire, 2);
    EcritFichier(Ini(), "[Config]\nDélaiAnnuaire=40000\n");
    EXPECT_THROW(LitParametres(Ini()), ErreurExecution);
}

// A name given to two keys would leave one of them unreachable by --set and by the readers.
TEST(TableCles, EachNameLeadsToItsOwnKey) {
    for (const DescriptionCle& cle : TableCles()) {
        EXPECT_EQ(TrouveCle(cle.nom.toUpper()), &cle) << cle.nom.toStdString();
        EXPECT_EQ(cle.section, SectionConfig);
    }
}

TEST(MotDePasse, ScrambleIsReversibleUpperCaseHexTwoDigitsPerByte) {
    for (const QString& clair : {u"secret"_s, u"Pâques 2024 €"_s, u"漢字"_s, u" "_s}) {
        const QString chiffre = ChiffreMotDePasse(clair);
        EXPECT_EQ(chiffre, chiffre.toUpper());
        EXPECT_NE(chiffre, QString::fromLatin1(clair.toUtf8().toHex().toUpper()));
        EXPECT_EQ(DechiffreMotDePasse(chiffre), clair);
    }
    EXPECT_EQ(DechiffreMotDePasse(u"ABC"_s), QString());
    EXPECT_EQ(DechiffreMotDePasse(u"motdepasse"_s), QString());
}

// Installed under a system prefix, with the older file moved, is read through the start-up test.
TEST(Emplacement, AFolderMerelyStartingWithAPrefixIsAPortableCopy) {
    QTemporaryDir racine;
    const QString prefixe = racine.filePath(u"usr"_s);
    const QString config = racine.filePath(u"home/.config"_s);
    const auto portable = CalculeEmplacementParametres(prefixe + u"x/bin"_s, config, {prefixe});
    EXPECT_FALSE(portable.Installe);
    EXPECT_EQ(portable.CheminIni, prefixe + u"x/bin/Arbrix.ini"_s);
    PrepareDossierParametres(portable);
    EXPECT_FALSE(QFileInfo::exists(config)); // no configuration folder is created
}

TEST(Emplacement, AFailedMoveStopsTheStartUpAndAMovedFileIsNoLongerLookedAt) {
    QTemporaryDir racine;
    const QString programme = racine.filePath(u"opt/arbrix"_s);
    const QString config = racine.filePath(u"config"_s);
    const QStringList prefixes{racine.filePath(u"opt"_s)};
    EcritFichier(programme + u"/Arbrix.ini"_s, "[Config]\n");
    EcritFichier(config, "a file where the folder should be");
    const auto e = CalculeEmplacementParametres(programme, config, prefixes);
    EXPECT_THROW(PrepareDossierParametres(e), ErreurExecution);
    EXPECT_TRUE(QFile::exists(e.AncienFichier));

    QFile::remove(config);
    PrepareDossierParametres(e);
    EXPECT_FALSE(QFile::exists(e.AncienFichier));
    EcritFichier(programme + u"/Arbrix.ini"_s, "[Config]\n");
    EXPECT_TRUE(CalculeEmplacementParametres(programme, config, prefixes).AncienFichier.isEmpty());
}
