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

// Kills the controller when the analysis shows its fifth item.
class TueurDeDc : public UtilisateurScripte {
public:
    void ChangeTraitementEnCours(const QString& texte) override {
        UtilisateurScripte::ChangeTraitementEnCours(texte);
        if (progression.size() == 5)
            ::kill(PidDc(), SIGKILL);
    }
};

class DcEnPanne : public ::testing::Test {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        ChargeTraductions({});
        m_options.networkTimeoutSeconds = DelaiReseau;
        m_options.answerTimeoutSeconds = DelaiReponse;
    }

    static bool MessageDErreur(const MessageVu& m) {
        return m.texte.startsWith(u"Une erreur ("_s) && m.icone == IconeMessage::Exclamation;
    }

    LdapOptions m_options;
};

TEST_F(DcEnPanne, KilledDuringADeepExpansion) {
    TueurDeDc utilisateur;
    AnalyseDc dc(utilisateur, m_options);
    ASSERT_TRUE(dc.ouverte);
    QElapsedTimer chrono;
    chrono.start();
    dc.Lance(utilisateur, u"Niveau 01"_s);
    EXPECT_LT(chrono.elapsed(), (DelaiReseau + 3) * 1000);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Erreur);
    EXPECT_EQ(dc.analyse->Resultat().numeroErreur, std::llabs(qint64(ErrorNumber::ServerDown)));
    ASSERT_EQ(utilisateur.messages.size(), 1u);
    EXPECT_TRUE(MessageDErreur(utilisateur.messages.front()))
        << utilisateur.messages.front().texte.toStdString();
    // What was read stays: the first levels, not the fifty.
    ASSERT_TRUE(dc.arbre.Racine());
    EXPECT_GE(dc.arbre.Count(), 4);
    EXPECT_LT(dc.arbre.Count(), 50);

    ASSERT_TRUE(RelanceDc());
    utilisateur.messages.clear();
    dc.Lance(utilisateur, u"Niveau 01"_s);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(dc.arbre.Count(), 50);
    EXPECT_TRUE(utilisateur.messages.empty());
}

TEST_F(DcEnPanne, SilentControllerGivesUpWithinTheTimeoutAndStopWorksMeanwhile) {
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
        ASSERT_EQ(utilisateur.messages.size(), 1u);
        EXPECT_TRUE(MessageDErreur(utilisateur.messages.front()));

        // Stop pressed while the answer is awaited ends the analysis at once, as a stop.
        utilisateur.messages.clear();
        dc.analyse->NomRacine = u"Niveau 01"_s;
        dc.analyse->TypeRacine = 1;
        dc.analyse->DNRacine = DnEpreuves(u"CN=Niveau 01,OU=Chaine"_s);
        utilisateur.arretALaPompe = utilisateur.pompes + 3;
        chrono.restart();
        dc.analyse->ConstruitArborescence();
        EXPECT_LT(chrono.elapsed(), 1500);
        EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arretee);
        ASSERT_EQ(utilisateur.messages.size(), 1u);
        EXPECT_EQ(utilisateur.messages.front().texte, Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE"));
    }
    utilisateur.messages.clear();
    dc.Lance(utilisateur, u"Niveau 01"_s);
    EXPECT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(dc.arbre.Count(), 50);
}

} // namespace
