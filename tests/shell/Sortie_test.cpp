#include "search/Memos.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "shell/FichiersTest.h"
#include "shell/Sortie.h"
#include "shell/TemoinMessages.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <sys/resource.h>

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
        etapes.sauveMemos = [this](LotIni&) { suivi.append(u"mémos"_s); };
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
    test::Temoin temoin;
};

// A size limit on the files this process writes, with SIGXFSZ ignored so that a write past it
// fails (EFBIG) as on a full disk. It holds for root too, which file permissions do not.
class LimiteTailleFichiers {
public:
    explicit LimiteTailleFichiers(rlim_t octets)
        : m_signal(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_avant);
        rlimit limite = m_avant;
        limite.rlim_cur = octets;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteTailleFichiers() {
        setrlimit(RLIMIT_FSIZE, &m_avant);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    void (*m_signal)(int);
    rlimit m_avant{};
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
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, temoin, etat);
    EXPECT_EQ(Lit(CleConfig::Langue), u"<absente>"_s);
    EXPECT_EQ(Lit(CleConfig::FenetreLargeur), u"8000"_s);
    EXPECT_EQ(suivi, (QStringList{u"mémos"_s, u"tray"_s}));

    etat.ConfigurationModifiee = true;
    etat.OptionsFenetreModifiees = true;
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, temoin, etat);
    EXPECT_EQ(Lit(CleConfig::Langue), u"English"_s);
    EXPECT_EQ(Lit(CleConfig::MinimiserSystray), u"0"_s);
}

// Settings and memorised entries reach the file in one replacement, and a step that fails adds
// none of its changes to it.
TEST_F(Sortie, SettingsAndEntriesAreWrittenTogether) {
    Memos memos;
    memos.MemoriseRecherche(u"Compta"_s, 1);
    etapes.sauveMemos = [&](LotIni& lot) {
        EXPECT_FALSE(QFile::exists(etat.CheminIni())) << "written before the entries joined";
        memos.Ecrit(lot);
    };
    Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, temoin, etat);
    EXPECT_EQ(Lit(CleConfig::FenetreLargeur), u"8000"_s);
    const QString entrees = Lit(CleConfig::Memos);
    EXPECT_EQ(entrees, memos.TexteSauvegarde());

    etapes.sauveMemos = [](LotIni& lot) {
        lot.Ecrit(SectionConfig, CleConfig::Memos, u"à moitié"_s);
        throw std::runtime_error("mémos");
    };
    Termine({EtatFenetre::Normal, 15, 30, 7000, 6000}, etapes, temoin, etat);
    EXPECT_EQ(Lit(CleConfig::FenetreLargeur), u"7000"_s);
    EXPECT_EQ(Lit(CleConfig::Memos), entrees);
    EXPECT_TRUE(temoin.messages.isEmpty());
}

// Each step runs whatever the others did; a restart starts the program without arguments.
TEST_F(Sortie, AFailingStepDoesNotStopTheNextOnes) {
    etapes.fermeFenetres = [] { throw std::runtime_error("fenêtre"); };
    etapes.sauveMemos = [](LotIni&) { throw std::runtime_error("mémos"); };
    etat.Emplacement.CheminIni = dossier.filePath(u"absent/Arbrix.ini"_s); // cannot be written
    etat.RedemarrageDemande = true;
    EXPECT_NO_THROW(Termine({}, etapes, temoin, etat));
    EXPECT_EQ(suivi, QStringList{u"tray"_s});
    ASSERT_EQ(lancees.size(), 1);
    EXPECT_TRUE(lancees[0].arguments.isEmpty());
    EXPECT_FALSE(lancees[0].programme.isEmpty());
}

// Settings and memorised entries both fail on the one file: one message, naming it and why; the
// file is as it was, with nothing left beside it, and the settings in memory are untouched.
TEST_F(Sortie, AFailedWriteIsToldOnceAndLeavesFileAndMemoryAsTheyWere) {
    ASSERT_TRUE(test::EcritFichier(etat.CheminIni(), "[Config]\nLangue=Deutsch\n"));
    const QByteArray avant = test::LitFichier(etat.CheminIni());
    etat.ConfigurationModifiee = true;
    const Parametres config = etat.Config;
    Memos memos;
    memos.MemoriseRecherche(u"Compta"_s, 1);
    etapes.sauveMemos = [&](LotIni& lot) { memos.Ecrit(lot); };
    {
        const LimiteTailleFichiers limite(rlim_t(avant.size()));
        Termine({EtatFenetre::Normal, 15, 30, 8000, 6000}, etapes, temoin, etat);
    }
    ASSERT_EQ(temoin.messages.size(), 1);
    EXPECT_TRUE(temoin.messages[0].contains(etat.CheminIni())) << temoin.messages[0].toStdString();
    EXPECT_TRUE(temoin.messages[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
    EXPECT_EQ(test::LitFichier(etat.CheminIni()), avant);
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Arbrix.ini"_s});
    EXPECT_EQ(etat.Config, config);
    EXPECT_EQ(suivi, QStringList{u"tray"_s});
}
