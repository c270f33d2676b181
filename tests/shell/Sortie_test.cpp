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

// Only a normal window keeps its place; a minimised one comes back normal; the size is the last
// normal one in every state.
TEST(GeometrieDeSortie, MinimisedIsRememberedAsNormalWithTheLastNormalSize) {
    const struct {
        EtatFenetre etat;
        qint16 etatRetenu;
        qint32 gaucheRetenue, hautRetenu;
    } cas[] = {{EtatFenetre::Minimisee, 0, 0, 0},
               {EtatFenetre::Maximisee, 2, 0, 0},
               {EtatFenetre::Normal, 0, -30, 600}};
    for (const auto& c : cas) {
        const Parametres p = AvecGeometrieDeSortie({}, {c.etat, -30, 600, 9000, 7000});
        EXPECT_EQ(p.FenetreEtat, c.etatRetenu);
        EXPECT_EQ(p.FenetreGauche, c.gaucheRetenue);
        EXPECT_EQ(p.FenetreHaut, c.hautRetenu);
        EXPECT_EQ(p.FenetreLargeur, 9000);
        EXPECT_EQ(p.FenetreHauteur, 7000);
    }
}

TEST_F(Sortie, ConfigurationIsWrittenOnlyWhenTheDialogWasAccepted) {
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, etat);
    EXPECT_EQ(Lit(CleConfig::Langue), u"<absente>"_s);
    EXPECT_EQ(Lit(CleConfig::FenetreLargeur), u"8000"_s);
    EXPECT_EQ(suivi, (QStringList{u"mémos"_s, u"tray"_s}));

    etat.ConfigurationModifiee = true;
    etat.OptionsFenetreModifiees = true;
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, etat);
    EXPECT_EQ(Lit(CleConfig::Langue), u"English"_s);
    EXPECT_EQ(Lit(CleConfig::MinimiserSystray), u"0"_s);
}

// Each step runs whatever the others did; a restart starts the program without arguments.
TEST_F(Sortie, AFailingStepDoesNotStopTheNextOnes) {
    etapes.fermeFenetres = [] { throw std::runtime_error("fenêtre"); };
    etapes.sauveMemos = [](const QString&) { throw std::runtime_error("mémos"); };
    etat.Emplacement.CheminIni = dossier.filePath(u"absent/Arbrix.ini"_s); // cannot be written
    etat.RedemarrageDemande = true;
    EXPECT_NO_THROW(Termine({}, etapes, etat));
    EXPECT_EQ(suivi, QStringList{u"tray"_s});
    ASSERT_EQ(lancees.size(), 1);
    EXPECT_TRUE(lancees[0].arguments.isEmpty());
    EXPECT_FALSE(lancees[0].programme.isEmpty());
}
