#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "shell/Sortie.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

class Sortie : public ::testing::Test {
protected:
    void SetUp() override {
        etat.Emplacement.CheminIni = dossier.filePath(u"Arbrix.ini"_s);
        etat.Config.Langue = u"English"_s;
        etat.Config.FenetreMemoriserPosition = true;
        etat.Config.FenetreMemoriserTaille = true;
        etapes.sauveMemos = [this](const QString&) { suivi.append(u"mémos"_s); };
        etapes.retireIconeTray = [this] { suivi.append(u"tray"_s); };
        etapes.lance = [this](const Commande& c) { lancees.append(c); };
    }
    QString Lit(const QString& cle) const {
        return LitIni(etat.CheminIni(), SectionConfig, cle, u"<absente>"_s);
    }

    QTemporaryDir dossier;
    EtatProgramme etat;
    EtapesSortie etapes;
    QStringList suivi;
    QList<Commande> lancees;
};

} // namespace

TEST(GeometrieDeSortie, MinimisedIsRememberedAsNormalWithTheLastNormalSize) {
    const Parametres p = AvecGeometrieDeSortie({}, {EtatFenetre::Minimisee, 500, 600, 9000, 7000});
    EXPECT_EQ(p.FenetreEtat, 0);
    EXPECT_EQ(p.FenetreGauche, 0);
    EXPECT_EQ(p.FenetreHaut, 0);
    EXPECT_EQ(p.FenetreLargeur, 9000);
    EXPECT_EQ(p.FenetreHauteur, 7000);

    const Parametres max = AvecGeometrieDeSortie({}, {EtatFenetre::Maximisee, 500, 600, 9000, 7000});
    EXPECT_EQ(max.FenetreEtat, 2);
    EXPECT_EQ(max.FenetreGauche, 0);

    const Parametres normale = AvecGeometrieDeSortie({}, {EtatFenetre::Normal, -30, 600, 9000, 7000});
    EXPECT_EQ(normale.FenetreEtat, 0);
    EXPECT_EQ(normale.FenetreGauche, -30);
    EXPECT_EQ(normale.FenetreHaut, 600);
}

TEST_F(Sortie, ConfigurationIsWrittenOnlyWhenTheDialogWasAccepted) {
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, etat);
    EXPECT_EQ(Lit(CleConfig::Langue), u"<absente>"_s);
    EXPECT_EQ(Lit(CleConfig::MinimiserSystray), u"<absente>"_s);
    EXPECT_EQ(Lit(CleConfig::FenetreGauche), u"15"_s);
    EXPECT_EQ(Lit(CleConfig::FenetreLargeur), u"8000"_s);
    EXPECT_EQ(Lit(CleConfig::NbElementsMemorisesMax), u"20"_s);
    EXPECT_EQ(suivi, (QStringList{u"mémos"_s, u"tray"_s}));
    EXPECT_TRUE(lancees.isEmpty());

    etat.ConfigurationModifiee = true;
    etat.OptionsFenetreModifiees = true;
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, etat);
    EXPECT_EQ(Lit(CleConfig::Langue), u"English"_s);
    EXPECT_EQ(Lit(CleConfig::MinimiserSystray), u"0"_s);
}

TEST_F(Sortie, RestartStartsTheProgramWithoutArguments) {
    etat.RedemarrageDemande = true;
    Termine({}, etapes, etat);
    ASSERT_EQ(lancees.size(), 1);
    EXPECT_TRUE(lancees[0].arguments.isEmpty());
    EXPECT_FALSE(lancees[0].programme.isEmpty());
}

TEST_F(Sortie, AFailingStepDoesNotStopTheNextOnes) {
    etapes.fermeFenetres = [] { throw std::runtime_error("fenêtre"); };
    etapes.sauveMemos = [](const QString&) { throw std::runtime_error("mémos"); };
    etat.Emplacement.CheminIni = dossier.filePath(u"absent/Arbrix.ini"_s); // cannot be written
    etat.RedemarrageDemande = true;
    EXPECT_NO_THROW(Termine({}, etapes, etat));
    EXPECT_EQ(suivi, QStringList{u"tray"_s});
    EXPECT_EQ(lancees.size(), 1);
}
