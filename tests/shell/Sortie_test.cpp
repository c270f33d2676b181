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
        état.Emplacement.CheminIni = dossier.filePath(u"Arbrix.ini"_s);
        état.Config.Langue = u"English"_s;
        état.Config.FenêtreMémoriserPosition = true;
        état.Config.FenêtreMémoriserTaille = true;
        étapes.sauveMémos = [this](const QString&) { suivi.append(u"mémos"_s); };
        étapes.retireIcôneTray = [this] { suivi.append(u"tray"_s); };
        étapes.lance = [this](const Commande& c) { lancées.append(c); };
    }
    QString Lit(const QString& clé) const {
        return LitIni(état.CheminIni(), SectionConfig, clé, u"<absente>"_s);
    }

    QTemporaryDir dossier;
    ÉtatProgramme état;
    ÉtapesSortie étapes;
    QStringList suivi;
    QList<Commande> lancées;
};

} // namespace

TEST(GéométrieDeSortie, MinimisedIsRememberedAsNormalWithTheLastNormalSize) {
    const Paramètres p = AvecGéométrieDeSortie({}, {ÉtatFenêtre::Minimisée, 500, 600, 9000, 7000});
    EXPECT_EQ(p.FenêtreEtat, 0);
    EXPECT_EQ(p.FenêtreGauche, 0);
    EXPECT_EQ(p.FenêtreHaut, 0);
    EXPECT_EQ(p.FenêtreLargeur, 9000);
    EXPECT_EQ(p.FenêtreHauteur, 7000);

    const Paramètres max = AvecGéométrieDeSortie({}, {ÉtatFenêtre::Maximisée, 500, 600, 9000, 7000});
    EXPECT_EQ(max.FenêtreEtat, 2);
    EXPECT_EQ(max.FenêtreGauche, 0);

    const Paramètres normale = AvecGéométrieDeSortie({}, {ÉtatFenêtre::Normal, -30, 600, 9000, 7000});
    EXPECT_EQ(normale.FenêtreEtat, 0);
    EXPECT_EQ(normale.FenêtreGauche, -30);
    EXPECT_EQ(normale.FenêtreHaut, 600);
}

TEST_F(Sortie, ConfigurationIsWrittenOnlyWhenTheDialogWasAccepted) {
    Termine({ÉtatFenêtre::Normal, 15, 30, 8000, 6000}, étapes, état);
    EXPECT_EQ(Lit(CléConfig::Langue), u"<absente>"_s);
    EXPECT_EQ(Lit(CléConfig::MinimiserSystray), u"<absente>"_s);
    EXPECT_EQ(Lit(CléConfig::FenêtreGauche), u"15"_s);
    EXPECT_EQ(Lit(CléConfig::FenêtreLargeur), u"8000"_s);
    EXPECT_EQ(Lit(CléConfig::NbElémentsMémorisésMax), u"20"_s);
    EXPECT_EQ(suivi, (QStringList{u"mémos"_s, u"tray"_s}));
    EXPECT_TRUE(lancées.isEmpty());

    état.ConfigurationModifiée = true;
    état.OptionsFenêtreModifiées = true;
    Termine({ÉtatFenêtre::Normal, 15, 30, 8000, 6000}, étapes, état);
    EXPECT_EQ(Lit(CléConfig::Langue), u"English"_s);
    EXPECT_EQ(Lit(CléConfig::MinimiserSystray), u"0"_s);
}

TEST_F(Sortie, RestartStartsTheProgramWithoutArguments) {
    état.RedémarrageDemandé = true;
    Termine({}, étapes, état);
    ASSERT_EQ(lancées.size(), 1);
    EXPECT_TRUE(lancées[0].arguments.isEmpty());
    EXPECT_FALSE(lancées[0].programme.isEmpty());
}

TEST_F(Sortie, AFailingStepDoesNotStopTheNextOnes) {
    étapes.fermeFenêtres = [] { throw std::runtime_error("fenêtre"); };
    étapes.sauveMémos = [](const QString&) { throw std::runtime_error("mémos"); };
    état.Emplacement.CheminIni = dossier.filePath(u"absent/Arbrix.ini"_s); // cannot be written
    état.RedémarrageDemandé = true;
    EXPECT_NO_THROW(Termine({}, étapes, état));
    EXPECT_EQ(suivi, QStringList{u"tray"_s});
    EXPECT_EQ(lancées.size(), 1);
}
