#include "AnalyseFixture.h"

#include "directory/Dn.h"
#include "text/Texte.h"
#include "tree/EtatCompte.h"

#include <ctime>

using namespace arbrix;
using namespace arbrix::test;
using namespace Qt::StringLiterals;

namespace {

// Expiry dates are compared and shown in local time: fix the zone for the whole program.
const bool zoneFixee = [] {
    qputenv("TZ", "UTC");
    tzset();
    return true;
}();

const QString nbsp{QChar(NBSP)};

} // namespace

// ------------------------------------------------------------------ group roots

TEST_F(AnalyseDomaine, groupRootListsNestedGroupsAndAccountsWithCounts) {
    const ResultatAnalyse& resultat =
        m_analyse->LanceAnalyse(Mode::Standard, "CN=Ventes - Tous," + dnVelmora("OU=Ventes"));

    EXPECT_EQ(dessin(), "Ventes - Tous·(8) [grp_sec_uni]\n"
                        "  Équipe d'accueil·(4) [grp_sec_glo]\n"
                        "    Paul Girard (pgirard) [user_ina]\n"
                        "    PC-ACCUEIL-01 (pc-accueil-01$) [comp]\n"
                        "    Sophie Laurent (slaurent) [user]\n"
                        "    tmoreau (tmoreau) [user]\n"
                        "  Ventes (EMEA)·(4) [grp_sec_glo]\n"
                        "    Dupont & Fils [contact]\n"
                        "    Julie Bernard (jbernard) [user]\n"
                        "    Marc Petit (mpetit) [user]\n"
                        "    Zoé D'Arcy (zdarcy) [user]\n");
    EXPECT_TRUE(m_utilisateur.messages.empty());
    Noeud* racine = m_arbre.Racine();
    EXPECT_EQ(racine->Tag(), "GCN=Ventes - Tous," + dnVelmora("OU=Ventes"));
    EXPECT_TRUE(racine->Expanded());
    EXPECT_FALSE(noeud("\\Équipe d'accueil")->Expanded());
    EXPECT_EQ(noeud("\\PC-ACCUEIL-01$")->Tag(),
              "CCN=PC-ACCUEIL-01," + dnVelmora("OU=Postes de travail,OU=Informatique"));

    // The search box is to show the root, the search to be memorised, the root described.
    EXPECT_EQ(resultat.racine, "Ventes - Tous");
    EXPECT_EQ(resultat.typeRacine, 1);
    EXPECT_TRUE(resultat.memoriser);
    EXPECT_TRUE(resultat.construite);
    EXPECT_FALSE(m_utilisateur.TraitementEnCoursAffiche());
    // Progress shows each group's Key before its content is read.
    QStringList progression = m_utilisateur.progression;
    progression.sort();
    EXPECT_EQ(progression, QStringList({"\\\\Ventes - Tous", "\\\\Ventes - Tous\\Ventes (EMEA)",
                                        "\\\\Ventes - Tous\\Équipe d'accueil"}));
}

// Contacts and foreign principals are members like accounts: shown, counted, named; the setting
// and the modes that list one kind of account leave them out.
TEST_F(AnalyseDomaine, membersThatAreNoAccountsAreShownAndCounted) {
    const QString imprimantes = "CN=GS Imprimantes," + dnVelmora("OU=Groupes,OU=Informatique");
    m_analyse->LanceAnalyse(Mode::Standard, imprimantes);
    EXPECT_EQ(m_arbre.Racine()->Text(), "GS Imprimantes" + nbsp + "(12)");
    const Noeud* connu = noeud("\\S-1-5-11");
    ASSERT_NE(connu, nullptr);
    EXPECT_EQ(connu->Text(), "Utilisateurs authentifiés");
    EXPECT_EQ(connu->Tag(), "FCN=S-1-5-11,CN=ForeignSecurityPrincipals,DC=velmora,DC=test");
    EXPECT_EQ(connu->Image(), "fsp");
    // A trusted domain's principal: its SID and the domain's NetBIOS name, from the trust.
    const QString sid = "S-1-5-21-1111111111-2222222222-3333333333-1105";
    ASSERT_NE(noeud("\\" + sid), nullptr);
    EXPECT_EQ(noeud("\\" + sid)->Text(), sid + " (PARTENAIRE)");
    EXPECT_EQ(noeud("\\Dupont & Fils (fournisseur)")->Tag().at(0), u'K');

    m_parametres.AfficherAutresMembres = false;
    m_analyse->LanceAnalyse(Mode::Standard, imprimantes);
    EXPECT_EQ(m_arbre.Racine()->Text(), "GS Imprimantes" + nbsp + "(9)");
    EXPECT_EQ(noeud("\\S-1-5-11"), nullptr);
    m_parametres.AfficherAutresMembres = true;
    m_analyse->LanceAnalyse(Mode::Utilisateurs, imprimantes);
    EXPECT_EQ(noeud("\\S-1-5-11"), nullptr);
}

TEST_F(AnalyseDomaine, accountStatesNeedTheCheckSetting) {
    const QString dn = "CN=Ventes (EMEA)," + dnVelmora("OU=Sales (EMEA),OU=Ventes");
    m_analyse->LanceAnalyse(Mode::Standard, dn);
    EXPECT_EQ(noeud("\\mpetit")->Image(), "user");
    EXPECT_EQ(noeud("\\jbernard")->Image(), "user");

    m_parametres.ControlerVerrouilleExpire = true;
    m_analyse->LanceAnalyse(Mode::Standard, dn);
    EXPECT_EQ(noeud("\\mpetit")->Image(), "user_ver");
    EXPECT_EQ(noeud("\\jbernard")->Image(), "user_exp");
    EXPECT_EQ(noeud("\\jbernard")->Text(),
              "Julie Bernard (jbernard)" + nbsp + "-> expiré depuis le 01/01/2020");
    // Nothing made visible unless asked.
    EXPECT_EQ(m_arbre.SelectedItem(), nullptr);

    // A coming expiry keeps the normal icon; "never" (0 or the largest value) adds nothing.
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Niveau 2 - Direction," + dnVelmora("OU=Siège"));
    EXPECT_EQ(noeud("\\hdupre")->Text(), "Hélène Dupré (hdupre)" + nbsp + "-> expirera le 31/12/2099");
    EXPECT_EQ(noeud("\\hdupre")->Image(), "user");
    EXPECT_EQ(noeud("\\brousseau")->Text(), "Bernard Rousseau (brousseau)");
    EXPECT_EQ(noeud("\\amartin")->Text(), "Alice Martin (amartin)");
}

TEST_F(AnalyseDomaine, problemAccountsAndEveryAccountMadeVisibleOnRequest) {
    m_parametres.ControlerVerrouilleExpire = true;
    m_parametres.DeplierGroupesContenantComptesDesactivesVerrouillesExpires = true;
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Ventes - Tous," + dnVelmora("OU=Ventes"));
    // Both nested groups hold a problem account: both are expanded; the last one met is selected.
    EXPECT_TRUE(noeud("\\Équipe d'accueil")->Expanded());
    EXPECT_TRUE(noeud("\\Ventes (EMEA)")->Expanded());
    ASSERT_NE(m_arbre.SelectedItem(), nullptr);
    EXPECT_TRUE(m_arbre.SelectedItem()->Image().contains(u'_'));

    m_parametres.DeplierGroupesContenantComptesDesactivesVerrouillesExpires = false;
    m_parametres.DeplierGroupesEtOU = true;
    m_analyse->LanceAnalyse(Mode::Standard,
                            "CN=GS Tout le personnel," + dnVelmora("OU=Groupes,OU=Informatique"));
    m_arbre.ParcoursPrefixe(nullptr, [](Noeud* n) {
        if (n->LettreType() == u'G' && n->ChildCount() > 0) {
            EXPECT_TRUE(n->Expanded()) << n->Key().toStdString();
        }
        return true;
    });
}

TEST_F(AnalyseDomaine, modesRestrictTheAccountsAndStructureTakesOnlyAnOu) {
    const QString accueil = "CN=Équipe d'accueil," + dnVelmora("OU=Ventes France,OU=Ventes");
    m_analyse->LanceAnalyse(Mode::Utilisateurs, accueil);
    EXPECT_EQ(m_arbre.Racine()->Text(), "Équipe d'accueil" + nbsp + "(3)");
    EXPECT_EQ(noeud("\\PC-ACCUEIL-01$"), nullptr);

    m_analyse->LanceAnalyse(Mode::Ordinateurs, accueil);
    EXPECT_EQ(dessin(), "Équipe d'accueil·(1) [grp_sec_glo]\n  PC-ACCUEIL-01 (pc-accueil-01$) [comp]\n");

    m_analyse->LanceAnalyse(Mode::ComptesDeService,
                            "CN=Serveurs Web," + dnVelmora("OU=Groupes,OU=Informatique"));
    EXPECT_EQ(dessin(), "Serveurs Web·(2) [grp_sec_glo]\n"
                        "  gmsa-intranet (gmsa-intranet$) [svce]\n"
                        "  svc-sauvegarde (svc-sauvegarde$) [svce]\n");
    EXPECT_EQ(noeud("\\gmsa-intranet$")->LettreType(), u'S');

    // Groups without accounts: every count is 0.
    m_analyse->LanceAnalyse(Mode::StructureEtendue, "CN=Ventes - Tous," + dnVelmora("OU=Ventes"));
    EXPECT_EQ(dessin(), "Ventes - Tous·(0) [grp_sec_uni]\n"
                        "  Équipe d'accueil·(0) [grp_sec_glo]\n"
                        "  Ventes (EMEA)·(0) [grp_sec_glo]\n");

    // The structure alone is refused for a group, before any progress is shown.
    const int affiches = m_utilisateur.traitementsAffiches;
    m_analyse->LanceAnalyse(Mode::Structure, "CN=Ventes - Tous," + dnVelmora("OU=Ventes"));
    EXPECT_EQ(m_utilisateur.traitementsAffiches, affiches);
    EXPECT_EQ(m_utilisateur.messages, QStringList{Traduction(u"MSG_ERREUR_ANALYSE_STRUCTURE_OU")});
    EXPECT_EQ(m_utilisateur.icones, QList{IconeMessage::Exclamation});
}

TEST_F(AnalyseDomaine, groupFoundInsideItselfIsMarkedAndReportedOnce) {
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Boucle A," + dnVelmora("OU=R&D\\, Paris"));
    Noeud* recursif = noeud("\\Boucle C\\Boucle A");
    EXPECT_EQ(recursif->Image(), "grp_sec_rec");
    EXPECT_EQ(recursif->ChildCount(), 0);
    // Made visible and selected (the default setting).
    EXPECT_EQ(m_arbre.SelectedItem(), recursif);
    EXPECT_TRUE(noeud("\\Boucle C")->Expanded());

    EXPECT_EQ(m_analyse->GroupesRecursifs, QStringList{"Boucle A"});
    EXPECT_EQ(m_utilisateur.messages, QStringList{FormateMessage(Traduction(u"MSG_ERREUR_RECURSIVITE"),
                                                                 {"\r\n\r\n\tBoucle A\r\n\r\n"})});
    EXPECT_EQ(m_utilisateur.icones, QList{IconeMessage::Critique});

    m_parametres.DeplierGroupesContenantGroupesRecursifs = false;
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Boucle A," + dnVelmora("OU=R&D\\, Paris"));
    EXPECT_EQ(m_arbre.SelectedItem(), nullptr);
    EXPECT_FALSE(noeud("\\Boucle C")->Expanded());
}

// ------------------------------------------------------------------ O.U. roots

TEST_F(AnalyseDomaine, ouRootMixesAccountsGroupsAndSubOusInOrder) {
    m_analyse->LanceAnalyse(Mode::Standard, dnVelmora("OU=R&D\\, Paris"));
    Noeud* racine = m_arbre.Racine();
    ASSERT_NE(racine, nullptr);
    EXPECT_EQ(racine->Key(), "\\\\R&D, Paris");
    EXPECT_EQ(m_analyse->Resultat().typeRacine, 0);
    QStringList enfants;
    for (int i = 0; i < racine->ChildCount(); ++i)
        enfants << QString(racine->Child(i)->Text()).replace(QChar(NBSP), u'·');
    // Members of a cycle are all shown at O.U. level.
    EXPECT_EQ(enfants,
              QStringList({"Boucle A·(3)", "Boucle B·(3)", "Boucle C·(3)", "Chercheurs R&D, Paris·(4)",
                           "Chloé Garnier (cgarnier)", "Labo A/B·(4)", "Lucas Fontaine (lfontaine)"}));
    // 2 accounts + 3 + 3 + 3 + 4 + the sub-O.U.'s 4.
    EXPECT_EQ(racine->Text(), "R&D, Paris" + nbsp + "(19)");
    EXPECT_EQ(noeud("\\Labo A/B\\Achats/Logistique")->Image(), "grp_dis_glo");
    EXPECT_EQ(noeud("\\Labo A/B\\wfang")->Text(), "王芳 (Wang Fang) (wfang)");
    EXPECT_EQ(m_analyse->GroupesRecursifs.size(), 3);
}

TEST_F(AnalyseDomaine, groupsMemberOfAnotherGroupOfTheirOuAreShownOnlyUnderIt) {
    const QString siege = dnVelmora("OU=Siège");
    m_analyse->LanceAnalyse(Mode::StructureEtendue, siege);
    EXPECT_EQ(dessin(), "Siège·(0) [ou]\n"
                        "  Direction générale·(0) [ou]\n"
                        "  Niveau 1 - Accès siège·(0) [grp_sec_loc]\n"
                        "    Niveau 2 - Direction·(0) [grp_sec_uni]\n"
                        "      Niveau 3 - Comité·(0) [grp_sec_glo]\n"
                        "        Niveau 4 - Assistants·(0) [grp_sec_glo]\n");
}

TEST_F(AnalyseDomaine, structureModeShowsOusOnlyWithZeroCounts) {
    m_analyse->LanceAnalyse(Mode::Structure, dnVelmora("OU=Ventes"));
    EXPECT_EQ(dessin(), "Ventes·(0) [ou]\n"
                        "  Sales (EMEA)·(0) [ou]\n"
                        "  Ventes France·(0) [ou]\n");
    // The root lookup, then every O.U. below it at once.
    EXPECT_EQ(allers().searches, 1 + 1);
}

TEST_F(AnalyseDomaine, quotesAndSlashesInOuNames) {
    const QString atelier = "OU=L'atelier A/B," + dnVelmora("OU=Ventes France,OU=Ventes");
    ajouteEntree(atelier, {"objectClass=organizationalUnit", "ou=L'atelier A/B"});
    ajouteEntree("OU=D'ici," + atelier, {"objectClass=organizationalUnit", "ou=D'ici"});
    ajouteEntree("CN=Léa Petit," + atelier, {"objectClass=person", "objectClass=user",
                                             "sAMAccountName=lpetit", "displayName=Léa Petit"});
    m_analyse->LanceAnalyse(Mode::Standard, atelier);
    EXPECT_TRUE(m_utilisateur.messages.empty());
    EXPECT_EQ(dessin(), "L'atelier A/B·(1) [ou]\n"
                        "  D'ici·(0) [ou]\n"
                        "  Léa Petit (lpetit) [user_ina]\n");
}

TEST_F(AnalyseDomaine, siblingsSharingANameGetDistinctKeys) {
    // A sub-O.U. named like a group of the same O.U.
    ajouteEntree("OU=Équipe d'accueil," + dnVelmora("OU=Ventes France,OU=Ventes"),
                 {"objectClass=organizationalUnit", "ou=Équipe d'accueil"});
    m_analyse->LanceAnalyse(Mode::Standard, dnVelmora("OU=Ventes France,OU=Ventes"));
    EXPECT_TRUE(m_utilisateur.messages.empty());
    Noeud* groupe = m_arbre.Node("\\\\Ventes France\\Équipe d'accueil");
    Noeud* ou = m_arbre.Node("\\\\Ventes France\\Équipe d'accueil" + nbsp + "(2)");
    ASSERT_TRUE(groupe && ou);
    EXPECT_NE(groupe->LettreType(), ou->LettreType());
    // The O.U.'s own accounts (3) and the group's 4 are all counted.
    EXPECT_EQ(m_arbre.Racine()->Text(), "Ventes France" + nbsp + "(7)");
}

// ------------------------------------------------------------------ lookup by name

TEST_F(AnalyseDomaine, nameLookupEscapesTheNameAndFallsBackToTheOtherType) {
    m_analyse->AnalyseTexte(Mode::Standard, "Ventes (EMEA)", 1);
    EXPECT_EQ(m_arbre.Racine()->Text(), "Ventes (EMEA)" + nbsp + "(4)");
    EXPECT_TRUE(m_utilisateur.messages.empty());

    // O.U. chosen, no O.U. of that name: the second pass finds the group.
    m_analyse->AnalyseTexte(Mode::Standard, "Ventes (EMEA)", 0);
    EXPECT_EQ(m_arbre.Racine()->Tag().left(1), "G");
    EXPECT_EQ(m_analyse->Resultat().typeRacine, 1);
    EXPECT_TRUE(m_utilisateur.listesOffertes.empty());
}

TEST_F(AnalyseDomaine, unknownNamesGiveTheMessageOfTheSetting) {
    const struct {
        int type;
        QString nom;
        bool autreType;
        const char16_t* message;
    } cas[] = {
        {0, "Inconnu (x)", true, u"MSG_ERREUR_OU_GROUPE_INCONNU"},
        {0, "Inconnu (x)", false, u"MSG_ERREUR_OU_INCONNUE"},
        {0, "Ventes (EMEA)", false, u"MSG_ERREUR_OU_INCONNUE"}, // the group of that name is not looked for
        {1, "Nope", false, u"MSG_ERREUR_GROUPE_INCONNU"},
    };
    for (const auto& c : cas) {
        m_parametres.AnalyseAutreTypeSiAucuneReponse = c.autreType;
        const ResultatAnalyse& resultat = m_analyse->AnalyseTexte(Mode::Standard, c.nom, c.type);
        EXPECT_EQ(m_utilisateur.messages.back(), FormateMessage(Traduction(c.message), {c.nom}));
        EXPECT_EQ(m_utilisateur.icones.back(), IconeMessage::Exclamation);
        EXPECT_FALSE(resultat.memoriser);
    }
    EXPECT_EQ(m_utilisateur.messages.size(), 4);
    EXPECT_TRUE(m_arbre.isEmpty());

    // A typed DN of an account, or of nothing: said as such, the tree and the typed text kept.
    m_analyse->AnalyseTexte(Mode::Standard, "Ventes (EMEA)", 1);
    const QString racine = m_arbre.Racine()->Key();
    for (const auto& [dn, message] : {
             std::pair{u"CN=tmoreau,OU=Ventes France,OU=Ventes,OU=Velmora,DC=velmora,DC=test"_s,
                       u"MSG_ERREUR_DN_COMPTE"},
             std::pair{u"CN=Personne,OU=Velmora,DC=velmora,DC=test"_s, u"MSG_ERREUR_OU_GROUPE_INCONNU"},
         }) {
        const ResultatAnalyse& resultat = m_analyse->AnalyseTexte(Mode::Standard, dn, 1);
        EXPECT_EQ(m_utilisateur.messages.back(), FormateMessage(Traduction(message), {dn}));
        EXPECT_EQ(resultat.issue, IssueAnalyse::Introuvable);
        EXPECT_TRUE(resultat.racine.isEmpty());
        EXPECT_EQ(m_arbre.Racine()->Key(), racine);
    }
}

// ------------------------------------------------------------------ errors and Stop

TEST_F(AnalyseDomaine, nestedErrorsEndOneNodeSilently) {
    // Only the members of "Ventes (EMEA)" cannot be read: its label keeps no count, the rest
    // of the tree is built and no message is shown.
    m_enveloppe->avantRecherche = [](const SearchRequest& r) {
        if (r.filter.contains("Ventes \\28EMEA\\29") || r.base.startsWith("CN=Ventes (EMEA)"))
            throw LdapError(LdapCode::Other, "busy");
    };
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Ventes - Tous," + dnVelmora("OU=Ventes"));
    EXPECT_TRUE(m_utilisateur.messages.empty());
    EXPECT_EQ(noeud("\\Ventes (EMEA)")->Text(), "Ventes (EMEA)");
    EXPECT_EQ(m_arbre.Racine()->Text(), "Ventes - Tous" + nbsp + "(4)");
}

TEST_F(AnalyseDomaine, stopStillWritesTheLabelsOfTheLevelsLeft) {
    m_utilisateur.arretALaPompe = 6;
    m_analyse->LanceAnalyse(Mode::Standard, "OU=Velmora,DC=velmora,DC=test");
    ASSERT_FALSE(m_arbre.isEmpty());
    EXPECT_EQ(m_utilisateur.messages.value(0), Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE"));
    EXPECT_EQ(NomDuLibelle(m_arbre.Racine()->Text()), "Velmora");
    EXPECT_TRUE(m_arbre.Racine()->Text().contains(nbsp));
}

TEST_F(AnalyseDomaine, keyToReselectIsExpandedAndSelectedOnce) {
    m_analyse->CleAReselectionner = "\\\\Ventes - Tous\\Ventes (EMEA)";
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Ventes - Tous," + dnVelmora("OU=Ventes"));
    Noeud* n = m_arbre.Node("\\\\Ventes - Tous\\Ventes (EMEA)");
    EXPECT_EQ(m_arbre.SelectedItem(), n);
    EXPECT_TRUE(n->Expanded());
    EXPECT_TRUE(m_analyse->CleAReselectionner.isEmpty());
}

// ------------------------------------------------------------------ mends

TEST_F(AnalyseDomaine, primaryGroupMembersAreListed) {
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Domain Users,CN=Users,DC=velmora,DC=test");
    ASSERT_TRUE(m_utilisateur.messages.empty());
    EXPECT_NE(noeud("\\amartin"), nullptr);
    EXPECT_NE(noeud("\\wfang"), nullptr);
    // Computers have "Domain Computers" as their primary group.
    EXPECT_EQ(noeud("\\PC-ACCUEIL-01$"), nullptr);

    m_analyse->LanceAnalyse(Mode::Standard, "CN=Domain Computers,CN=Users,DC=velmora,DC=test");
    EXPECT_NE(noeud("\\PC-ACCUEIL-01$"), nullptr);
    EXPECT_EQ(noeud("\\amartin"), nullptr);
}

TEST_F(AnalyseDomaine, customPrimaryGroupMembersAreListed) {
    const QString informatique = "CN=GS Informatique," + dnVelmora("OU=Groupes,OU=Informatique");
    const QList<LdapEntry> groupe =
        searchAll(*m_annuaire, {informatique, SearchScope::Base, "(objectClass=*)", {"objectSid"}});
    const std::optional<quint32> rid = RidDepuisSid(groupe.at(0).find(u"objectSid")->values.value(0));
    ASSERT_GE(rid.value_or(0), 1000u);
    ajouteEntree("CN=Inès Roy," + dnVelmora("OU=Informatique"),
                 {"objectClass=person", "objectClass=user", "sAMAccountName=iroy", "displayName=Inès Roy",
                  "userAccountControl=512", "primaryGroupID=" + QString::number(*rid)});
    m_analyse->LanceAnalyse(Mode::Standard, informatique);
    EXPECT_EQ(dessin(), "GS Informatique·(2) [grp_sec_glo]\n"
                        "  Inès Roy (iroy) [user]\n"
                        "  Karim Benali (kbenali) [user]\n");
    // "Domain Users" no longer lists her.
    m_analyse->LanceAnalyse(Mode::Standard, "CN=Domain Users,CN=Users,DC=velmora,DC=test");
    EXPECT_EQ(noeud("\\iroy"), nullptr);
    EXPECT_NE(noeud("\\kbenali"), nullptr);
}

TEST_F(AnalyseDomaine, expandingOneNodeFromOutsideABuild) {
    // As an operation does after adding a group: the node exists, its content is read.
    m_arbre.Vide();
    Noeud* groupe = m_arbre.Ajoute(nullptr, "\\\\Domain Users", "Domain Users",
                                   "GCN=Domain Users,CN=Users,DC=velmora,DC=test", "grp_sec_glo", true);
    m_annuaire->resetRoundTrips();
    const qint32 n = m_analyse->AnalyseMembresGroupe({}, groupe, 0);
    EXPECT_GT(n, 15);
    EXPECT_EQ(NombreDuLibelle(groupe->Text()), n);
    EXPECT_NE(noeud("\\wfang"), nullptr);
    // Its SID is read once to find the accounts whose primary group it is.
    EXPECT_EQ(allers().reads, 1);
    // Its members, and its nested groups.
    EXPECT_EQ(allers().searches, 2);
}

TEST_F(AnalyseDomaine, filterCharactersInNamesMatchNothingElse) {
    const QString etoile = "CN=Étoile *," + dnVelmora("OU=Groupes,OU=Informatique");
    ajouteEntree(etoile, {"objectClass=group", "sAMAccountName=Etoile", "groupType=-2147483646",
                          "member=CN=Karim Benali," + dnVelmora("OU=Informatique")});
    m_analyse->LanceAnalyse(Mode::Standard, etoile);
    EXPECT_EQ(dessin(), "Étoile *·(1) [grp_sec_glo]\n  Karim Benali (kbenali) [user]\n");

    // Typed as a name, "*" is the wildcard; here it finds that group alone.
    m_analyse->AnalyseTexte(Mode::Standard, "Étoile *", 1);
    EXPECT_TRUE(m_utilisateur.listesOffertes.empty());
    EXPECT_EQ(m_arbre.Racine()->Text(), "Étoile *" + nbsp + "(1)");
}

TEST_F(AnalyseDomaine, ancestryWalkEndsOnCyclesThatMissTheStart) {
    const QVariant boucleA = QStringList{"CN=Boucle A," + dnVelmora("OU=R&D\\, Paris")};
    EXPECT_FALSE(m_analyse->EstMembreDeLuiMeme("CN=Autre,DC=velmora,DC=test", boucleA));
    EXPECT_TRUE(m_analyse->EstMembreDeLuiMeme("CN=Boucle B," + dnVelmora("OU=R&D\\, Paris"), boucleA));
    // DNs are compared as DNs: case and escapes do not matter.
    EXPECT_TRUE(m_analyse->EstMembreDeLuiMeme("cn=boucle b," + dnVelmora("OU=R&D\\2C Paris"), boucleA));
    EXPECT_FALSE(m_analyse->EstMembreDeLuiMeme("CN=X", QVariant()));
}

// ------------------------------------------------------------------ round trips

TEST_F(AnalyseDomaine, roundTripsAreConstantPerExpandedGroupAndNonePerAccount) {
    m_parametres.ControlerVerrouilleExpire = true;
    m_analyse->LanceAnalyse(Mode::Standard,
                            "CN=GS Tout le personnel," + dnVelmora("OU=Groupes,OU=Informatique"));
    int groupesDeveloppes = 0;
    int comptes = 0;
    m_arbre.ParcoursPrefixe(nullptr, [&](Noeud* n) {
        if (n->LettreType() == u'G' && !n->Image().endsWith("_rec"))
            ++groupesDeveloppes;
        else if (n->LettreType() != u'G')
            ++comptes;
        return true;
    });
    ASSERT_GT(comptes, 10);
    // The root lookup, the survey of custom primary groups, then one attribute scoped query
    // per expanded group; without that query, one account search and one group search. A locked
    // account costs the domain's password policies and lock-out duration, once.
    EXPECT_EQ(allers().searches, 1 + 1 + groupesDeveloppes + 1);
    EXPECT_EQ(allers().pages, allers().searches - 1); // the policies' container is absent
    EXPECT_EQ(allers().reads, 1);
    EXPECT_EQ(allers().binds, 0);

    m_session->renonceRequetePorteeAttribut();
    m_annuaire->resetRoundTrips();
    m_analyse->LanceAnalyse(Mode::Standard,
                            "CN=GS Tout le personnel," + dnVelmora("OU=Groupes,OU=Informatique"));
    EXPECT_EQ(allers().searches, 1 + 1 + 2 * groupesDeveloppes + 1);
}

// Asking by attribute scoped query with several searches in flight, or group by group through
// memberOf one search at a time, builds the same trees and reports.
TEST_F(AnalyseDomaine, bothWaysOfAskingBuildTheSameTrees) {
    m_parametres.ControlerVerrouilleExpire = true;
    m_parametres.DeplierGroupesContenantComptesDesactivesVerrouillesExpires = true;
    const auto construit = [this](qint16 mode, const QString& dn) {
        m_analyse->LanceAnalyse(mode, dn);
        const Noeud* choisi = m_arbre.SelectedItem();
        return dessin() + m_analyse->GroupesRecursifs.join(u'|') + u'|' +
               (choisi ? choisi->Key() : QString());
    };
    const QStringList racines{
        "OU=Velmora,DC=velmora,DC=test", "CN=GS Tout le personnel," + dnVelmora("OU=Groupes,OU=Informatique"),
        "CN=Boucle A," + dnVelmora("OU=R&D\\, Paris"), "CN=Domain Users,CN=Users,DC=velmora,DC=test"};
    QStringList parPortee;
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        for (const QString& dn : racines)
            parPortee << construit(mode, dn);
    m_session->renonceRequetePorteeAttribut();
    m_parametres.RequetesSimultanees = 1;
    qsizetype i = 0;
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        for (const QString& dn : racines)
            EXPECT_EQ(construit(mode, dn), parPortee.at(i++)) << "mode " << mode << ", " << dn.toStdString();
}

// An O.U. read in bulk (its O.U.s, groups and accounts in a few subtree searches, members from
// elsewhere by DN) builds the trees that searching it level by level builds; a server refusing
// the bulk searches gets the level-by-level reading.
TEST_F(AnalyseDomaine, ouReadInBulkBuildsTheTreesOfTheLevelByLevelReading) {
    m_parametres.ControlerVerrouilleExpire = true;
    m_parametres.DeplierGroupesContenantComptesDesactivesVerrouillesExpires = true;
    const QStringList racines{"OU=Velmora,DC=velmora,DC=test", dnVelmora("OU=R&D\\, Paris"),
                              dnVelmora("OU=Informatique"), dnVelmora("OU=Siège")};
    const auto construit = [this](qint16 mode, const QString& dn) {
        m_analyse->LanceAnalyse(mode, dn);
        const Noeud* choisi = m_arbre.SelectedItem();
        return dessin() + m_analyse->GroupesRecursifs.join(u'|') + u'|' +
               (choisi ? choisi->Key() : QString());
    };
    QStringList enBloc;
    m_annuaire->resetRoundTrips();
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        for (const QString& dn : racines)
            enBloc << construit(mode, dn);
    const qint64 recherchesEnBloc = allers().searches;

    m_enveloppe->avantRecherche = [&racines](const SearchRequest& r) {
        if (r.scope == SearchScope::Subtree && racines.contains(r.base))
            throw LdapError(LdapCode::UnwillingToPerform, QStringLiteral("no subtree searches here"));
    };
    m_annuaire->resetRoundTrips();
    qsizetype i = 0;
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        for (const QString& dn : racines)
            EXPECT_EQ(construit(mode, dn), enBloc.at(i++)) << "mode " << mode << ", " << dn.toStdString();
    EXPECT_LT(2 * recherchesEnBloc, allers().searches);
}

// A server lost during the bulk read is no refusal: the build ends and says so, it does not go on
// level by level against a server that is gone.
TEST_F(AnalyseDomaine, aServerLostDuringTheBulkReadEndsTheBuild) {
    const QString ou = dnVelmora("OU=Informatique");
    m_enveloppe->avantRecherche = [&ou](const SearchRequest& r) {
        if (r.scope == SearchScope::Subtree && r.base == ou)
            throw LdapError(LdapCode::ServerDown, QStringLiteral("Can't contact LDAP server"));
    };
    const ResultatAnalyse& r = m_analyse->LanceAnalyse(Mode::Standard, ou);
    EXPECT_EQ(r.issue, IssueAnalyse::Erreur);
    EXPECT_TRUE(r.incomplete);
    EXPECT_EQ(m_arbre.Count(), 1);
}

// Searches never ask for the computed lock-out bit, which doubles their cost at a Samba controller:
// an account with a lock-out time is weighed against the domain's lock-out duration, and its bit
// is read only where password policies of their own may set another.
TEST_F(AnalyseDomaine, lockOutIsWeighedAgainstTheDomainsDuration) {
    m_enveloppe->sansAttributCalcule = true;
    m_parametres.ControlerVerrouilleExpire = true;
    QStringList attributs;
    m_enveloppe->avantRecherche = [&attributs](const SearchRequest& r) { attributs += r.attributes; };
    const QString groupe = "CN=Ventes (EMEA)," + dnVelmora("OU=Sales (EMEA),OU=Ventes");
    const auto construit = [&] {
        m_annuaire->resetRoundTrips();
        m_analyse->LanceAnalyse(Mode::Standard, groupe);
        return noeud("\\mpetit")->Image();
    };
    // Locked until an administrator unlocks it, as the sample domain says.
    EXPECT_EQ(construit(), "user_ver");
    EXPECT_EQ(noeud("\\zdarcy")->Image(), "user");
    EXPECT_EQ(allers().reads, 1); // the domain, not the account
    EXPECT_FALSE(attributs.contains("msDS-User-Account-Control-Computed", Qt::CaseInsensitive));

    // Thirty minutes: the lock-out of years ago is over.
    m_annuaire->modify("DC=velmora,DC=test",
                       {{ModOp::Replace, "lockoutDuration", {QByteArray("-18000000000")}}});
    EXPECT_EQ(construit(), "user");

    // A password policy may set another duration: the account's own bit decides.
    ajouteEntree("CN=Password Settings Container,CN=System,DC=velmora,DC=test",
                 {"objectClass=msDS-PasswordSettingsContainer", "cn=Password Settings Container"});
    ajouteEntree("CN=Longue,CN=Password Settings Container,CN=System,DC=velmora,DC=test",
                 {"objectClass=msDS-PasswordSettings", "cn=Longue"});
    EXPECT_EQ(construit(), "user_ver");
    EXPECT_EQ(allers().reads, 1); // the account
}

TEST_F(AnalyseDomaine, ouScanReadsEachGroupAtMostOnce) {
    QStringList lus;
    m_enveloppe->avantRecherche = [&lus](const SearchRequest& r) {
        if (r.scope == SearchScope::Base && r.scopedAttribute.isEmpty())
            lus << DnNormalise(r.base);
    };
    m_analyse->LanceAnalyse(Mode::Standard, "OU=Velmora,DC=velmora,DC=test");
    ASSERT_FALSE(lus.isEmpty());
    EXPECT_EQ(allers().reads, lus.size());
    const qsizetype lectures = lus.size();
    lus.removeDuplicates();
    EXPECT_EQ(lus.size(), lectures);
}

TEST(AbregeChemin, dropsLeadingPartsUntilTheTextFits) {
    const auto longueur = [](const QString& t) { return int(t.size()); };
    const QString chemin = "\\\\Velmora\\Ventes\\Sales (EMEA)\\mpetit";
    EXPECT_EQ(AbregeChemin(chemin, longueur, 100), chemin);
    // The first cut makes the text longer ("...\\" replaces an empty part): cutting goes on.
    EXPECT_EQ(AbregeChemin(chemin, longueur, 32), "\\...\\Ventes\\Sales (EMEA)\\mpetit");
    EXPECT_EQ(AbregeChemin(chemin, longueur, 30), "\\...\\Sales (EMEA)\\mpetit");
    EXPECT_EQ(AbregeChemin(chemin, longueur, 5), "\\...\\mpetit");
    EXPECT_EQ(AbregeChemin("sans barre", longueur, 2), "sans barre");
}

TEST(EtatCompte, sidsAndPrimaryGroupRids) {
    QByteArray sid = QByteArray::fromHex("010500000000000515000000a1b2c3d4a1b2c3d4a1b2c3d401020000");
    EXPECT_EQ(RidDepuisSid(sid), 513u);
    EXPECT_EQ(RidGroupePrincipal(-2147483646, sid), 513u);
    EXPECT_EQ(RidGroupePrincipal(-2147483644, sid), std::nullopt); // domain local
    EXPECT_EQ(RidGroupePrincipal(2, sid), std::nullopt);           // distribution
    EXPECT_EQ(RidDepuisSid(sid.left(20)), std::nullopt);
}
