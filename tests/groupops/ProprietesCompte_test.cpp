#include "groupops/ProprietesCompte.h"

#include "groupops/AppartenancesEffectives.h"

#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "i18n/Traductions.h"
#include "tree/EtatCompte.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QMap>
#include <QTimeZone>

using namespace arbrix;
using namespace Qt::StringLiterals;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << '"' << texte.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

const QDateTime kMaintenant(QDate(2024, 6, 1), QTime(12, 0));

QString Dn(const QString& debut) {
    return debut + u",OU=Velmora,DC=velmora,DC=test"_s;
}

QString DateUtc(int annee, int mois, int jour, int heure = 0, int minute = 0) {
    return TexteDateCourte(
        QDateTime(QDate(annee, mois, jour), QTime(heure, minute), QTimeZone::utc()).toLocalTime());
}

// The rows by their label, as the French catalogue writes it.
QMap<QString, QString> Lignes(const ProprietesCompte& p) {
    QMap<QString, QString> lignes;
    for (const LigneProprietes& l : p.lignes)
        lignes.insert(l.libelle, l.valeur);
    return lignes;
}

class ProprietesCompteTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Catalogue().Vide();
        ChargeTraductions(QString());
        ouvre(std::make_shared<MemoryBackend>(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/sample-domain.ldif")));
    }
    void ouvre(std::shared_ptr<Backend> annuaire) {
        session = std::make_unique<SessionAD>(std::move(annuaire), AccesAnnuaire{});
        session->definitNomUtilisateurSysteme([] { return u"test"_s; });
        ASSERT_TRUE(session->Ouvre().reussi());
    }
    ProprietesCompte lit(const QString& dn) {
        const std::optional<ProprietesCompte> p = LitProprietesCompte(*session, dn, kMaintenant);
        EXPECT_TRUE(p) << dn.toStdString();
        return p.value_or(ProprietesCompte{});
    }
    std::unique_ptr<SessionAD> session;
};

TEST_F(ProprietesCompteTest, StatesAndDatesOfTheSampleAccounts) {
    const struct {
        QString dn, image, etat, expiration;
    } cas[] = {
        {Dn(u"CN=Marc Petit,OU=Sales (EMEA),OU=Ventes"_s), u"user_ver"_s, u"verrouillé"_s, u"jamais"_s},
        {Dn(u"CN=Julie Bernard,OU=Sales (EMEA),OU=Ventes"_s), u"user_exp"_s, u"expiré"_s,
         DateUtc(2020, 1, 1)},
        {Dn(u"CN=Paul Girard,OU=Ventes France,OU=Ventes"_s), u"user_ina"_s, u"désactivé"_s, u"jamais"_s},
        // "Never" written both ways the directory has.
        {Dn(u"CN=Alice Martin,OU=Direction générale,OU=Siège"_s), u"user"_s, u"actif"_s, u"jamais"_s},
        {Dn(u"CN=Bernard Rousseau,OU=Direction générale,OU=Siège"_s), u"user"_s, u"actif"_s, u"jamais"_s},
        {Dn(u"CN=Hélène Dupré,OU=Siège"_s), u"user"_s, u"actif"_s, DateUtc(2099, 12, 31)},
        {Dn(u"CN=PC-VENTES-07,OU=Postes de travail,OU=Informatique"_s), u"comp_ina"_s, u"désactivé"_s,
         u"jamais"_s},
    };
    for (const auto& c : cas) {
        const ProprietesCompte p = lit(c.dn);
        const QMap<QString, QString> l = Lignes(p);
        EXPECT_EQ(p.cleImage, c.image) << c.dn.toStdString();
        EXPECT_EQ(l.value(u"État"_s), c.etat) << c.dn.toStdString();
        EXPECT_EQ(l.value(u"Expiration du compte"_s), c.expiration) << c.dn.toStdString();
        EXPECT_EQ(l.value(u"DistinguishedName"_s), c.dn);
    }

    const QMap<QString, QString> marc = Lignes(lit(cas[0].dn));
    EXPECT_EQ(marc.value(u"Type"_s), u"Compte utilisateur"_s);
    EXPECT_EQ(marc.value(u"Nom complet"_s), u"Marc Petit"_s);
    EXPECT_EQ(marc.value(u"Nom de compte"_s), u"mpetit"_s);
    EXPECT_EQ(marc.value(u"Nom d'utilisateur principal (UPN)"_s), u"mpetit@velmora.test"_s);
    EXPECT_EQ(marc.value(u"Adresse électronique"_s), u"marc.petit@velmora.test"_s);
    EXPECT_EQ(marc.value(u"Verrouillé depuis le"_s), DateUtc(2024, 1, 15, 8, 30));
    // What the account does not have takes no row.
    EXPECT_FALSE(Lignes(lit(cas[2].dn)).contains(u"Adresse électronique"_s));
    EXPECT_FALSE(marc.contains(u"Dernière connexion"_s));
    EXPECT_FALSE(marc.contains(u"Responsable"_s));

    // No display name: the tree's name, the common name.
    const ProprietesCompte tmoreau = lit(Dn(u"CN=tmoreau,OU=Ventes France,OU=Ventes"_s));
    EXPECT_EQ(tmoreau.nom, u"tmoreau"_s);
    EXPECT_FALSE(Lignes(tmoreau).contains(u"Nom complet"_s));
    EXPECT_EQ(TitreProprietes(tmoreau), u"Propriétés de tmoreau"_s);
}

// Direct groups only (not the groups those belong to), the primary group with them, by name.
TEST_F(ProprietesCompteTest, MemberOfListsTheDirectGroupsAndThePrimaryGroupByName) {
    const ProprietesCompte alice = lit(Dn(u"CN=Alice Martin,OU=Direction générale,OU=Siège"_s));
    QStringList noms;
    for (const clsOccurrence& g : alice.groupes)
        noms << g.Nom;
    EXPECT_EQ(noms, (QStringList{u"Domain Users"_s, u"LD Annonces"_s, u"Niveau 2 - Direction"_s}));
    EXPECT_EQ(alice.groupes.last().DistinguishedName, Dn(u"CN=Niveau 2 - Direction,OU=Siège"_s));
    EXPECT_EQ(alice.groupes.last().TypeObjetEnTexte, Traduction(u"TXT_GRP_SEC_UNI"));
}

// Every chain, depth first, the primary group among them; the loop of three groups is cut once,
// where it comes back; the direct memberships are the chains of one step.
TEST_F(ProprietesCompteTest, EffectiveMembershipsFollowEveryChainAndCutLoops) {
    const QString nathalie = Dn(u"CN=Nathalie Roux,OU=Labo A/B,OU=R&D\\, Paris"_s);
    const std::optional<AppartenancesEffectives> effectives = LitAppartenancesEffectives(*session, nathalie);
    ASSERT_TRUE(effectives);
    QStringList chemins;
    for (const CheminAppartenance& c : effectives->chemins)
        chemins << TexteChemin(c.noms);
    EXPECT_EQ(chemins, (QStringList{u"Nathalie Roux > Achats/Logistique"_s, u"Nathalie Roux > Boucle C"_s,
                                    u"Nathalie Roux > Boucle C > Boucle B"_s,
                                    u"Nathalie Roux > Boucle C > Boucle B > Boucle A"_s,
                                    u"Nathalie Roux > Chercheurs R&D, Paris"_s,
                                    u"Nathalie Roux > Chercheurs R&D, Paris > GS Tout le personnel"_s,
                                    u"Nathalie Roux > Domain Users"_s}));
    EXPECT_EQ(effectives->chemins[3].dnGroupe, Dn(u"CN=Boucle A,OU=R&D\\, Paris"_s));
    ASSERT_EQ(effectives->cycles.size(), 1);
    EXPECT_EQ(TexteChemin(effectives->cycles[0]),
              u"Nathalie Roux > Boucle C > Boucle B > Boucle A > Boucle C"_s);
    EXPECT_FALSE(effectives->tronque);

    const std::optional<AppartenancesEffectives> directes =
        LitAppartenancesEffectives(*session, nathalie, false);
    ASSERT_TRUE(directes);
    EXPECT_EQ(directes->chemins.size(), 4);
    EXPECT_TRUE(directes->cycles.isEmpty());
    EXPECT_FALSE(LitAppartenancesEffectives(*session, Dn(u"CN=Personne,OU=Siège"_s)));
}

TEST_F(ProprietesCompteTest, AnythingButAnAccountGivesNothing) {
    for (const QString& dn : {Dn(u"CN=Niveau 2 - Direction,OU=Siège"_s), Dn(u"OU=Siège"_s),
                              Dn(u"CN=Personne,OU=Siège"_s), Dn(u"CN=Dupont & Fils,OU=Partenaires"_s)})
        EXPECT_FALSE(LitProprietesCompte(*session, dn, kMaintenant)) << dn.toStdString();
}

// In English; a manager, a password never set, the later of the two logon times.
TEST_F(ProprietesCompteTest, ManagerPasswordAndLastLogonInEnglish) {
    ChargeTraductions(QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng"));
    ouvre(std::shared_ptr<Backend>(MemoryBackend::fromText(R"(dn: DC=example,DC=test
objectClass: domain
dc: example

dn: CN=Chef,DC=example,DC=test
objectClass: user
cn: Chef
sAMAccountName: chef
displayName: Anne Chef

dn: CN=Agent,DC=example,DC=test
objectClass: user
cn: Agent
sAMAccountName: agent
userAccountControl: 512
manager: CN=Chef,DC=example,DC=test
pwdLastSet: 0
lastLogonTimestamp: 133497810000000000
lastLogon: 133500000000000000

dn: CN=Orphelin,DC=example,DC=test
objectClass: user
cn: Orphelin
sAMAccountName: orphelin
manager: CN=Parti,DC=example,DC=test
pwdLastSet: 133497810000000000
)")));
    const QMap<QString, QString> agent = Lignes(lit(u"CN=Agent,DC=example,DC=test"_s));
    EXPECT_EQ(agent.value(u"Manager"_s), u"Anne Chef (chef)"_s);
    EXPECT_EQ(agent.value(u"Password last set"_s), u"never"_s);
    EXPECT_EQ(agent.value(u"Last logon"_s),
              TexteDateCourte(QDateTime(QDate(2024, 1, 17), QTime(21, 20), QTimeZone::utc()).toLocalTime()));
    EXPECT_EQ(agent.value(u"State"_s), u"enabled"_s);
    const QMap<QString, QString> orphelin = Lignes(lit(u"CN=Orphelin,DC=example,DC=test"_s));
    EXPECT_EQ(orphelin.value(u"Manager"_s), u"CN=Parti,DC=example,DC=test"_s);
    EXPECT_EQ(orphelin.value(u"Password last set"_s), DateUtc(2024, 1, 15, 8, 30));
    EXPECT_EQ(TexteAucunGroupe(u"Orphelin"_s), u"Orphelin is not a member of any group."_s);
}

} // namespace
