// Large and hostile data on a domain controller: thousands of ranged values, deep nesting, a
// cycle, and names made of the characters that DNs escape and filters reserve.

#include "DcFaults.h"

#include "directory/Dn.h"
#include "export/Export.h"
#include "export/OptionsExport.h"

#include <QSet>

using namespace arbrix;
using namespace arbrix::test;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

// The "*" in the hard name makes the search a wildcard one: the O.U. and the group both answer,
// and the user picks the one of the type searched.
class ChoisitLeType : public UtilisateurScripte {
public:
    std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) override {
        UtilisateurScripte::ChoisitOccurrence(occurrences);
        for (int i = 0; i < occurrences.size(); ++i) {
            if (occurrences[i].TypeObjet == TypeRecherche() && occurrences[i].Nom == NomHostile)
                return i;
        }
        return std::nullopt;
    }
};

class DcDifficile : public ::testing::Test {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        ChargeTraductions({});
        m_dc = std::make_unique<AnalyseDc>(m_utilisateur, m_options);
        ASSERT_TRUE(m_dc->ouverte);
    }

    LdapOptions m_options;
    ChoisitLeType m_utilisateur;
    std::unique_ptr<AnalyseDc> m_dc;
};

// The values of "member" as the controller hands them out, slice after slice.
TEST_F(DcDifficile, FiveThousandMembersReadInSlices) {
    LdapOptions enTranches;
    enTranches.rangeSize = 1000;
    SearchRequest lecture{DnEpreuves(u"CN=Grand groupe"_s), SearchScope::Base, {}, {u"member"_s}};
    const QList<LdapEntry> lu = searchAll(*BoundBackend(AdminCredentials(), enTranches), lecture);
    ASSERT_EQ(lu.size(), 1);
    const LdapAttribute* membres = lu.first().find(u"member");
    ASSERT_TRUE(membres);
    EXPECT_EQ(membres->name, u"member"_s);
    EXPECT_EQ(QSet<QByteArray>(membres->values.begin(), membres->values.end()).size(), 5000);

    m_dc->Lance(m_utilisateur, u"Grand groupe"_s);
    ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(m_dc->arbre.Racine()->ChildCount(), 5000);
}

TEST_F(DcDifficile, FiftyLevelsDeepAndACycleOfThree) {
    m_dc->Lance(m_utilisateur, u"Niveau 01"_s);
    ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence);
    int niveaux = 1;
    const Noeud* n = m_dc->arbre.Racine();
    for (; n->ChildCount() == 1; n = n->FirstChild())
        ++niveaux;
    EXPECT_EQ(niveaux, 50);
    EXPECT_TRUE(n->Text().startsWith(u"Niveau 50"_s)) << n->Text().toStdString();
    EXPECT_TRUE(m_dc->analyse->GroupesRecursifs.isEmpty());

    m_dc->Lance(m_utilisateur, u"Cycle A"_s);
    ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(m_dc->analyse->GroupesRecursifs, QStringList{u"Cycle A"_s});
    EXPECT_EQ(m_dc->arbre.Count(), 4); // A > B > C > A, the last one not expanded
}

// Found by name, shown, and exported as they are, as a group and as an O.U.
TEST_F(DcDifficile, NamesWithEveryReservedCharacter) {
    for (const int type : {1, 0}) {
        m_dc->Lance(m_utilisateur, NomHostile, type);
        ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence) << type;
        const Noeud* racine = m_dc->arbre.Racine();
        EXPECT_TRUE(racine->Text().startsWith(NomHostile)) << racine->Text().toStdString();
        const QString rdn = (type == 0 ? u"OU="_s : u"CN="_s) + EchappeValeurDn(NomHostile);
        EXPECT_TRUE(DnEgaux(racine->DN(), DnEpreuves(rdn))) << racine->DN().toStdString();
        OptionsExport options;
        options.Etendue = EtendueExport::Complete;
        const QString texte = GenerateurExport(options).GenereExport(*racine, false);
        EXPECT_GE(texte.count(NomHostile), 2) << texte.toStdString();
    }
    EXPECT_TRUE(m_utilisateur.messages.empty());
}

} // namespace
