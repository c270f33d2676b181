// A controller that fails between the two steps of a membership change: killed, or alive but
// silent. The tree shows what the directory did, and the message names the step that failed.

#include "DcFaults.h"

#include "directory/Dn.h"
#include "groupops/InstancesArbre.h"
#include "groupops/OperationsGroupes.h"
#include "text/Texte.h"

#include <QDateTime>

using namespace arbrix;
using namespace arbrix::test;
using namespace arbrix::testdc;
using namespace Qt::StringLiterals;

namespace {

enum class Panne { Tue, Muet };
enum class Operation { Renomme, CreeSousGroupe };

// Passes everything to the controller's backend; armed, it brings the fault about just before
// the next modification, which is the second step of both operations tried here.
class BackendPiege : public Backend {
public:
    BackendPiege(std::shared_ptr<Backend> reel)
        : m_reel(std::move(reel)) {}

    std::optional<Panne> armee;
    std::unique_ptr<DcMuet> muet;

    void bind(const Credentials& c, const QString& server) override { m_reel->bind(c, server); }
    std::unique_ptr<SearchCursor> search(const SearchRequest& r) override { return m_reel->search(r); }
    void add(const QString& dn, const QList<LdapAttribute>& a) override { m_reel->add(dn, a); }
    void modify(const QString& dn, const QList<Modification>& m) override {
        if (armee == Panne::Tue)
            ::kill(PidDc(), SIGKILL);
        else if (armee == Panne::Muet)
            muet = std::make_unique<DcMuet>();
        armee.reset();
        m_reel->modify(dn, m);
    }
    void remove(const QString& dn) override { m_reel->remove(dn); }
    void rename(const QString& dn, const QString& rdn, const QString& sup) override {
        m_reel->rename(dn, rdn, sup);
    }
    bool compare(const QString& dn, const QString& a, const QByteArray& v) override {
        return m_reel->compare(dn, a, v);
    }
    QString address() const override { return m_reel->address(); }
    void setPatience(Patience p) override { m_reel->setPatience(std::move(p)); }

private:
    std::shared_ptr<Backend> m_reel;
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
        if (::kill(PidDc(), 0) != 0) {
            ASSERT_TRUE(RelanceDc());
        }
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

    // The entry as the controller holds it once it answers again; nullopt when absent.
    static std::optional<LdapEntry> lit(Backend& annuaire, const QString& dn) {
        try {
            const QList<LdapEntry> e = searchAll(annuaire, {dn, SearchScope::Base, u"(objectClass=*)"_s, {}});
            return e.isEmpty() ? std::nullopt : std::optional(e.first());
        } catch (const LdapError&) {
            return std::nullopt;
        }
    }
    static QString valeur(const std::optional<LdapEntry>& e, QStringView attribut) {
        const LdapAttribute* a = e ? e->find(attribut) : nullptr;
        return a && !a->values.isEmpty() ? QString::fromUtf8(a->values.first()) : QString();
    }
    static QStringList membres(const std::optional<LdapEntry>& e) {
        QStringList dns;
        if (const LdapAttribute* a = e ? e->find(u"member") : nullptr)
            for (const QByteArray& v : a->values)
                dns.append(QString::fromUtf8(v));
        return dns;
    }

    QString m_ou, m_parent, m_membre, m_compteMembre;
};

TEST_P(DcOperationsEnPanne, TreeShowsWhatTheDirectoryDidAndTheMessageNamesTheStep) {
    const Cas cas = GetParam();
    LdapOptions options;
    options.uris = Dc().uri();
    options.networkTimeoutSeconds = 2;
    options.answerTimeoutSeconds = 2;
    auto piege = std::make_shared<BackendPiege>(std::make_shared<LdapBackend>(options));
    AccesAnnuaire acces;
    acces.AccesAD = 1;
    acces.AccesADLogin = Dc().value("ADMIN_LOGIN");
    acces.AccesADPassword = Dc().value("ADMIN_PASSWORD");
    auto session = std::make_shared<SessionAD>(piege, acces);
    ASSERT_TRUE(session->Ouvre().reussi());
    InstalleSession(session);
    UtilisateurScripte utilisateur;
    Parametres parametres;
    Arbre arbre;
    Analyse analyse(arbre, *session, parametres, utilisateur);
    OperationsGroupes operations(arbre, *session, parametres, utilisateur, analyse);
    analyse.LanceAnalyse(Mode::Standard, m_ou);
    ASSERT_EQ(analyse.Resultat().issue, IssueAnalyse::Arborescence);

    const QString suffixe = m_ou.section(u',', 0, 0).section(u' ', 1);
    const QString nouveau = (cas.operation == Operation::Renomme ? u"Renomme "_s : u"Nouveau "_s) + suffixe;
    const QString dnNouveau = u"CN="_s + nouveau + u',' + m_ou;
    piege->armee = cas.panne;
    QElapsedTimer chrono;
    chrono.start();
    IssueOperation issue;
    if (cas.operation == Operation::Renomme) {
        Noeud* membre = nullptr;
        for (Noeud* n : Instances(arbre, u'G' + m_membre))
            if (n->Parent() && n->Parent()->Tag() == u'G' + m_parent)
                membre = n;
        ASSERT_TRUE(membre);
        issue = operations.RenommeGroupe(membre, nouveau);
    } else {
        const QList<Noeud*> parents = Instances(arbre, u'G' + m_parent);
        ASSERT_FALSE(parents.isEmpty());
        issue = operations.CreeGroupe(parents.first(), ChoixCreationGroupe{nouveau, 1, 1});
    }
    // A silent controller costs one timeout per step tried: the change, then its undoing.
    EXPECT_LT(chrono.elapsed(), 10000);
    piege->muet.reset();
    if (cas.panne == Panne::Tue) {
        ASSERT_TRUE(RelanceDc());
    }
    EXPECT_NE(issue, IssueOperation::Faite);
    ASSERT_EQ(utilisateur.messages.size(), 1u);
    const QString message = utilisateur.messages.front().texte;

    auto annuaire = AdminBackend();
    const std::optional<LdapEntry> cree = lit(*annuaire, dnNouveau);
    const bool montre = !Instances(arbre, u'G' + dnNouveau).isEmpty();
    // A silent controller carries out the abandoned requests once it answers again, so that only
    // a killed one leaves a known state to compare with the tree.
    const bool etatConnu = cas.panne == Panne::Tue;
    if (cas.operation == Operation::Renomme) {
        EXPECT_TRUE(message.startsWith(FormateMessage(Traduction(u"MSG_ERREUR_GROUPE_RENOMME_SANS_COMPTE"),
                                                      {nouveau, m_compteMembre, {}})
                                           .section(u'\n', 0, 0)))
            << message.toStdString();
        EXPECT_TRUE(montre);
        EXPECT_TRUE(Instances(arbre, u'G' + m_membre).isEmpty());
        EXPECT_NE(bool(cree), bool(lit(*annuaire, m_membre))) << "one group, under one of its names";
        if (etatConnu) {
            ASSERT_TRUE(cree) << "the relative name was changed before the fault";
            EXPECT_EQ(valeur(cree, u"sAMAccountName"), m_compteMembre);
        }
    } else {
        EXPECT_TRUE(message.startsWith(FormateMessage(Traduction(u"MSG_ERREUR_GROUPE_CREE_NON_MEMBRE"),
                                                      {nouveau, DnValeurRdn(m_parent), {}})
                                           .section(u'\n', 0, 0)))
            << message.toStdString();
        ASSERT_TRUE(cree) << "the group was created before the fault";
        EXPECT_TRUE(montre);
        if (etatConnu) {
            EXPECT_FALSE(membres(lit(*annuaire, m_parent)).contains(dnNouveau, Qt::CaseInsensitive));
            for (Noeud* n : Instances(arbre, u'G' + dnNouveau))
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
    [](const auto& info) { return std::string(info.param.nom); });

} // namespace
