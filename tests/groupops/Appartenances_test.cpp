#include "groupops/Appartenances.h"
#include "groupops/AppartenancesEffectives.h"

#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "i18n/Traductions.h"
#include "shell/TemoinMessages.h"
#include "tree/Interaction.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kAnnuaire = R"(dn: DC=example,DC=test
objectClass: domain
dc: example

dn: OU=Ventes,DC=example,DC=test
objectClass: organizationalUnit
ou: Ventes
name: Ventes
description: Service des ventes
managedBy: CN=Jean Dupont,OU=Ventes,DC=example,DC=test

dn: CN=Jean Dupont,OU=Ventes,DC=example,DC=test
objectClass: user
name: Jean Dupont
sAMAccountName: jdupont
displayName: Dupont (Paris)
description: Directeur

dn: CN=Compta,OU=Ventes,DC=example,DC=test
objectClass: group
name: Compta
groupType: -2147483646
description: Comptables
managedBy: CN=Parti,OU=Ventes,DC=example,DC=test
memberOf: CN=Tous,OU=Ventes,DC=example,DC=test
memberOf: CN=Liste/Ouest,OU=Ventes,DC=example,DC=test

dn: CN=Tous,OU=Ventes,DC=example,DC=test
objectClass: group
name: Tous
groupType: -2147483644
description: Tout le monde
member: CN=Compta,OU=Ventes,DC=example,DC=test

dn: CN=Liste/Ouest,OU=Ventes,DC=example,DC=test
objectClass: group
name: Liste/Ouest
groupType: 8
member: CN=Compta,OU=Ventes,DC=example,DC=test

dn: CN=Isolé,OU=Ventes,DC=example,DC=test
objectClass: group
name: Isolé
groupType: -2147483646
)";

using test::Temoin;

class VuesAnnuaire : public ::testing::Test {
protected:
    void SetUp() override {
        Catalogue().Vide();
        ChargeTraductions(QString());
        session = std::make_shared<SessionAD>(std::shared_ptr<Backend>(MemoryBackend::fromText(kAnnuaire)),
                                              AccesAnnuaire{});
        session->definitNomUtilisateurSysteme([] { return u"test"_s; });
        ASSERT_TRUE(session->Ouvre().reussi());
    }
    std::shared_ptr<SessionAD> session;
    Temoin interaction;
};

} // namespace

TEST_F(VuesAnnuaire, DescriptionEtGestionnaireSelonLeType) {
    const auto ou = LitDescriptionEtGestionnaire(*session, u"OOU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(ou.description, u"Service des ventes"_s);
    const auto g = Gestionnaire::Depuis(ou.gestionnaire);
    ASSERT_TRUE(g);
    // Brackets in a display name do not hide the account.
    EXPECT_EQ(g->TexteAffiche(), u"Dupont (Paris) (jdupont)"_s);
    EXPECT_EQ(g->dn, u"CN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s);

    // Accounts show no manager; a manager that cannot be bound shows nothing; an absent object
    // or an unknown type shows no description.
    const struct {
        QString tag, description;
    } cas[] = {
        {u"UCN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s, u"Directeur"_s},
        {u"GCN=Compta,OU=Ventes,DC=example,DC=test"_s, u"Comptables"_s},
        {u"GCN=Absent,DC=example,DC=test"_s, {}},
        {u"XCN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s, {}},
        {u"KCN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s, u"Directeur"_s},
    };
    for (const auto& c : cas) {
        const auto lu = LitDescriptionEtGestionnaire(*session, c.tag);
        EXPECT_EQ(lu.description, c.description) << c.tag.toStdString();
        EXPECT_TRUE(lu.gestionnaire.isEmpty()) << c.tag.toStdString();
    }
    EXPECT_TRUE(interaction.messages.isEmpty());
}

TEST_F(VuesAnnuaire, GroupesDontEstMembreUnGroupe) {
    const auto directes =
        LitAppartenancesEffectives(*session, u"CN=Compta,OU=Ventes,DC=example,DC=test"_s, false);
    ASSERT_TRUE(directes);
    QStringList lignes;
    for (const CheminAppartenance& c : directes->chemins)
        lignes << TexteChemin(c.noms) + u'|' + c.description + u'|' + c.type + u'|' + c.dnGroupe;
    // By name; a slash in a DN is escaped in its path, and read back as it is.
    EXPECT_EQ(
        lignes,
        QStringList(
            {u"Compta > Liste/Ouest||Liste de distribution - Universel|CN=Liste/Ouest,OU=Ventes,DC=example,"
             u"DC=test"_s,
             u"Compta > Tous|Tout le monde|Groupe de sécurité - Local|CN=Tous,OU=Ventes,DC=example,DC=test"_s}));

    const auto isole = LitAppartenancesEffectives(*session, u"CN=Isolé,OU=Ventes,DC=example,DC=test"_s);
    ASSERT_TRUE(isole);
    EXPECT_TRUE(isole->chemins.isEmpty());
    EXPECT_FALSE(LitAppartenancesEffectives(*session, u"CN=Disparu,OU=Ventes,DC=example,DC=test"_s));
}

TEST(TexteGestionnaire, AllerRetour) {
    const Gestionnaire contact{u"Accueil"_s, QString(), u"CN=Accueil,DC=example,DC=test"_s};
    EXPECT_EQ(contact.Texte(), u"Accueil\tCN=Accueil,DC=example,DC=test"_s);
    const auto relu = Gestionnaire::Depuis(contact.Texte());
    ASSERT_TRUE(relu);
    EXPECT_EQ(relu->TexteAffiche(), u"Accueil"_s);
    EXPECT_FALSE(Gestionnaire::Depuis(QString()));
}
