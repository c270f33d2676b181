#pragma once

// Making accounts and groups members of a group, on both backends: the lookups and searches of
// the choice dialogs, the adds, the drop, and what the directory holds afterwards.

#include "groupops/ChoixMembres.h"
#include "groupops/conformance/OperationsConformance.h"
#include "text/Texte.h"

namespace arbrix::conformance {

class AjoutsConformance : public OperationsConformance {
protected:
    // The account of that account name, resolved as an entry of the selection box.
    CompteChoisi compte(const QString& sam) {
        const Resolution r = ResoutSelection(*m_admin, sam, GenreMembre::Compte);
        EXPECT_TRUE(r.refus.isEmpty()) << r.refus.toStdString();
        return r.membres.isEmpty() ? CompteChoisi{} : std::get<CompteChoisi>(r.membres.first());
    }
    static GroupeChoisi choisi(const QString& dnGroupe) { return {DnValeurRdn(dnGroupe), dnGroupe}; }
    // Membership of a on a cycle or not, closed after creation (an entry cannot name itself first).
    void ajouteMembre(const QString& dnGroupe, const QString& dnMembre) {
        annuaire().modify(dnGroupe, {{ModOp::Add, u"member"_s, {dnMembre.toUtf8()}}});
    }
    QStringList noms(const Resolution& r) {
        QStringList n;
        for (const MembreChoisi& m : r.membres)
            n.append(std::visit([](const auto& c) { return c.DistinguishedName; }, m).section(u',', 0, 0));
        return n;
    }
};

// The dialogs' searches: a "*" typed stands for any characters; brackets, quotes, a backslash
// and NUL are text. An account without display name is found by its common name.
TEST_P(AjoutsConformance, RecherchesAvecJokers) {
    const QString s = suffixe();
    const QString x = u"Ωμέγα (x) O'Neil-"_s + s;
    const QString y = u"Ωμέγα (y)-"_s + s;
    const QString z = u"Ωμέγα \\ z-"_s + s;
    for (const QString& nom : {x, y, z})
        groupe(nom);
    const auto comptes = [&](const QString& texte) {
        QStringList trouves;
        for (const LigneCompte& l : ChercheComptes(*m_admin, texte))
            trouves.append(l.compte);
        trouves.sort();
        return trouves.join(u',');
    };
    const auto groupes = [&](const QString& texte) {
        QStringList trouves;
        for (const LigneGroupe& l : ChercheGroupes(*m_admin, texte))
            trouves.append(l.nom);
        trouves.sort();
        return trouves;
    };
    const struct {
        QString texte, trouves;
    } casComptes[] = {
        {u"al*"_s, u"amartin"_s},
        {u"*martin"_s, u"amartin"_s},
        {u"Zo*Arc"_s, u"zdarcy"_s},
        {u"Zoé D'"_s, u"zdarcy"_s},
        {u"Jean-Luc Mercier ("_s, u"jlmercier"_s},
        {u"Jean-Luc*(Int"_s, u"jlmercier"_s},
        {u"*(Int*)"_s, u"jlmercier"_s},
        {u"tmor"_s, u"tmoreau"_s},
        {u"("_s, {}},
        {u"amartin\\*"_s, {}},
        {u"am"_s + QChar(0) + u"*"_s, {}},
    };
    for (const auto& c : casComptes)
        EXPECT_EQ(comptes(c.texte), c.trouves) << c.texte.toStdString();
    const QList<LigneCompte> sansNomAffiche = ChercheComptes(*m_admin, u"tmoreau"_s);
    ASSERT_EQ(sansNomAffiche.size(), 1);
    EXPECT_EQ(sansNomAffiche[0].nom, u"tmoreau"_s);

    EXPECT_EQ(groupes(u"Ven*s"_s), (QStringList{u"Ventes (EMEA)"_s, u"Ventes - Tous"_s}));
    EXPECT_EQ(groupes(u"Ωμέγα (x) O'"_s), QStringList{x});
    EXPECT_EQ(groupes(u"Ωμέγα (*"_s), (QStringList{x, y}));
    EXPECT_EQ(groupes(u"Ωμέγα*)-"_s), QStringList{y});
    EXPECT_EQ(groupes(u"Ωμέγα \\"_s), QStringList{z});
    EXPECT_EQ(groupes(u"*\\ z-"_s + s), QStringList{z});
    EXPECT_TRUE(groupes(u"Ωμέγα (z"_s).isEmpty());
    EXPECT_TRUE(groupes(u"Ωμέγα"_s + QChar(0)).isEmpty());
}

TEST_P(AjoutsConformance, ResolutionExacte) {
    const QString s = suffixe();
    const QString sous = u"OU=Sous,"_s + m_bac;
    annuaire().add(sous, {{u"objectClass"_s, {"organizationalUnit"}}});
    const QString double1 = groupe(u"Double-"_s + s);
    const QString double2 = u"CN=Double-"_s + s + u',' + sous;
    annuaire().add(double2,
                   {{u"objectClass"_s, {"group"}}, {u"sAMAccountName"_s, {(u"Dbl2-"_s + s).toUtf8()}}});
    annuaire().add(u"CN=Copie Zoé,"_s + m_bac, {{u"objectClass"_s, {"user"}},
                                                {u"sAMAccountName"_s, {(u"cz"_s + s).toUtf8()}},
                                                {u"mail"_s, {"zoe.darcy@velmora.test"}}});
    const QString nonTrouve = Traduction(u"MSG_ERREUR_AJOUT_COMPTE_NON_TROUVE");
    const struct {
        QString saisie;
        GenreMembre genre;
        QStringList trouves;
        QString refusDebut; // empty: all found
    } cas[] = {
        {u" amartin ;;KBenali;\r\n"_s, GenreMembre::Compte, {u"CN=Alice Martin"_s, u"CN=Karim Benali"_s}, {}},
        {u"wang.fang@velmora.test\tamartin"_s, GenreMembre::Compte, {u"CN=王芳"_s, u"CN=Alice Martin"_s}, {}},
        {u"amartin;a*"_s, GenreMembre::Compte, {}, FormateMessage(nonTrouve, {u"a*"_s})},
        {u"zoe.darcy@velmora.test"_s, GenreMembre::Compte, {}, u"'zoe.darcy@velmora.test' "_s},
        {u"Double-"_s + s, GenreMembre::Groupe, {}, u"'Double-"_s + s + u"' "_s},
        {u"Double-*"_s,
         GenreMembre::Groupe,
         {},
         FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_GROUPE_NON_TROUVE"), {u"Double-*"_s})},
        {double2, GenreMembre::Groupe, {u"CN=Double-"_s + s}, {}},
        {double2, GenreMembre::Compte, {}, FormateMessage(nonTrouve, {double2})},
    };
    for (const auto& c : cas) {
        const Resolution r = ResoutSelection(*m_admin, c.saisie, c.genre);
        EXPECT_TRUE(r.refus.startsWith(c.refusDebut))
            << c.saisie.toStdString() << ": " << r.refus.toStdString();
        EXPECT_EQ(r.refus.isEmpty(), c.refusDebut.isEmpty()) << c.saisie.toStdString();
        if (c.refusDebut.isEmpty()) {
            EXPECT_EQ(noms(r), c.trouves) << c.saisie.toStdString();
        }
    }
    // An ambiguous refusal names every object; a row picked from the list carries its DN.
    const Resolution ambigu = ResoutSelection(*m_admin, u"Double-"_s + s, GenreMembre::Groupe);
    EXPECT_TRUE(ambigu.refus.contains(double1) && ambigu.refus.contains(double2));
    const Resolution choisi =
        ResoutSelection(*m_admin, u"double-"_s + s, GenreMembre::Groupe, {{u"double-"_s + s, double2}});
    ASSERT_EQ(choisi.membres.size(), 1);
    EXPECT_TRUE(DnEgaux(std::get<GroupeChoisi>(choisi.membres[0]).DistinguishedName, double2));
}

TEST_P(AjoutsConformance, ComptesSousChaqueInstance) {
    // G is shown under A and under B; A holds B.
    const QString s = suffixe();
    const QString g = groupe(u"G-"_s + s, {zoe()});
    const QString b = groupe(u"B-"_s + s, {g});
    const QString a = groupe(u"A-"_s + s, {g, b});
    auto v = vue(*m_admin);
    Noeud* racine = v->racine();
    const qint32 avantRacine = NombreDuLibelle(racine->Text());
    const QList<Noeud*> instances = v->arbre.Instances(u'G' + g);
    ASSERT_EQ(instances.size(), 2);
    const qint32 avantA = NombreDuLibelle(v->sous(u'G' + a, racine->Tag())->Text());

    const QList<CompteChoisi> comptes = {compte(u"amartin"_s), compte(u"kbenali"_s)};
    EXPECT_EQ(v->operations->AjouteComptes(instances[1], comptes), IssueOperation::Faite);
    EXPECT_TRUE(v->interaction.messages.isEmpty()) << v->interaction.messages.join(u'\n').toStdString();
    EXPECT_EQ(membres(g), (QStringList{u"Alice Martin"_s, u"Karim Benali"_s, u"Zoé D'Arcy"_s}));
    EXPECT_EQ(membres(a), (QStringList{u"B-"_s + s, u"G-"_s + s})) << "other groups untouched";
    int noeuds = 0;
    for (const CompteChoisi& c : comptes)
        noeuds += v->arbre.Instances(u'U' + c.DistinguishedName).size();
    EXPECT_EQ(noeuds, 4);
    for (const Noeud* n : instances)
        EXPECT_EQ(NombreDuLibelle(n->Text()), 3);
    EXPECT_EQ(NombreDuLibelle(v->sous(u'G' + a, racine->Tag())->Text()), avantA + 4)
        << "+2 through each instance";
    EXPECT_EQ(NombreDuLibelle(racine->Text()), avantRacine + 4);
    EXPECT_EQ(v->arbre.SelectedItem()->Parent(), instances[1]);
}

TEST_P(AjoutsConformance, GroupesImbriquesEtCycles) {
    const QString s = suffixe();
    const QString x = groupe(u"X-"_s + s);
    const QString y = groupe(u"Y-"_s + s, {x});
    const QString z = groupe(u"Z-"_s + s, {y});
    ajouteMembre(x, z); // X > Z > Y > X
    const QString w = groupe(u"W-"_s + s, {zoe()});
    auto v = vue(*m_admin);
    Noeud* noeudW = v->sous(u'G' + w, v->racine()->Tag());
    ASSERT_TRUE(noeudW);
    // Several groups may be added at once: each refusal names the group added and the target.
    const struct {
        QString dnCible, dnAjoute;
        const char16_t* message; // nullptr: added
    } cas[] = {
        {w, w, u"MSG_ERREUR_AJOUT_GROUPE_RECURSIVITE"},
        {x, y, u"MSG_ERREUR_AJOUT_GROUPE_CIRCULAIRE"},
        {x, z, u"MSG_ERREUR_AJOUT_GROUPE_CIRCULAIRE"}, // a member already, but on the cycle
        {w, x, nullptr},                               // a group on a cycle, into a group outside it
        {w, x, u"MSG_ERREUR_AJOUT_GROUPE_DEJA_MEMBRE"},
        {x, w, u"MSG_ERREUR_AJOUT_GROUPE_CIRCULAIRE"},
    };
    for (const auto& c : cas) {
        v->interaction.messages.clear();
        Noeud* cible = v->arbre.Instances(u'G' + c.dnCible).value(0);
        ASSERT_TRUE(cible);
        const IssueOperation issue = v->operations->AjouteGroupes(cible, {choisi(c.dnAjoute)});
        EXPECT_EQ(issue, c.message ? IssueOperation::Refusee : IssueOperation::Faite);
        const QStringList attendus =
            c.message ? QStringList{FormateMessage(Traduction(c.message),
                                                   {DnValeurRdn(c.dnAjoute), DnValeurRdn(c.dnCible)})}
                      : QStringList{};
        EXPECT_EQ(v->interaction.messages, attendus) << DnValeurRdn(c.dnAjoute).toStdString();
    }
    // An account already there is named with the group.
    v->interaction.messages.clear();
    EXPECT_EQ(v->operations->AjouteComptes(noeudW, {compte(u"zdarcy"_s)}), IssueOperation::Refusee);
    EXPECT_EQ(v->interaction.messages,
              QStringList{u"Le compte 'Zoé D'Arcy' appartient déjà au groupe 'W-"_s + s + u"'..."_s});
    EXPECT_EQ(membres(w), (QStringList{u"X-"_s + s, u"Zoé D'Arcy"_s}));
    EXPECT_EQ(membres(x), QStringList{u"Z-"_s + s});
    EXPECT_TRUE(v->sous(u'G' + x, u'G' + w)) << "shown under W, expanded";
}

TEST_P(AjoutsConformance, NiveauOUSelonLeReglage) {
    for (const bool tousAuNiveauOU : {false, true}) {
        const QString s = suffixe();
        const QString x = groupe(u"X-"_s + s, {zoe()});
        const QString y = groupe(u"Y-"_s + s);
        const QString autre = groupe(u"Autre-"_s + s, {y});
        Parametres parametres;
        parametres.RepresenterGroupesRacineOU = tousAuNiveauOU;
        auto v = vue(*m_admin, parametres);
        Noeud* racine = v->racine();
        const qint32 avant = NombreDuLibelle(racine->Text());
        ASSERT_TRUE(v->sous(u'G' + x, racine->Tag()));
        Noeud* sousAutre = v->sous(u'G' + y, u'G' + autre);
        ASSERT_TRUE(sousAutre);

        EXPECT_EQ(v->operations->AjouteGroupes(sousAutre, {choisi(x)}), IssueOperation::Faite);
        EXPECT_EQ(membres(autre), QStringList{u"Y-"_s + s}) << "other members untouched";
        EXPECT_EQ(bool(v->sous(u'G' + x, racine->Tag())), tousAuNiveauOU);
        // With the setting on, Y is shown under Autre and at the O.U. level: X goes under both.
        ASSERT_EQ(v->arbre.Instances(u'G' + x).size(), tousAuNiveauOU ? 3 : 1);
        for (Noeud* n : v->arbre.Instances(u'G' + x))
            EXPECT_EQ(n->Text(), libelle(u"X-"_s + s, 1));
        const qint32 attendu = tousAuNiveauOU ? avant + 2 : avant; // +1 per Y instance, -1 at the O.U.
        EXPECT_EQ(NombreDuLibelle(racine->Text()), attendu);
        videBac();
        annuaire().add(m_bac, {{u"objectClass"_s, {"organizationalUnit"}}});
    }
}

TEST_P(AjoutsConformance, DepotCopieEtDeplacement) {
    const QString s = suffixe();
    const QString source = groupe(u"Source-"_s + s, {zoe()});
    const QString cible = groupe(u"Cible-"_s + s);
    const QString mobile = groupe(u"Mobile-"_s + s);
    const QString tient = groupe(u"Tient-"_s + s, {mobile});
    auto v = vue(*m_admin);
    Noeud* vers = v->arbre.Instances(u'G' + cible).value(0);
    ASSERT_TRUE(vers);

    // Copy: added, still in its group.
    EXPECT_EQ(v->operations->DeposeMembre(v->sous(u'U' + zoe(), u'G' + source), vers, true),
              IssueOperation::Faite);
    EXPECT_EQ(membres(source), QStringList{u"Zoé D'Arcy"_s});
    EXPECT_EQ(membres(cible), QStringList{u"Zoé D'Arcy"_s});
    // Move: added, taken out of the group it was dragged from; the tree follows.
    Noeud* vers2 = v->arbre.Instances(u'G' + tient).value(0);
    EXPECT_EQ(v->operations->DeposeMembre(v->sous(u'U' + zoe(), u'G' + source), vers2, false),
              IssueOperation::Faite);
    EXPECT_TRUE(membres(source).isEmpty());
    EXPECT_EQ(membres(tient), (QStringList{u"Mobile-"_s + s, u"Zoé D'Arcy"_s}));
    EXPECT_FALSE(v->sous(u'U' + zoe(), u'G' + source));
    EXPECT_TRUE(v->sous(u'U' + zoe(), u'G' + tient));

    // An O.U. is no drop target.
    EXPECT_EQ(v->operations->DeposeMembre(v->sous(u'G' + mobile, u'G' + tient), v->racine(), false),
              IssueOperation::Refusee);
}

TEST_P(AjoutsConformance, DeplacementDontLeRetraitEchoueGardeLAjout) {
    if (!m_target->restrictsSingleEntries())
        GTEST_SKIP() << "this directory cannot refuse a membership alone";
    const QString s = suffixe();
    const QString source = groupe(u"Verrou-"_s + s, {zoe()});
    const QString cible = groupe(u"Libre-"_s + s);
    Credentials c;
    auto session = ouvre(m_target->restrictedBackend({source}, c), c);
    ASSERT_TRUE(session);
    auto v = vue(*session);
    Noeud* vers = v->arbre.Instances(u'G' + cible).value(0);
    EXPECT_EQ(v->operations->DeposeMembre(v->sous(u'U' + zoe(), u'G' + source), vers, false),
              IssueOperation::Refusee);
    EXPECT_EQ(membres(cible), QStringList{u"Zoé D'Arcy"_s});
    EXPECT_EQ(membres(source), QStringList{u"Zoé D'Arcy"_s});
    ASSERT_EQ(v->interaction.messages.size(), 1);
    EXPECT_TRUE(v->interaction.messages[0].startsWith(u"'Zoé D'Arcy (zdarcy)' a été ajouté"_s))
        << v->interaction.messages[0].toStdString();
    EXPECT_TRUE(v->sous(u'U' + zoe(), u'G' + cible));
    EXPECT_TRUE(v->sous(u'U' + zoe(), u'G' + source));
}

} // namespace arbrix::conformance
