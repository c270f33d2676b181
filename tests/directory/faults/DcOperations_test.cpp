// A controller that fails between the two steps of a membership change: killed, or alive but
// silent. The tree shows what the directory did, and the message names the step that failed.
// A controller silent for a change and back before its read: told as ldapsearch reads it.

#include "DcFaults.h"

#include "directory/Dn.h"
#include "directory/Query.h"
#include "text/Texte.h"

#include <QDateTime>
#include <QThread>

#include <thread>

using namespace arbrix;
using namespace arbrix::test;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

enum class Panne { Tue, Muet };
enum class Operation { Renomme, CreeSousGroupe };

// Armed, brings the fault about just before the next modification, which is the second step of
// both operations tried here.
class BackendPiege : public ForwardingBackend {
public:
    using ForwardingBackend::ForwardingBackend;
    std::optional<Panne> armee;
    std::unique_ptr<DcMuet> muet;
    // Silent for this long, from the next modification on; then back.
    int silenceMs = 0;
    std::thread retour;

    ~BackendPiege() override {
        if (retour.joinable())
            retour.join();
    }

    void modify(const QString& dn, const QList<Modification>& m) override {
        if (armee == Panne::Tue)
            TueDc();
        else if (armee == Panne::Muet)
            muet = std::make_unique<DcMuet>();
        if (armee && silenceMs > 0)
            retour = std::thread([this] {
                QThread::msleep(silenceMs);
                muet.reset();
            });
        armee.reset();
        ForwardingBackend::modify(dn, m);
    }
    // The operations' searches run one at a time, as the faults' timing was worked out with.
    std::unique_ptr<SearchBatch> searchBatch(int maxInFlight) override {
        return Backend::searchBatch(maxInFlight);
    }
};

struct Cas {
    const char* nom;
    Operation operation;
    Panne panne;
};

class DcOperationsEnPanne : public ::testing::TestWithParam<Cas> {
protected:
    void SetUp() override {
        ARBRIX_REQUIRE_DC();
        RelanceDcMort();
        ChargeTraductions({});
        const QString suffixe = QString::number(QDateTime::currentMSecsSinceEpoch() % 1000000);
        m_ou = DnEpreuves(u"OU=Operation "_s + suffixe);
        m_parent = u"CN=Parent "_s + suffixe + u',' + m_ou;
        m_membre = u"CN=Membre "_s + suffixe + u',' + m_ou;
        m_compteMembre = u"membre-"_s + suffixe;
        auto admin = AdminBackend();
        admin->add(m_ou, {{u"objectClass"_s, {"organizationalUnit"}}});
        admin->add(m_membre,
                   {{u"objectClass"_s, {"group"}}, {u"sAMAccountName"_s, {m_compteMembre.toUtf8()}}});
        admin->add(m_parent, {{u"objectClass"_s, {"group"}},
                              {u"sAMAccountName"_s, {u"parent-"_s.append(suffixe).toUtf8()}},
                              {u"member"_s, {m_membre.toUtf8()}}});
    }

    // The fault controller behind a trap, with timeouts of two seconds.
    static std::shared_ptr<BackendPiege> piegeDc() {
        LdapOptions options;
        options.networkTimeoutSeconds = 2;
        options.answerTimeoutSeconds = 2;
        return std::make_shared<BackendPiege>(std::make_shared<LdapBackend>(AnalyseDc::avecUri(options)));
    }

    // The member group's node under the parent group; nullptr when the tree has none.
    Noeud* membreSousParent(Arbre& arbre) const {
        for (Noeud* n : arbre.Instances(u'G' + m_membre))
            if (n->Parent() && n->Parent()->Tag() == u'G' + m_parent)
                return n;
        return nullptr;
    }

    QString m_ou, m_parent, m_membre, m_compteMembre;
};

TEST_P(DcOperationsEnPanne, TreeShowsWhatTheDirectoryDidAndTheMessageNamesTheStep) {
    const Cas cas = GetParam();
    auto piege = piegeDc();
    UtilisateurScripte utilisateur;
    AnalyseDc dc(utilisateur, piege);
    ASSERT_TRUE(dc.ouverte);
    Arbre& arbre = dc.arbre;
    OperationsGroupes operations = dc.operations(utilisateur);
    dc.analyse->LanceAnalyse(Mode::Standard, m_ou);
    ASSERT_EQ(dc.analyse->Resultat().issue, IssueAnalyse::Arborescence);

    const QString suffixe = m_ou.section(u',', 0, 0).section(u' ', 1);
    const QString nouveau = (cas.operation == Operation::Renomme ? u"Renomme "_s : u"Nouveau "_s) + suffixe;
    const QString dnNouveau = u"CN="_s + nouveau + u',' + m_ou;
    piege->armee = cas.panne;
    QElapsedTimer chrono;
    chrono.start();
    IssueOperation issue;
    if (cas.operation == Operation::Renomme) {
        Noeud* membre = membreSousParent(arbre);
        ASSERT_TRUE(membre);
        issue = operations.RenommeGroupe(membre, nouveau);
    } else {
        const QList<Noeud*> parents = arbre.Instances(u'G' + m_parent);
        ASSERT_FALSE(parents.isEmpty());
        issue = operations.CreeGroupe(parents.first(), ChoixCreationGroupe{nouveau, 1, 1});
    }
    // A silent controller costs two timeouts: the change, then its read back; nothing is undone
    // on a controller that cannot say what it holds.
    EXPECT_LT(chrono.elapsed(), 10000);
    piege->muet.reset();
    if (cas.panne == Panne::Tue) {
        ASSERT_TRUE(RelanceDc());
    }
    EXPECT_NE(issue, IssueOperation::Faite);
    ASSERT_EQ(utilisateur.messages.size(), 1u);
    const QString message = utilisateur.messages.front();
    const QString attendu = cas.operation == Operation::Renomme
                                ? FormateMessage(Traduction(u"MSG_ERREUR_GROUPE_RENOMME_COMPTE_INCERTAIN"),
                                                 {nouveau, m_compteMembre, {}})
                                : FormateMessage(Traduction(u"MSG_ERREUR_GROUPE_CREE_NON_MEMBRE"),
                                                 {nouveau, DnValeurRdn(m_parent), {}});
    EXPECT_TRUE(message.startsWith(attendu.section(u'\n', 0, 0))) << message.toStdString();
    EXPECT_FALSE(arbre.Instances(u'G' + dnNouveau).isEmpty()) << "shown under its new name";

    // A silent controller carries out the abandoned requests once it answers again, so that only
    // a killed one leaves a known state to compare with the tree. Its prefork workers may still
    // be doing so while it is read: it is read until it has settled.
    const bool etatConnu = cas.panne == Panne::Tue;
    std::optional<LdapEntry> cree = LitDc(dnNouveau);
    if (cas.operation == Operation::Renomme) {
        QElapsedTimer attente;
        attente.start();
        while (bool(cree) == bool(LitDc(m_membre)) && attente.elapsed() < 5000) {
            QThread::msleep(100);
            cree = LitDc(dnNouveau);
        }
        EXPECT_TRUE(arbre.Instances(u'G' + m_membre).isEmpty());
        EXPECT_NE(bool(cree), bool(LitDc(m_membre))) << "one group, under one of its names";
        if (etatConnu) {
            ASSERT_TRUE(cree) << "the relative name was changed before the fault";
            EXPECT_EQ(ValeursDc(cree, u"sAMAccountName"), QStringList{m_compteMembre});
        }
    } else {
        ASSERT_TRUE(cree) << "the group was created before the fault";
        if (etatConnu) {
            EXPECT_FALSE(ValeursDc(LitDc(m_parent), u"member").contains(dnNouveau, Qt::CaseInsensitive));
            for (Noeud* n : arbre.Instances(u'G' + dnNouveau))
                EXPECT_NE(n->Parent()->Tag(), u'G' + m_parent);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DcOperationsEnPanne,
    ::testing::Values(Cas{"RenameKilled", Operation::Renomme, Panne::Tue},
                      Cas{"RenameSilent", Operation::Renomme, Panne::Muet},
                      Cas{"CreateUnderGroupKilled", Operation::CreeSousGroupe, Panne::Tue},
                      Cas{"CreateUnderGroupSilent", Operation::CreeSousGroupe, Panne::Muet}),
    [](const auto& essai) { return std::string(essai.param.nom); });

} // namespace

namespace {

class DcRelecture : public DcOperationsEnPanne {};

} // namespace

// The removal of a member, whose answer the controller holds past the timeout and gives once the
// read back is under way: the tree, the outcome and the message agree with ldapsearch.
TEST_F(DcRelecture, AChangeWhoseAnswerNeverCameIsToldAsLdapsearchReadsIt) {
    auto piege = piegeDc();
    UtilisateurScripte utilisateur;
    AnalyseDc dc(utilisateur, piege);
    ASSERT_TRUE(dc.ouverte);
    OperationsGroupes operations = dc.operations(utilisateur);
    dc.analyse->LanceAnalyse(Mode::Standard, m_ou);
    Noeud* membre = membreSousParent(dc.arbre);
    ASSERT_TRUE(membre);

    piege->armee = Panne::Muet;
    piege->silenceMs = 3000;
    QElapsedTimer chrono;
    chrono.start();
    const IssueOperation issue = operations.RetireMembre(membre);
    EXPECT_GE(chrono.elapsed(), 2000) << "the answer came in time: nothing was read back";
    piege->retour.join();

    const bool retire = !LdapsearchTrouve(m_parent, u"(member="_s + EchappeValeurFiltre(m_membre) + u')');
    const bool affiche = membreSousParent(dc.arbre) != nullptr;
    EXPECT_NE(affiche, retire) << "the tree shows what the directory holds";
    if (retire) {
        EXPECT_EQ(issue, IssueOperation::Faite);
        EXPECT_TRUE(utilisateur.messages.empty());
    } else {
        EXPECT_NE(issue, IssueOperation::Faite);
        ASSERT_EQ(utilisateur.messages.size(), 1u);
        const QString nonFaite = Traduction(u"MSG_ERREUR_OPERATION_NON_FAITE");
        EXPECT_TRUE(utilisateur.messages.front().startsWith(nonFaite.section(u'§', 0, 0)))
            << utilisateur.messages.front().toStdString();
    }
}
