// Large and hostile data on a domain controller: thousands of ranged values, deep nesting, and
// names made of the characters that DNs escape and filters reserve. (Cycles: the sample's loop is
// analysed on the controller by the CLI tests.)

#include "DcFaults.h"

#include "directory/Dn.h"
#include "export/Export.h"
#include "groupops/ChoixMembres.h"
#include "settings/OptionsExport.h"

#include <QDateTime>
#include <QScopeGuard>
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
    int typeCherche = 1;
    std::optional<int> ChoisitOccurrence(const ListeOccurrences& occurrences) override {
        UtilisateurScripte::ChoisitOccurrence(occurrences);
        for (int i = 0; i < occurrences.size(); ++i) {
            if (occurrences[i].TypeObjet == typeCherche && occurrences[i].Nom == NomHostile)
                return i;
        }
        return std::nullopt;
    }
    // Confirms what the operations ask.
    ReponseMessage Message(const QString& texte, IconeMessage icone, BoutonsMessage boutons,
                           ReponseMessage defaut, const QString& titre) override {
        UtilisateurScripte::Message(texte, icone, boutons, defaut, titre);
        return boutons == BoutonsMessage::Ok ? ReponseMessage::Ok : ReponseMessage::Oui;
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

    OperationsGroupes operations() { return m_dc->operations(m_utilisateur); }
    // The DNs of the members of a group, every slice read.
    static QSet<QString> membres(const QString& dnGroupe) {
        QSet<QString> dns;
        for (const QString& dn : ValeursDc(LitDc(dnGroupe, {u"member"_s}), u"member"))
            dns.insert(dn.toLower());
        return dns;
    }
    // The group under the top node, its DN as the controller writes it.
    Noeud* sousLaRacine(const QString& dn) const {
        const Noeud* racine = m_dc->arbre.Racine();
        for (int i = 0; i < racine->ChildCount(); ++i)
            if (DnEgaux(racine->Child(i)->DN(), dn))
                return racine->Child(i);
        return nullptr;
    }

    LdapOptions m_options;
    ChoisitLeType m_utilisateur;
    std::unique_ptr<AnalyseDc> m_dc;
};

TEST_F(DcDifficile, FiftyLevelsDeep) {
    m_dc->Lance(u"Niveau 01"_s);
    ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence);
    int niveaux = 1;
    const Noeud* n = m_dc->arbre.Racine();
    for (; n->ChildCount() == 1; n = n->FirstChild())
        ++niveaux;
    EXPECT_EQ(niveaux, 50);
    EXPECT_TRUE(n->Text().startsWith(u"Niveau 50"_s)) << n->Text().toStdString();
    EXPECT_TRUE(m_dc->analyse->GroupesRecursifs.isEmpty());
}

// Found by name, shown, and exported as they are, as a group and as an O.U.
TEST_F(DcDifficile, NamesWithEveryReservedCharacter) {
    for (const int type : {1, 0}) {
        m_utilisateur.typeCherche = type;
        m_dc->Lance(NomHostile, type);
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

// The member goes and comes back (through the backend: the other tests count on 5,000).
TEST_F(DcDifficile, OneOfFiveThousandMembersRemovedAndAddedTheOthersStay) {
    const QString grand = DnEpreuves(u"CN=Grand groupe"_s);
    const QString dnRetire = DnEpreuves(u"CN=Membre 02500,OU=Masse"_s);
    m_dc->Lance(u"Grand groupe"_s);
    ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence);
    EXPECT_EQ(m_dc->arbre.Racine()->ChildCount(), 5000);
    const QList<Noeud*> instances = m_dc->arbre.Instances(u'U' + dnRetire);
    ASSERT_EQ(instances.size(), 1);
    ASSERT_EQ(operations().RetireCompte(instances.first()), IssueOperation::Faite);
    bool remis = false;
    const auto remet = qScopeGuard([&] {
        if (!remis)
            AdminBackend()->modify(grand, {{ModOp::Add, u"member"_s, {dnRetire.toUtf8()}}});
    });
    QSet<QString> restants = membres(grand);
    EXPECT_EQ(restants.size(), 4999);
    EXPECT_FALSE(restants.contains(dnRetire.toLower()));
    EXPECT_EQ(m_dc->arbre.Racine()->ChildCount(), 4999);
    EXPECT_TRUE(m_dc->arbre.Instances(u'U' + dnRetire).isEmpty());

    // Back through the add operation: one value added, the 4,999 others untouched.
    const MembreTrouve trouve = TrouveMembre(*m_dc->session, dnRetire, GenreMembre::Compte);
    ASSERT_TRUE(trouve.membre && std::holds_alternative<CompteChoisi>(*trouve.membre));
    ASSERT_EQ(operations().AjouteComptes(m_dc->arbre.Racine(), {std::get<CompteChoisi>(*trouve.membre)}),
              IssueOperation::Faite);
    remis = true;
    restants = membres(grand);
    EXPECT_EQ(restants.size(), 5000);
    EXPECT_TRUE(restants.contains(dnRetire.toLower()));
    EXPECT_EQ(m_dc->arbre.Racine()->ChildCount(), 5000);
    EXPECT_TRUE(m_utilisateur.messages.empty());
}

// A group whose name holds every reserved character is renamed, then deleted, on the controller.
TEST_F(DcDifficile, HostileNamedGroupRenamedThenDeleted) {
    const QString suffixe = QString::number(QDateTime::currentMSecsSinceEpoch() % 1000000);
    const QString ou = DnEpreuves(u"OU=Edition "_s + suffixe);
    const QString dnHostile = u"CN="_s + EchappeValeurDn(NomHostile) + u',' + ou;
    auto admin = AdminBackend();
    admin->add(ou, {{u"objectClass"_s, {"organizationalUnit"}}});
    admin->add(dnHostile,
               {{u"objectClass"_s, {"group"}}, {u"sAMAccountName"_s, {"hostile-" + suffixe.toUtf8()}}});
    m_dc->analyse->LanceAnalyse(Mode::Standard, ou);
    ASSERT_EQ(m_dc->analyse->Resultat().issue, IssueAnalyse::Arborescence);
    Noeud* noeud = sousLaRacine(dnHostile);
    ASSERT_TRUE(noeud);

    // The account name may not hold most of them: the new name keeps those it may.
    const QString nouveau = u"Ωμέγα (王芳) #'é "_s + suffixe;
    ASSERT_EQ(operations().RenommeGroupe(noeud, nouveau), IssueOperation::Faite);
    const QString dnNouveau = u"CN="_s + EchappeValeurDn(nouveau) + u',' + ou;
    EXPECT_FALSE(LitDc(dnHostile));
    EXPECT_EQ(ValeursDc(LitDc(dnNouveau), u"sAMAccountName"), QStringList{nouveau});
    noeud = sousLaRacine(dnNouveau);
    ASSERT_TRUE(noeud);
    EXPECT_TRUE(noeud->Text().startsWith(nouveau));

    ASSERT_EQ(operations().SupprimeGroupe(noeud), IssueOperation::Faite);
    EXPECT_FALSE(LitDc(dnNouveau));
    EXPECT_FALSE(sousLaRacine(dnNouveau));
    admin->remove(ou);
}

} // namespace
