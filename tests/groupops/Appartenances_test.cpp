#include "groupops/Appartenances.h"

#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "i18n/Traductions.h"
#include "shell/Interaction.h"
#include "shell/TemoinMessages.h"

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
objectClass: top
objectClass: person
objectClass: user
cn: Jean Dupont
name: Jean Dupont
sAMAccountName: jdupont
displayName: Dupont (Paris)
description: Directeur

dn: CN=Compta,OU=Ventes,DC=example,DC=test
objectClass: group
cn: Compta
name: Compta
sAMAccountName: Compta
groupType: -2147483646
description: Comptables
managedBy: CN=Parti,OU=Ventes,DC=example,DC=test
memberOf: CN=Tous,OU=Ventes,DC=example,DC=test
memberOf: CN=Liste/Ouest,OU=Ventes,DC=example,DC=test

dn: CN=Tous,OU=Ventes,DC=example,DC=test
objectClass: group
cn: Tous
name: Tous
sAMAccountName: Tous
groupType: -2147483644
description: Tout le monde
member: CN=Compta,OU=Ventes,DC=example,DC=test

dn: CN=Liste/Ouest,OU=Ventes,DC=example,DC=test
objectClass: group
cn: Liste/Ouest
name: Liste/Ouest
sAMAccountName: ListeOuest
groupType: 8
member: CN=Compta,OU=Ventes,DC=example,DC=test

dn: CN=Isolé,OU=Ventes,DC=example,DC=test
objectClass: group
cn: Isolé
name: Isolé
sAMAccountName: Isole
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
    EXPECT_EQ(g->nom, u"Dupont (Paris)"_s) << "brackets in a display name do not hide the account";
    EXPECT_EQ(g->compte, u"jdupont"_s);
    EXPECT_EQ(g->dn, u"CN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(g->TexteAffiche(), u"Dupont (Paris) (jdupont)"_s);

    const auto compte =
        LitDescriptionEtGestionnaire(*session, u"UCN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(compte.description, u"Directeur"_s);
    EXPECT_TRUE(compte.gestionnaire.isEmpty()) << "accounts have no manager in this display";

    const auto groupe = LitDescriptionEtGestionnaire(*session, u"GCN=Compta,OU=Ventes,DC=example,DC=test"_s);
    EXPECT_EQ(groupe.description, u"Comptables"_s);
    EXPECT_TRUE(groupe.gestionnaire.isEmpty()) << "a manager that cannot be bound shows nothing";

    EXPECT_EQ(LitDescriptionEtGestionnaire(*session, u"GCN=Absent,DC=example,DC=test"_s).description,
              QString());
    EXPECT_EQ(
        LitDescriptionEtGestionnaire(*session, u"?CN=Jean Dupont,OU=Ventes,DC=example,DC=test"_s).description,
        QString());
    EXPECT_TRUE(interaction.messages.isEmpty());
}

TEST_F(VuesAnnuaire, GroupesDontEstMembreUnGroupe) {
    const auto liste = ListeAppartenances(*session, u"CN=Compta,OU=Ventes,DC=example,DC=test"_s, interaction);
    ASSERT_TRUE(liste);
    EXPECT_EQ(liste->titre, u"Liste des groupes dont est membre le groupe 'Compta'"_s);
    ASSERT_EQ(liste->groupes.size(), 2);
    EXPECT_EQ(liste->groupes[0].Nom, u"Tous"_s);
    EXPECT_EQ(liste->groupes[0].Description, u"Tout le monde"_s);
    EXPECT_EQ(liste->groupes[0].TypeObjetEnTexte, u"Groupe de sécurité - Local"_s);
    EXPECT_EQ(liste->groupes[1].Nom, u"Liste/Ouest"_s) << "a slash in a DN is escaped in its path";
    EXPECT_EQ(liste->groupes[1].TypeObjetEnTexte, u"Liste de distribution - Universel"_s);
    EXPECT_EQ(liste->groupes[1].DistinguishedName, u"CN=Liste/Ouest,OU=Ventes,DC=example,DC=test"_s);

    const auto isole = ListeAppartenances(*session, u"CN=Isolé,OU=Ventes,DC=example,DC=test"_s, interaction);
    ASSERT_TRUE(isole);
    EXPECT_TRUE(isole->groupes.isEmpty());
    EXPECT_EQ(isole->titre, u"Liste des groupes dont est membre le groupe 'Isolé'"_s);
    EXPECT_TRUE(interaction.messages.isEmpty());
}

TEST_F(VuesAnnuaire, ErreurSignaleeSansListe) {
    EXPECT_FALSE(ListeAppartenances(*session, u"CN=Disparu,OU=Ventes,DC=example,DC=test"_s, interaction));
    ASSERT_EQ(interaction.messages.size(), 1);
    EXPECT_TRUE(interaction.messages[0].startsWith(u"Une erreur ("_s));
    EXPECT_EQ(interaction.icones[0], IconeMessage::Exclamation);
}

TEST(TexteGestionnaire, AllerRetour) {
    const Gestionnaire contact{u"Accueil"_s, QString(), u"CN=Accueil,DC=example,DC=test"_s};
    EXPECT_EQ(contact.Texte(), u"Accueil\tCN=Accueil,DC=example,DC=test"_s);
    const auto relu = Gestionnaire::Depuis(contact.Texte());
    ASSERT_TRUE(relu);
    EXPECT_EQ(relu->nom, u"Accueil"_s);
    EXPECT_TRUE(relu->compte.isEmpty());
    EXPECT_FALSE(Gestionnaire::Depuis(QString()));
}
