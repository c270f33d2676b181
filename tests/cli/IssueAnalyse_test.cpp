// How an analysis ended, as the analysis itself tells it: the command-line program's exit status
// and candidate list rest on it, so every ending is checked on the sample domain.

#include "directory/ForwardingBackend.h"
#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "shell/TemoinMessages.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"

#include <gtest/gtest.h>

#include <functional>

using namespace arbrix;

namespace {

const QString DnBoucleA = QStringLiteral("CN=Boucle A,OU=R&D\\, Paris,OU=Velmora,DC=velmora,DC=test");

// The embedded directory, whose searches can be made to fail.
class AnnuaireDefaillant : public ForwardingBackend {
public:
    using ForwardingBackend::ForwardingBackend;

    std::optional<int> codeEchec; // every search fails with this LDAP code

    std::unique_ptr<SearchCursor> search(const SearchRequest& requete) override {
        if (codeEchec)
            throw LdapError(*codeEchec, QStringLiteral("refused by the test"));
        return ForwardingBackend::search(requete);
    }
};

// Stops the build at the given turn of the event pump.
class Utilisateur : public test::Temoin {
public:
    int arretALaPompe = -1;
    void TraiteEvenements() override {
        if (--arretALaPompe == 0)
            DemandeArret();
    }
};

class IssueAnalyseTest : public ::testing::Test {
protected:
    void SetUp() override {
        Catalogue().Vide();
        ChargeTraductions(QString());
        annuaire = std::make_shared<AnnuaireDefaillant>(
            std::make_shared<MemoryBackend>(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif")));
        session = std::make_unique<SessionAD>(annuaire, AccesAnnuaire{});
        session->definitNomUtilisateurSysteme([] { return QStringLiteral("test"); });
        ASSERT_TRUE(session->Ouvre().reussi());
        analyse = std::make_unique<Analyse>(arbre, *session, parametres, utilisateur);
    }

    const ResultatAnalyse& ParNom(const QString& nom, int type = 1, qint16 mode = Mode::Standard) {
        utilisateur.messages.clear();
        utilisateur.ChangeTexteRecherche(nom);
        utilisateur.ChangeTypeRecherche(type);
        analyse->LanceAnalyse(mode);
        return analyse->Resultat();
    }
    const ResultatAnalyse& ParDn(const QString& dn, qint16 mode = Mode::Standard) {
        utilisateur.messages.clear();
        analyse->LanceAnalyse(mode, dn);
        return analyse->Resultat();
    }

    std::shared_ptr<AnnuaireDefaillant> annuaire;
    std::unique_ptr<SessionAD> session;
    Parametres parametres;
    Arbre arbre;
    Utilisateur utilisateur;
    std::unique_ptr<Analyse> analyse;
};

// An unknown name or DN is read end to end by the command-line tests; a DN that names neither an
// O.U. nor a group is not found either.
TEST_F(IssueAnalyseTest, ADnOfNoOuNorGroupIsNotFound) {
    EXPECT_EQ(ParDn(QStringLiteral("DC=velmora,DC=test")).issue, IssueAnalyse::Introuvable);
    EXPECT_EQ(utilisateur.messages.size(), 1);
    EXPECT_TRUE(arbre.isEmpty());
}

TEST_F(IssueAnalyseTest, SeveralFoundKeepTheCandidatesUntilOneIsChosen) {
    EXPECT_EQ(ParNom(QStringLiteral("Boucle*")).candidats.size(), 3);
    EXPECT_TRUE(utilisateur.messages.isEmpty());
    utilisateur.choix = 7; // out of the list: as good as cancelled
    EXPECT_EQ(ParNom(QStringLiteral("Boucle*")).issue, IssueAnalyse::Plusieurs);

    utilisateur.choix = 1;
    const ResultatAnalyse& choisi = ParNom(QStringLiteral("Boucle*"));
    EXPECT_EQ(choisi.issue, IssueAnalyse::Arborescence);
    EXPECT_TRUE(choisi.candidats.isEmpty()) << "a new analysis starts from a clean outcome";
    EXPECT_EQ(analyse->NomRacine, u"Boucle B");
}

TEST_F(IssueAnalyseTest, AStopDuringTheBuildIsNotASuccess) {
    utilisateur.arretALaPompe = 3;
    EXPECT_EQ(ParNom(QStringLiteral("Ventes"), 0).issue, IssueAnalyse::Arretee);
    EXPECT_EQ(utilisateur.messages.last(), Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE"));
}

TEST_F(IssueAnalyseTest, DirectoryFailuresKeepTheirNumber) {
    annuaire->codeEchec = LdapCode::Busy;
    const qint64 occupe = -qint64(ErrorNumber::LdapBase + LdapCode::Busy);
    // The build's number is the one its message shows; the lookup's is the directory's own.
    EXPECT_EQ(ParDn(DnBoucleA).numeroErreur, occupe);
    ASSERT_EQ(utilisateur.messages.size(), 1);
    EXPECT_TRUE(utilisateur.messages[0].contains(QString::number(occupe)));
    EXPECT_EQ(ParNom(QStringLiteral("Boucle A")).numeroErreur, -occupe);

    // A refusal of rights has a message of its own, without number.
    annuaire->codeEchec = LdapCode::InsufficientAccessRights;
    for (const bool parDn : {true, false}) {
        const ResultatAnalyse& r = parDn ? ParDn(DnBoucleA) : ParNom(QStringLiteral("Boucle A"));
        EXPECT_EQ(r.issue, IssueAnalyse::Erreur);
        EXPECT_EQ(r.numeroErreur, ErrorNumber::QueryAccessDenied);
        EXPECT_EQ(utilisateur.messages, QStringList{Traduction(u"MSG_ERREUR_DROITS_AD")});
    }
}

} // namespace
