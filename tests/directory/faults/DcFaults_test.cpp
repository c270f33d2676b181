// A controller that fails in the middle of an analysis: killed, or alive but silent. The tree
// keeps what was read, a translated message comes in bounded time, and the next analysis works.

#include "DcFaults.h"

using namespace arbrix;
using namespace arbrix::test;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

constexpr int DelaiReseau = 2;
constexpr int DelaiReponse = 3;

// Kills the controller at the first pause of the build (an answer awaited, or the events pumped
// between two items): whatever comes next from the directory fails.
class TueurDeDc : public UtilisateurScripte {
public:
    bool armee = true;
    void TraiteEvenements() override {
        UtilisateurScripte::TraiteEvenements();
        if (armee && TraitementEnCoursAffiche()) {
            armee = false;
            ::kill(PidDc(), SIGKILL);
        }
    }
};

class DcEnPanne : public ::testing::Test {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        RelanceDcMort();
        ChargeTraductions({});
        m_options.networkTimeoutSeconds = DelaiReseau;
        m_options.answerTimeoutSeconds = DelaiReponse;
    }

    // The one message shown: an error, with its icon.
    static bool SeulMessageDErreur(const test::Temoin& vu) {
        return vu.messages.size() == 1 && vu.messages.front().startsWith(u"Une erreur ("_s) &&
               vu.icones.front() == IconeMessage::Exclamation;
    }

    LdapOptions m_options;
};

// Members come a page at a time: the controller dies between two pages.
TEST_F(DcEnPanne, KilledDuringABigExpansion) {
    TueurDeDc utilisateur;
    AnalyseDc dc(utilisateur, m_options);
    ASSERT_TRUE(dc.ouverte);
    QElapsedTimer chrono;
    chrono.start();
    dc.Lance(utilisateur, u"Grand groupe"_s);
    EXPECT_LT(chrono.elapsed(), (DelaiReseau + 3) * 1000);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Erreur);
    EXPECT_EQ(dc.analyse->Resultat().numeroErreur, std::llabs(qint64(ErrorNumber::ServerDown)));
    EXPECT_TRUE(SeulMessageDErreur(utilisateur)) << utilisateur.messages.join(u'\n').toStdString();
    // What was read stays.
    ASSERT_TRUE(dc.arbre.Racine());
    EXPECT_LT(dc.arbre.Count(), 5001);

    ASSERT_TRUE(RelanceDc());
    utilisateur.messages.clear();
    utilisateur.icones.clear();
    dc.Lance(utilisateur, u"Niveau 01"_s);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(dc.arbre.Count(), 50);
    for (const QString& m : utilisateur.messages)
        ADD_FAILURE() << m.toStdString();
}

// Stop while the answer is awaited is tested with the progress window (ui/ArretDcMuet.cpp).
TEST_F(DcEnPanne, SilentControllerGivesUpWithinTheTimeout) {
    UtilisateurScripte utilisateur;
    AnalyseDc dc(utilisateur, m_options);
    ASSERT_TRUE(dc.ouverte);
    {
        const DcMuet muet;
        QElapsedTimer chrono;
        chrono.start();
        dc.Lance(utilisateur, u"Niveau 01"_s);
        EXPECT_GE(chrono.elapsed(), (DelaiReponse - 1) * 1000);
        EXPECT_LT(chrono.elapsed(), (DelaiReponse + 3) * 1000);
        EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Erreur);
        EXPECT_TRUE(SeulMessageDErreur(utilisateur)) << utilisateur.messages.join(u'\n').toStdString();
    }
    utilisateur.messages.clear();
    utilisateur.icones.clear();
    dc.Lance(utilisateur, u"Niveau 01"_s);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(dc.arbre.Count(), 50);
}

} // namespace
