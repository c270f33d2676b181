// How an analysis ended: the command-line program's exit status and candidate list rest on it.

#include "tree/AnalyseFixture.h"

using namespace arbrix;
using namespace arbrix::test;

namespace {

const QString DnBoucleA = dnVelmora(QStringLiteral("CN=Boucle A,OU=R&D\\, Paris"));

class IssueAnalyseTest : public AnalyseDomaine {
protected:
    const ResultatAnalyse& ParNom(const QString& nom, int type = 1) {
        m_utilisateur.messages.clear();
        return m_analyse->AnalyseTexte(Mode::Standard, nom, type);
    }
    const ResultatAnalyse& ParDn(const QString& dn) {
        m_utilisateur.messages.clear();
        return m_analyse->LanceAnalyse(Mode::Standard, dn);
    }
    void EchouentAvec(int code) {
        m_enveloppe->avantRecherche = [code](const SearchRequest&) {
            throw LdapError(code, QStringLiteral("refused by the test"));
        };
    }
};

// An unknown name or DN is read end to end by the command-line tests; a DN that names neither an
// O.U. nor a group is not found either.
TEST_F(IssueAnalyseTest, ADnOfNoOuNorGroupIsNotFound) {
    EXPECT_EQ(ParDn(QStringLiteral("DC=velmora,DC=test")).issue, IssueAnalyse::Introuvable);
    EXPECT_TRUE(m_arbre.isEmpty());
}

TEST_F(IssueAnalyseTest, SeveralFoundKeepTheCandidatesUntilOneIsChosen) {
    EXPECT_EQ(ParNom(QStringLiteral("Boucle*")).candidats.size(), 3);
    EXPECT_TRUE(m_utilisateur.messages.isEmpty());
    m_utilisateur.choix = 7; // out of the list: as good as cancelled
    EXPECT_EQ(ParNom(QStringLiteral("Boucle*")).issue, IssueAnalyse::Plusieurs);

    m_utilisateur.choix = 1;
    const ResultatAnalyse& choisi = ParNom(QStringLiteral("Boucle*"));
    EXPECT_EQ(choisi.issue, IssueAnalyse::Arborescence);
    EXPECT_TRUE(choisi.candidats.isEmpty()) << "a new analysis starts from a clean outcome";
    EXPECT_EQ(m_analyse->NomRacine, u"Boucle B");
}

TEST_F(IssueAnalyseTest, AStopDuringTheBuildIsNotASuccess) {
    m_utilisateur.arretALaPompe = 3;
    EXPECT_EQ(ParNom(QStringLiteral("Ventes"), 0).issue, IssueAnalyse::Arretee);
    EXPECT_EQ(m_utilisateur.messages.last(), Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE"));
}

TEST_F(IssueAnalyseTest, DirectoryFailuresKeepTheirNumber) {
    EchouentAvec(LdapCode::Busy);
    const qint64 occupe = -qint64(ErrorNumber::LdapBase + LdapCode::Busy);
    // The build's number is the one its message shows; the lookup's is the directory's own.
    EXPECT_EQ(ParDn(DnBoucleA).numeroErreur, occupe);
    ASSERT_EQ(m_utilisateur.messages.size(), 1);
    EXPECT_TRUE(m_utilisateur.messages[0].contains(QString::number(occupe)));
    EXPECT_EQ(ParNom(QStringLiteral("Boucle A")).numeroErreur, -occupe);

    // A refusal of rights has a message of its own, without number.
    EchouentAvec(LdapCode::InsufficientAccessRights);
    for (const bool parDn : {true, false}) {
        const ResultatAnalyse& r = parDn ? ParDn(DnBoucleA) : ParNom(QStringLiteral("Boucle A"));
        EXPECT_EQ(r.issue, IssueAnalyse::Erreur);
        EXPECT_EQ(r.numeroErreur, ErrorNumber::QueryAccessDenied);
        ASSERT_EQ(m_utilisateur.messages.size(), 1);
        EXPECT_EQ(m_utilisateur.messages[0], Traduction(u"MSG_ERREUR_DROITS_AD"));
    }
}

} // namespace
