#pragma once

// The group operations on a tree built by the analysis, against a directory holding the sample
// domain. Written once; each backend instantiates it:
//
//     namespace arbrix::conformance {
//     INSTANTIATE_TEST_SUITE_P(Memory, OperationsConformance, ::testing::Values(&makeMemoryTarget));
//     }
//
// Each test works in an O.U. of its own under OU=Velmora, removed with its content at the end.
// What the directory really holds is read back with plain searches, not through the operations.

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "directory/conformance/Target.h"
#include "groupops/NomGroupe.h"
#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "shell/BarreEtat.h"
#include "shell/TemoinMessages.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <algorithm>

namespace arbrix::conformance {

using namespace Qt::StringLiterals;

// A session's tree of one O.U. with the operations on it.
struct Vue {
    Arbre arbre;
    test::Temoin interaction;
    Parametres parametres;
    std::unique_ptr<Analyse> analyse;
    std::unique_ptr<OperationsGroupes> operations;

    Noeud* racine() const { return arbre.Racine(); }
    // The instance of tag shown under a node of tagParent.
    Noeud* sous(const QString& tag, const QString& tagParent) const {
        for (Noeud* n : arbre.Instances(tag))
            if (n->Parent() && n->Parent()->Tag() == tagParent)
                return n;
        return nullptr;
    }
};

class OperationsConformance : public ::testing::TestWithParam<TargetFactory> {
protected:
    void SetUp() override {
        Catalogue().Vide();
        ChargeTraductions(QString());
        m_target = GetParam()();
        m_admin = ouvre(m_target->backend(), m_target->credentials());
        ASSERT_TRUE(m_admin);
        m_nc = m_admin->ContexteNommage();
        m_bac = u"OU=Essai "_s + suffixe() + u",OU=Velmora,"_s + m_nc;
        annuaire().add(m_bac, {{u"objectClass"_s, {"organizationalUnit"}}});
    }

    void TearDown() override {
        if (m_admin && !m_bac.isEmpty())
            videBac();
    }

    static std::shared_ptr<SessionAD> ouvre(std::shared_ptr<Backend> backend, const Credentials& c) {
        AccesAnnuaire acces;
        acces.AccesAD = qint16(c.accessMode == 2 ? 1 : c.accessMode);
        acces.AccesADLogin = c.login;
        acces.AccesADPassword = c.password;
        auto session = std::make_shared<SessionAD>(std::move(backend), acces);
        session->definitNomUtilisateurSysteme([] { return u"testeur"_s; });
        return session->Ouvre().reussi() ? session : nullptr;
    }

    Backend& annuaire() { return m_admin->ConnexionAD().backend(); }

    // Names stay short: account names of more than 20 characters are not portable.
    static QString suffixe() {
        static int compteur = 0;
        return QString::number(QDateTime::currentMSecsSinceEpoch() % 100000) + QString::number(++compteur);
    }

    QString dn(const QString& relatif) const { return relatif + u',' + m_nc; }
    QString zoe() const { return dn(u"CN=Zoé D'Arcy,OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s); }

    // A global security group of the test's O.U. with these members (DNs).
    QString groupe(const QString& nom, const QStringList& membres = {}) {
        const QString dnGroupe = u"CN="_s + EchappeValeurDn(nom) + u',' + m_bac;
        QString compte = nom;
        for (const QChar refuse : u"\"/\\[]:;|=,+*?<>"_s) // refused in account names
            compte.replace(refuse, u'_');
        QList<LdapAttribute> attributs = {{u"objectClass"_s, {"group"}},
                                          {u"sAMAccountName"_s, {compte.toUtf8()}},
                                          {u"groupType"_s, {"-2147483646"}}};
        LdapAttribute membre{u"member"_s, {}};
        for (const QString& m : membres)
            membre.values.append(m.toUtf8());
        if (!membres.isEmpty())
            attributs.append(membre);
        annuaire().add(dnGroupe, attributs);
        return dnGroupe;
    }

    std::unique_ptr<Vue> vue(SessionAD& session, const Parametres& parametres = {}) {
        auto v = std::make_unique<Vue>();
        v->parametres = parametres;
        v->analyse = std::make_unique<Analyse>(v->arbre, session, v->parametres, v->interaction);
        v->operations = std::make_unique<OperationsGroupes>(v->arbre, session, v->parametres, v->interaction,
                                                            *v->analyse);
        v->analyse->LanceAnalyse(Mode::Standard, m_bac);
        return v;
    }

    // One entry read back, or nullopt when it is not there.
    std::optional<LdapEntry> lit(const QString& dnLu) {
        try {
            const QList<LdapEntry> e =
                searchAll(annuaire(), {dnLu, SearchScope::Base, u"(objectClass=*)"_s, {}});
            return e.isEmpty() ? std::nullopt : std::optional(e.first());
        } catch (const LdapError&) {
            return std::nullopt;
        }
    }
    static QString valeur(const LdapEntry& e, QStringView attribut) {
        const LdapAttribute* a = e.find(attribut);
        return a && !a->values.isEmpty() ? QString::fromUtf8(a->values.first()) : QString();
    }
    // The common names of the direct members of a group, as the directory's own rule finds them.
    QStringList membres(const QString& dnGroupe) {
        QStringList noms;
        for (const LdapEntry& e :
             searchAll(annuaire(), {m_nc,
                                    SearchScope::Subtree,
                                    u"(memberOf="_s + EchappeValeurFiltre(dnGroupe) + u')',
                                    {u"cn"_s}}))
            noms.append(valeur(e, u"cn"));
        noms.sort();
        return noms;
    }
    // The groups of the test's O.U., by common name.
    QStringList groupesDuBac() {
        QStringList noms;
        for (const LdapEntry& e :
             searchAll(annuaire(), {m_bac, SearchScope::OneLevel, u"(objectClass=group)"_s, {u"cn"_s}}))
            noms.append(valeur(e, u"cn"));
        noms.sort();
        return noms;
    }

    static QString libelle(const QString& nom, int nombre) { return FormateLibelle(nom, nombre, true); }

    // Deepest first: an entry's DN is longer than its parent's.
    void videBac() {
        try {
            QList<LdapEntry> contenu =
                searchAll(annuaire(), {m_bac, SearchScope::Subtree, u"(objectClass=*)"_s, {u"cn"_s}});
            std::sort(contenu.begin(), contenu.end(),
                      [](const LdapEntry& a, const LdapEntry& b) { return a.dn.size() > b.dn.size(); });
            for (const LdapEntry& e : std::as_const(contenu))
                annuaire().remove(e.dn);
        } catch (const LdapError&) {
        }
    }

    std::unique_ptr<Target> m_target;
    std::shared_ptr<SessionAD> m_admin;
    QString m_nc;
    QString m_bac;
};

// ---- Create

TEST_P(OperationsConformance, CreationSousUnGroupeAfficheTroisFoisEtSousLOU) {
    // Parent is shown under A, under B inside A, and under C.
    const QString s = suffixe();
    const QString parent = groupe(u"Parent-"_s + s);
    const QString b = groupe(u"B-"_s + s, {parent});
    const QString a = groupe(u"A-"_s + s, {parent, b});
    const QString c = groupe(u"C-"_s + s, {parent});
    auto v = vue(*m_admin);
    ASSERT_EQ(v->arbre.Instances(u'G' + parent).size(), 3);
    Noeud* sousC = v->sous(u'G' + parent, u'G' + c);
    ASSERT_TRUE(sousC);
    v->arbre.Selectionne(sousC);
    const qint64 ecritures = annuaire().roundTrips().writes;

    const QString nom = u"#O'Br (é) Ωμ-"_s + s;
    EXPECT_EQ(v->operations->CreeGroupe(sousC, {u"  "_s + nom + u' ', 1, 2}), IssueOperation::Faite);
    EXPECT_TRUE(v->interaction.messages.isEmpty()) << v->interaction.messages.join(u'\n').toStdString();
    EXPECT_EQ(annuaire().roundTrips().writes - ecritures, 2) << "one add of the group, one of its membership";
    // A leading # is escaped, not read as a hexadecimal value.
    const std::optional<LdapEntry> lu = lit(u"CN=\\#O'Br (é) Ωμ-"_s + s + u',' + m_bac);
    ASSERT_TRUE(lu);
    EXPECT_EQ(QStringList({valeur(*lu, u"cn"), valeur(*lu, u"sAMAccountName"), valeur(*lu, u"groupType")}),
              QStringList({nom, nom, u"8"_s}));
    EXPECT_TRUE(membres(parent).contains(nom));

    const QList<Noeud*> nouveaux = v->arbre.Instances(u'G' + lu->dn);
    ASSERT_EQ(nouveaux.size(), 3) << "one under each instance of the group";
    for (const Noeud* n : nouveaux) {
        EXPECT_EQ(n->Parent()->Tag(), u'G' + parent);
        EXPECT_EQ(n->Text(), libelle(nom, 0));
        EXPECT_EQ(n->Image(), u"grp_dis_uni"_s);
    }
    EXPECT_EQ(v->arbre.SelectedItem()->Tag(), u'G' + lu->dn);
    EXPECT_EQ(v->arbre.SelectedItem()->Parent(), sousC);

    EXPECT_EQ(membres(a), (QStringList{u"B-"_s + s, u"Parent-"_s + s}));
}

TEST_P(OperationsConformance, CreationRefuseeSansRienChanger) {
    auto v = vue(*m_admin);
    const qint64 ecritures = annuaire().roundTrips().writes;
    // A clash names what holds the name: a group by its common or its account name, whatever
    // the case, or a user or computer by its account name.
    const struct {
        QString nom;
        const char16_t* message;
        QString dn; // of the object named in the message
    } cas[] = {
        {u"   "_s, u"MSG_ERREUR_NOM_GROUPE_VIDE_INTERDIT", {}},
        {u"a;b"_s, u"MSG_ERREUR_CARACTERES_INTERDITS_NOM_GROUPE", {}},
        {u" GS Imprimantes"_s, u"MSG_ERREUR_CREATION_GROUPE_NOM_GROUPE",
         dn(u"CN=GS Imprimantes,OU=Groupes,OU=Informatique,OU=Velmora"_s)},
        {u"niveau 1 - acces siege"_s, u"MSG_ERREUR_CREATION_GROUPE_NOM_GROUPE",
         dn(u"CN=Niveau 1 - Accès siège,OU=Siège,OU=Velmora"_s)},
        {u"AMartin"_s, u"MSG_ERREUR_CREATION_GROUPE_NOM_UTILISATEUR",
         dn(u"CN=Alice Martin,OU=Direction générale,OU=Siège,OU=Velmora"_s)},
        {u"PC-ACCUEIL-01$"_s, u"MSG_ERREUR_CREATION_GROUPE_NOM_ORDINATEUR",
         dn(u"CN=PC-ACCUEIL-01,OU=Postes de travail,OU=Informatique,OU=Velmora"_s)},
    };
    for (const auto& c : cas) {
        v->interaction.messages.clear();
        EXPECT_EQ(v->operations->CreeGroupe(v->racine(), {c.nom, 1, 0}), IssueOperation::Refusee);
        ASSERT_EQ(v->interaction.messages.size(), 1) << c.nom.toStdString();
        const QString& message = v->interaction.messages[0];
        const QString debut = Traduction(c.message).section(u'%', 0, 0);
        EXPECT_TRUE(message.startsWith(debut)) << message.toStdString();
        if (!c.dn.isEmpty()) {
            EXPECT_TRUE(message.contains(c.nom.trimmed()) && message.contains(c.dn, Qt::CaseInsensitive))
                << message.toStdString();
        }
    }
    EXPECT_EQ(annuaire().roundTrips().writes, ecritures);
    EXPECT_TRUE(groupesDuBac().isEmpty());
    EXPECT_EQ(v->racine()->ChildCount(), 0);
    EXPECT_EQ(v->parametres.TypeGroupe, 1) << "the choice is kept even when refused";
}

// ---- Remove a member

TEST_P(OperationsConformance, RetraitDUnGroupeQuiReapparaitSousSonOU) {
    const QString s = suffixe();
    const QString g1 = groupe(u"G1-"_s + s, {zoe()});
    const QString g2 = groupe(u"G2-"_s + s, {g1});
    const QString g3 = groupe(u"G3-"_s + s, {g1});
    auto v = vue(*m_admin);
    Noeud* racine = v->racine();
    ASSERT_EQ(racine->Text(), libelle(racine->Text().section(QChar(NBSP), 0, 0), 2));
    Noeud* sousG2 = v->sous(u'G' + g1, u'G' + g2);
    ASSERT_TRUE(sousG2);

    EXPECT_EQ(v->operations->RetireMembre(sousG2), IssueOperation::Faite);
    EXPECT_TRUE(membres(g2).isEmpty());
    EXPECT_EQ(membres(g3), QStringList{u"G1-"_s + s});
    Noeud* n2 = v->sous(u'G' + g2, racine->Tag());
    EXPECT_EQ(n2->Text(), libelle(u"G2-"_s + s, 0));
    EXPECT_EQ(v->arbre.SelectedItem(), n2) << "an only child gives the selection to its parent";
    EXPECT_FALSE(v->sous(u'G' + g1, racine->Tag())) << "still in G3 of the same O.U.";
    EXPECT_EQ(racine->Text(), libelle(NomDuLibelle(racine->Text()), 1));

    // Out of its last group of the O.U., it is shown under the O.U. with its members.
    EXPECT_EQ(v->operations->RetireMembre(v->sous(u'G' + g1, u'G' + g3)), IssueOperation::Faite);
    Noeud* seul = v->sous(u'G' + g1, racine->Tag());
    ASSERT_TRUE(seul);
    EXPECT_EQ(seul->Text(), libelle(u"G1-"_s + s, 1));
    EXPECT_EQ(seul->ChildCount(), 1);
    EXPECT_EQ(racine->Text(), libelle(NomDuLibelle(racine->Text()), 1));

    // An account goes from every instance of its group, with the counts.
    Noeud* compte = seul->Child(0);
    EXPECT_EQ(v->operations->RetireCompte(compte), IssueOperation::Faite);
    EXPECT_TRUE(membres(g1).isEmpty());
    EXPECT_EQ(seul->Text(), libelle(u"G1-"_s + s, 0));
    EXPECT_EQ(racine->Text(), libelle(NomDuLibelle(racine->Text()), 0));
}

// A contact and a foreign principal (a well-known one, which every controller holds) are members
// like accounts: shown with their names, counted, and taken out of the group.
TEST_P(OperationsConformance, ContactEtPrincipalEtrangerMontresComptesEtRetires) {
    const QString contact = dn(u"CN=Dupont & Fils (fournisseur),OU=Partenaires,OU=Velmora"_s);
    const QString authentifies = dn(u"CN=S-1-5-11,CN=ForeignSecurityPrincipals"_s);
    const QString g = groupe(u"Externes-"_s + suffixe(), {zoe(), contact, authentifies});
    const QString autre = groupe(u"Copie-"_s + suffixe());
    auto v = vue(*m_admin);
    Noeud* noeudGroupe = v->sous(u'G' + g, v->racine()->Tag());
    ASSERT_TRUE(noeudGroupe);
    EXPECT_EQ(noeudGroupe->Text(), libelle(DnValeurRdn(g), 3));
    Noeud* nContact = v->sous(u'K' + contact, noeudGroupe->Tag());
    Noeud* nPrincipal = v->sous(u'F' + authentifies, noeudGroupe->Tag());
    ASSERT_TRUE(nContact && nPrincipal);
    EXPECT_EQ(nContact->Text(), u"Dupont & Fils"_s);
    EXPECT_EQ(nPrincipal->Text(), u"Utilisateurs authentifiés"_s);

    // Dropped on another group, the contact shows there as it does here.
    EXPECT_EQ(v->operations->DeposeMembre(nContact, v->sous(u'G' + autre, v->racine()->Tag()), true),
              IssueOperation::Faite);
    const Noeud* copie = v->sous(u'K' + contact, u'G' + autre);
    ASSERT_TRUE(copie);
    EXPECT_EQ(copie->Text(), u"Dupont & Fils"_s);
    EXPECT_EQ(copie->Image(), u"contact"_s);
    nContact = v->sous(u'K' + contact, noeudGroupe->Tag());

    EXPECT_EQ(v->operations->RetireCompte(nContact), IssueOperation::Faite);
    EXPECT_EQ(v->operations->RetireCompte(v->sous(u'F' + authentifies, noeudGroupe->Tag())),
              IssueOperation::Faite);
    const std::optional<LdapEntry> lu = lit(g);
    ASSERT_TRUE(lu);
    const LdapAttribute* restants = lu->find(u"member");
    ASSERT_TRUE(restants);
    ASSERT_EQ(restants->values.size(), 1);
    EXPECT_TRUE(DnEgaux(QString::fromUtf8(restants->values.first()), zoe()));
    EXPECT_EQ(noeudGroupe->Text(), libelle(DnValeurRdn(g), 1));
    EXPECT_TRUE(lit(authentifies)) << "the principal itself stays";
}

// ---- Delete

TEST_P(OperationsConformance, SuppressionAccepteePuisRefusee) {
    const QString s = suffixe();
    const QString imbrique = groupe(u"Imbriqué-"_s + s, {zoe()});
    const QString supprime = groupe(u"Supprimé-"_s + s, {imbrique});
    const QString englobant = groupe(u"Englobant-"_s + s, {supprime});
    groupe(u"Autre-"_s + s, {supprime});
    auto v = vue(*m_admin);
    ASSERT_EQ(v->arbre.Instances(u'G' + supprime).size(), 2);
    Noeud* noeud = v->sous(u'G' + supprime, u'G' + englobant);
    v->interaction.reponse = ReponseMessage::Non;
    EXPECT_EQ(v->operations->SupprimeGroupe(noeud), IssueOperation::Annulee);
    ASSERT_EQ(v->interaction.messages.size(), 1);
    EXPECT_TRUE(v->interaction.messages[0].startsWith(
        u"Attention, vous êtes sur le point de supprimer le groupe 'Supprimé-"_s + s + u"'.\r\n"_s))
        << v->interaction.messages[0].toStdString();
    EXPECT_EQ(v->operations->SupprimeGroupe(v->racine()), IssueOperation::Refusee);
    EXPECT_EQ(v->interaction.messages.last(), Traduction(u"MSG_ERREUR_SUPPRESSION_GROUPE_PREMIER_ELEMENT"));
    EXPECT_TRUE(lit(supprime));

    v->interaction.reponse = ReponseMessage::Oui;
    EXPECT_EQ(v->operations->SupprimeGroupe(noeud), IssueOperation::Faite);
    EXPECT_FALSE(lit(supprime));
    EXPECT_TRUE(v->arbre.Instances(u'G' + supprime).isEmpty());
    Noeud* racine = v->racine();
    EXPECT_EQ(v->sous(u'G' + englobant, racine->Tag())->Text(), libelle(u"Englobant-"_s + s, 0));
    Noeud* retabli = v->sous(u'G' + imbrique, racine->Tag());
    ASSERT_TRUE(retabli) << "the nested group lost its only group";
    EXPECT_EQ(retabli->Text(), libelle(u"Imbriqué-"_s + s, 1));
    EXPECT_EQ(racine->Text(), libelle(NomDuLibelle(racine->Text()), 1));

    // Without the rights, nothing changes, in the directory or in the tree.
    const QString protege = groupe(u"Protégé-"_s + s);
    groupe(u"Tient-"_s + s, {protege});
    Credentials c;
    auto limitee = ouvre(m_target->restrictedBackend({protege}, c), c);
    ASSERT_TRUE(limitee);
    auto w = vue(*limitee);
    const qsizetype avant = w->arbre.Count();
    EXPECT_EQ(w->operations->SupprimeGroupe(w->arbre.Instances(u'G' + protege).value(0)),
              IssueOperation::Refusee);
    EXPECT_EQ(w->interaction.messages.last(), Traduction(u"MSG_ERREUR_DROITS_INSUFFISANTS"));
    EXPECT_EQ(w->arbre.Count(), avant);
    EXPECT_TRUE(lit(protege));
}

// ---- Rename

TEST_P(OperationsConformance, RenommageDeToutesLesInstancesEtAnnulationSiConflit) {
    const QString s = suffixe();
    const QString r = groupe(u"R, ancien-"_s + s, {zoe()});
    const QString q1 = groupe(u"Q1-"_s + s, {r});
    groupe(u"Q2-"_s + s, {r});
    auto v = vue(*m_admin);
    ASSERT_EQ(v->arbre.Instances(u'G' + r).size(), 2);
    const qint64 ecritures = annuaire().roundTrips().writes;
    EXPECT_EQ(v->operations->RenommeGroupe(v->sous(u'G' + r, u'G' + q1), u" R, ancien-"_s + s),
              IssueOperation::Faite);
    EXPECT_EQ(annuaire().roundTrips().writes, ecritures) << "an unchanged name makes no call";

    // The account name clashes with a group of another O.U.: the relative name is put back.
    EXPECT_EQ(v->operations->RenommeGroupe(v->sous(u'G' + r, u'G' + q1), u"GS Imprimantes"_s),
              IssueOperation::Refusee);
    EXPECT_EQ(v->interaction.messages, QStringList{Traduction(u"MSG_ERREUR_CREATION_GROUPE_EXISTE_DEJA")});
    const std::optional<LdapEntry> inchange = lit(r);
    EXPECT_EQ(inchange ? valeur(*inchange, u"sAMAccountName") : QString(), u"R_ ancien-"_s + s)
        << "the group keeps its name and place";
    EXPECT_EQ(groupesDuBac().size(), 3);
    EXPECT_EQ(v->arbre.Instances(u'G' + r).size(), 2);

    const QString nom = u"R' (nouveau) #2 Ωμ-"_s + s;
    EXPECT_EQ(v->operations->RenommeGroupe(v->sous(u'G' + r, u'G' + q1), nom), IssueOperation::Faite);
    EXPECT_FALSE(lit(r));
    const QString nouveau = u"CN="_s + EchappeValeurDn(nom) + u',' + m_bac;
    const std::optional<LdapEntry> lu = lit(nouveau);
    ASSERT_TRUE(lu);
    EXPECT_EQ(valeur(*lu, u"sAMAccountName"), nom);
    EXPECT_EQ(membres(lu->dn), QStringList{u"Zoé D'Arcy"_s}) << "members follow the rename";
    const QList<Noeud*> instances = v->arbre.Instances(u'G' + lu->dn);
    ASSERT_EQ(instances.size(), 2);
    for (const Noeud* n : instances) {
        EXPECT_EQ(n->Text(), libelle(nom, 1));
        EXPECT_EQ(n->Key(), n->Parent()->Key() + u'\\' + nom);
        EXPECT_EQ(n->Child(0)->Key(), n->Key() + u"\\zdarcy"_s);
        EXPECT_EQ(v->arbre.Node(n->Child(0)->Key()), n->Child(0));
    }
}

// ---- What the window shows

// The status bar names the directory in use and the bound account; a search that finds nothing,
// or a typed DN that names no O.U. or group, leaves the tree as it was.
TEST_P(OperationsConformance, BarreEtatEtArbreGardeSiRienNEstTrouve) {
    const QString s = suffixe();
    groupe(u"Vu-"_s + s, {zoe()});
    auto v = vue(*m_admin);
    const qsizetype noeuds = v->arbre.Count();
    ASSERT_EQ(noeuds, 3);
    const TextesBarreEtat textes = CalculeTextesBarreEtat(m_admin.get(), Mode::Standard, noeuds);
    EXPECT_TRUE(textes.annuaire.contains(m_admin->AdresseAnnuaire()) &&
                !m_admin->AdresseAnnuaire().isEmpty());
    EXPECT_TRUE(textes.identite.contains(m_admin->UtilisateurAffiche()));

    const QString racine = v->racine()->Key();
    for (const QString& saisie : {u"Aucun-"_s + s, u"CN=Aucun-"_s + s + u',' + m_bac, zoe()}) {
        v->analyse->AnalyseTexte(Mode::Standard, saisie, 1);
        EXPECT_EQ(v->arbre.Count(), noeuds) << saisie.toStdString();
        EXPECT_EQ(v->racine()->Key(), racine) << saisie.toStdString();
    }
    EXPECT_EQ(v->interaction.messages.size(), 3);
}

} // namespace arbrix::conformance
