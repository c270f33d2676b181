#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"
#include "text/Erreur.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

QStringList ClésDuFichier(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList clés;
    for (const QString& ligne : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (ligne.contains(u'='))
            clés.append(ligne.section(u'=', 0, 0));
    }
    return clés;
}

void ÉcritFichier(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

Paramètres TousModifiés() {
    Paramètres p;
    p.Langue = u"English"_s;
    p.FenêtreMémoriserTaille = true;
    p.FenêtreMémoriserPosition = true;
    p.MinimiserSystray = true;
    p.ToujoursAuDessus = true;
    p.FenêtreEtat = 2;
    p.FenêtreHauteur = 9000;
    p.FenêtreLargeur = 12000;
    p.FenêtreGauche = -150;
    p.FenêtreHaut = 300;
    p.AnalyseAutreTypeSiAucuneReponse = false;
    p.AnalyseParDéfaut = 5;
    p.ContrôlerVerrouilléExpiré = true;
    p.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés = true;
    p.DéplierGroupesContenantGroupesRécursifs = false;
    p.DéplierGroupesEtOU = true;
    p.ReprésenterGroupesRacineOU = true;
    p.AfficherNombreMembres = false;
    p.AccèsAD = 2;
    p.AccèsADServeur = u"ldaps://dc1.example.test"_s;
    p.AccèsADDomaine = u"EXEMPLE"_s;
    p.AccèsADLogin = u"admin.groupes"_s;
    p.AccèsADPassword = u"Mot de passe é€"_s;
    p.TypeGroupe = 1;
    p.EtendueGroupe = 2;
    p.NbElémentsMémorisésMax = 35;
    return p;
}

class FichierParamètres : public ::testing::Test {
protected:
    QString Ini() const { return dossier.filePath(u"Arbrix.ini"_s); }
    QTemporaryDir dossier;
};

} // namespace

TEST_F(FichierParamètres, MissingFileGivesEveryDefaultAndAWindowsFileIsRead) {
    EXPECT_EQ(LitParamètres(Ini()), Paramètres{});
    ÉcritFichier(Ini(),
                 "[Config]\r\nLangue=English\r\nFen\xeatreM\xe9moriserTaille=-1\r\nFen\xeatreHauteur=7200\r\n"
                 "AnalyseParD\xe9"
                 "faut=3\r\nAfficherNombreMembres=0\r\nAcc\xe8sAD=1\r\n");
    const Paramètres p = LitParamètres(Ini());
    EXPECT_EQ(p.Langue, u"English"_s);
    EXPECT_TRUE(p.FenêtreMémoriserTaille);
    EXPECT_EQ(p.FenêtreHauteur, 7200);
    EXPECT_EQ(p.AnalyseParDéfaut, 3);
    EXPECT_FALSE(p.AfficherNombreMembres);
    EXPECT_EQ(p.AccèsAD, 1);
    EXPECT_EQ(p.NbElémentsMémorisésMax, 20);
}

TEST_F(FichierParamètres, ValueTooLargeForItsTypeStopsTheReading) {
    ÉcritFichier(Ini(), "[Config]\nNbElémentsMémorisésMax=40000\n");
    EXPECT_THROW(LitParamètres(Ini()), ErreurExécution);
    ÉcritFichier(Ini(), "[Config]\nFenêtreLargeur=40000\n");
    EXPECT_EQ(LitParamètres(Ini()).FenêtreLargeur, 40000);
}

TEST_F(FichierParamètres, NothingChangedWritesOnlyTheAlwaysKeys) {
    EcritParamètresSortie(Ini(), TousModifiés(), {});
    const QStringList attendues = u"FenêtreGauche FenêtreHaut FenêtreEtat FenêtreLargeur FenêtreHauteur "
                                  u"TypeGroupe EtendueGroupe NbElémentsMémorisésMax"_s.split(u' ');
    EXPECT_EQ(ClésDuFichier(Ini()), attendues);

    Paramètres rien = TousModifiés();
    rien.FenêtreMémoriserPosition = false;
    rien.FenêtreMémoriserTaille = false;
    QFile::remove(Ini());
    EcritParamètresSortie(Ini(), rien, {});
    EXPECT_EQ(ClésDuFichier(Ini()), QStringList(attendues.mid(5)));
}

TEST_F(FichierParamètres, EveryFlagWritesItsKeysInOrderAndReadsBack) {
    EcritParamètresSortie(Ini(), TousModifiés(), {true, true});
    const QStringList attendues =
        u"Langue AnalyseAutreTypeSiAucuneReponse AnalyseParDéfaut ContrôlerVerrouilléExpiré "
        u"DéplierGroupesContenantComptesDésactivésVerrouillésExpirés DéplierGroupesContenantGroupesRécursifs "
        u"DéplierGroupesEtOU ReprésenterGroupesRacineOU AfficherNombreMembres AccèsAD AccèsADDomaine "
        u"AccèsADLogin AccèsADPassword AccèsADServeur FenêtreMémoriserTaille FenêtreMémoriserPosition "
        u"MinimiserSystray ToujoursAuDessus FenêtreGauche FenêtreHaut FenêtreEtat FenêtreLargeur "
        u"FenêtreHauteur TypeGroupe EtendueGroupe NbElémentsMémorisésMax"_s.split(u' ');
    EXPECT_EQ(ClésDuFichier(Ini()), attendues);
    EXPECT_EQ(LitIni(Ini(), SectionConfig, CléConfig::DéplierGroupesEtOU, {}), u"-1"_s);
    EXPECT_EQ(LitIni(Ini(), SectionConfig, CléConfig::AfficherNombreMembres, {}), u"0"_s);
    EXPECT_NE(LitIni(Ini(), SectionConfig, CléConfig::AccèsADPassword, {}), TousModifiés().AccèsADPassword);
    EXPECT_EQ(LitParamètres(Ini()), TousModifiés());
}

TEST_F(FichierParamètres, FileHoldingAPasswordIsReadableByItsOwnerOnly) {
    const auto tous = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                      QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    EcritParamètresSortie(Ini(), Paramètres{}, {true, false});
    EXPECT_TRUE(QFile::permissions(Ini()) & QFileDevice::ReadOther) << "no password, usual permissions";
    EcritParamètresSortie(Ini(), TousModifiés(), {true, false});
    EXPECT_EQ(QFile::permissions(Ini()) & tous, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(MotDePasse, ScrambleIsReversibleUpperCaseHexTwoDigitsPerByte) {
    for (const QString& clair : {u"secret"_s, u"Pâques 2024 €"_s, u"漢字"_s, u" "_s}) {
        const QString chiffré = ChiffreMotDePasse(clair);
        EXPECT_EQ(chiffré.size(), 2 * clair.toUtf8().size());
        EXPECT_EQ(chiffré, chiffré.toUpper());
        EXPECT_NE(chiffré, QString::fromLatin1(clair.toUtf8().toHex().toUpper()));
        EXPECT_EQ(DéchiffreMotDePasse(chiffré), clair);
    }
    EXPECT_EQ(ChiffreMotDePasse(QString()), QString());
    EXPECT_EQ(DéchiffreMotDePasse(QString()), QString());
    EXPECT_EQ(DéchiffreMotDePasse(u"ABC"_s), QString());
    EXPECT_EQ(DéchiffreMotDePasse(u"motdepasse"_s), QString());
}

TEST(Emplacement, InstalledUnderASystemPrefixUsesTheConfigurationFolder) {
    QTemporaryDir racine;
    const QString préfixe = racine.filePath(u"usr"_s);
    const QString programme = préfixe + u"/bin"_s;
    const QString config = racine.filePath(u"home/.config"_s);
    const auto e = CalculeEmplacementParamètres(programme, config, {u"/opt"_s, préfixe});
    EXPECT_TRUE(e.Installé);
    EXPECT_EQ(e.DossierParamètres, config + u"/Velmora/Arbrix/"_s);
    EXPECT_EQ(e.CheminIni, config + u"/Velmora/Arbrix/Arbrix.ini"_s);
    EXPECT_TRUE(e.AncienFichier.isEmpty());

    // A folder merely starting with the prefix's letters is not under it.
    const auto ailleurs = CalculeEmplacementParamètres(préfixe + u"x/bin"_s, config, {préfixe});
    EXPECT_FALSE(ailleurs.Installé);
    EXPECT_EQ(ailleurs.CheminIni, préfixe + u"x/bin/Arbrix.ini"_s);
}

TEST(Emplacement, PortableCopyKeepsItsSettingsBesideTheProgram) {
    QTemporaryDir racine;
    const QString config = racine.filePath(u"config"_s);
    const auto e = CalculeEmplacementParamètres(racine.path(), config, {u"/usr"_s});
    EXPECT_FALSE(e.Installé);
    EXPECT_EQ(e.CheminIni, racine.path() + u"/Arbrix.ini"_s);
    PrépareDossierParamètres(e);
    EXPECT_FALSE(QFileInfo::exists(config));
}

TEST(Emplacement, FirstStartCreatesTheFoldersAndMovesTheOlderFile) {
    QTemporaryDir racine;
    const QString programme = racine.filePath(u"opt/arbrix"_s);
    const QString config = racine.filePath(u"config"_s);
    ASSERT_TRUE(QDir().mkpath(programme));
    ÉcritFichier(programme + u"/Arbrix.ini"_s, "[Config]\nLangue=English\n");

    const auto e = CalculeEmplacementParamètres(programme, config, {racine.filePath(u"opt"_s)});
    EXPECT_EQ(e.AncienFichier, programme + u"/Arbrix.ini"_s);
    PrépareDossierParamètres(e);
    EXPECT_TRUE(QFileInfo(config + u"/Velmora"_s).isDir());
    EXPECT_EQ(LitIni(e.CheminIni, SectionConfig, CléConfig::Langue, {}), u"English"_s);
    EXPECT_FALSE(QFile::exists(e.AncienFichier));

    // Once the new file exists the older one is no longer looked at.
    ÉcritFichier(programme + u"/Arbrix.ini"_s, "[Config]\nLangue=Deutsch\n");
    EXPECT_TRUE(
        CalculeEmplacementParamètres(programme, config, {racine.filePath(u"opt"_s)}).AncienFichier.isEmpty());
}

TEST(Emplacement, FailedCopyOfTheOlderFileStopsTheStartUp) {
    QTemporaryDir racine;
    const QString programme = racine.filePath(u"opt/arbrix"_s);
    ASSERT_TRUE(QDir().mkpath(programme));
    ÉcritFichier(programme + u"/Arbrix.ini"_s, "[Config]\n");
    const QString config = racine.filePath(u"config"_s);
    ÉcritFichier(config, "a file where the folder should be");
    const auto e = CalculeEmplacementParamètres(programme, config, {racine.filePath(u"opt"_s)});
    EXPECT_THROW(PrépareDossierParamètres(e), ErreurExécution);
    EXPECT_TRUE(QFile::exists(e.AncienFichier));
}
