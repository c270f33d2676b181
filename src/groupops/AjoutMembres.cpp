// Making accounts and groups members of a group, from the choice dialogs, a drop or the command
// line: the directory first, then every instance of the group in the tree, with the counts of
// their ancestors.

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "groupops/InstancesArbre.h"
#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "text/Texte.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/EtatCompte.h"
#include "tree/Interaction.h"

namespace arbrix {

namespace {

CompteChoisi CompteDepuisObjet(const DirectoryObject& o) {
    CompteChoisi c;
    c.Categorie = CleCategorieCompte(o.GetEx(u"objectClass"));
    c.Compte = o.Get(u"sAMAccountName").toString();
    c.Nom = NomCompte(o.Get(u"objectCategory").toString(), o.Get(u"displayName").toString(),
                      o.Get(u"cn").toString());
    c.DistinguishedName = o.dn();
    c.UserAccountControl = o.Get(u"userAccountControl").toInt();
    return c;
}

} // namespace

void OperationsGroupes::signale(const QString& texte) {
    m_interaction.Sablier(false);
    m_interaction.Message(texte, IconeMessage::Exclamation);
    m_interaction.Sablier(true);
}

bool OperationsGroupes::creeCycle(const QString& dnAjoute, const QString& dnCible) {
    // The target already inside the added group, at any depth: the directory follows the chain,
    // cycles included, so no walk of ours can loop.
    if (DnEgaux(dnAjoute, dnCible))
        return true;
    const Recordset rs = m_session.ConnexionAD().Execute(searchRequest(
        dnCible, SearchScope::Base,
        QStringLiteral("(memberOf:1.2.840.113556.1.4.1941:=") + EchappeValeurFiltre(dnAjoute) + u')',
        {QStringLiteral("distinguishedName")}));
    return !rs.Eof();
}

Noeud* OperationsGroupes::montreCompte(const QString& tagGroupe, const QString& cleSelection,
                                       const CompteChoisi& c) {
    EtatCompte etat;
    etat.desactive = c.UserAccountControl & 2;
    if (m_parametres.ControlerVerrouilleExpire) {
        const std::unique_ptr<DirectoryObject> compte =
            m_session.ConnexionAD().Bind(m_session.CheminObjet(c.DistinguishedName));
        etat.verrouille = compte->IsAccountLocked();
        if (!etat.verrouille)
            etat.expiration = compte->AccountExpirationDate();
    }
    const AspectCompte aspect =
        AspectDuCompte(c.Categorie, c.Nom, c.Compte, etat, m_parametres.ControlerVerrouilleExpire,
                       QDateTime::currentDateTime());
    const QString& texte = aspect.texte;
    const QString& image = aspect.image;
    const QString tag = c.Categorie.left(1).toUpper() + c.DistinguishedName;
    Noeud* choisi = nullptr;
    for (Noeud* parent : Instances(m_arbre, tagGroupe)) {
        Noeud* n = m_arbre.Ajoute(parent, m_arbre.CleLibre(parent, c.Compte), texte, tag, image);
        m_arbre.AjusteNombreMembres(parent, 1);
        if (parent->Key() == cleSelection)
            choisi = n;
    }
    return choisi;
}

Noeud* OperationsGroupes::montreGroupe(const QString& tagGroupe, const QString& cleSelection,
                                       const GroupeChoisi& g, const QString& image) {
    const QString tag = u'G' + g.DistinguishedName;
    Noeud* choisi = nullptr;
    for (Noeud* parent : Instances(m_arbre, tagGroupe)) {
        Noeud* n = m_arbre.Ajoute(parent, m_arbre.CleLibre(parent, g.Nom), g.Nom, tag, image, true);
        const qint32 nombre = m_analyse.AnalyseMembresGroupe({}, n, 0);
        if (nombre < 0)
            throw DirectoryError(-nombre, QString());
        m_arbre.AjusteNombreMembres(parent, nombre);
        if (parent->Key() == cleSelection)
            choisi = n;
    }
    if (!m_parametres.RepresenterGroupesRacineOU && TagConteneur(tag) == TagConteneur(tagGroupe))
        retireDuNiveauOU(tag);
    return choisi;
}

void OperationsGroupes::retireDuNiveauOU(const QString& tag) {
    // Found by its tag: a Key may carry a numbering, and the count leaves the O.U. with it.
    for (Noeud* ou : Instances(m_arbre, TagConteneur(tag))) {
        Noeud* n = EnfantDeTag(ou, tag);
        if (!n)
            continue;
        const qint32 nombre = NombreDuLibelle(n->Text());
        m_arbre.Supprime(n);
        m_arbre.AjusteNombreMembres(ou, -nombre);
    }
}

IssueOperation OperationsGroupes::AjouteComptes(Noeud* groupe, const QList<CompteChoisi>& comptes) {
    const QString tag = groupe->Tag();
    const QString cle = groupe->Key();
    IssueOperation issue = IssueOperation::Faite;
    Noeud* choisi = nullptr;
    m_interaction.Sablier(true);
    try {
        const std::unique_ptr<DirectoryObject> g =
            m_session.ConnexionAD().Bind(m_session.CheminObjet(groupe->DN()));
        for (const CompteChoisi& c : comptes) {
            const QString chemin = m_session.CheminObjet(c.DistinguishedName);
            if (g->IsMember(chemin)) {
                signale(FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_COMPTE_DEJA_MEMBRE"), {c.Nom}));
                issue = IssueOperation::Refusee;
                continue;
            }
            g->Add(chemin);
            note({Changement::Nature::Ajout, c.DistinguishedName, g->dn()});
            if (Noeud* n = montreCompte(tag, cle, c))
                choisi = n;
        }
    } catch (const DirectoryError& e) {
        if (choisi)
            m_arbre.RendVisibleEtSelectionne(choisi);
        return signaleErreur(e);
    }
    if (choisi)
        m_arbre.RendVisibleEtSelectionne(choisi);
    m_interaction.Sablier(false);
    return issue;
}

bool OperationsGroupes::ajouteGroupe(DirectoryObject& cible, const QString& tagCible, const QString& cleCible,
                                     const GroupeChoisi& g) {
    if (DnEgaux(g.DistinguishedName, cible.dn())) {
        signale(Traduction(u"MSG_ERREUR_AJOUT_GROUPE_RECURSIVITE"));
        return false;
    }
    bool cycle = false;
    try {
        cycle = creeCycle(g.DistinguishedName, cible.dn());
    } catch (const DirectoryError& e) {
        signale(
            FormateMessage(Traduction(u"MSG_ERREUR_CONTROLE_RECURSIVITE"), {g.Nom, TexteErreurOperation(e)}));
        return false;
    }
    if (cycle) {
        signale(Traduction(u"MSG_ERREUR_DEPLACEMENT_AJOUT_RECURSIVITE"));
        return false;
    }
    const QString chemin = m_session.CheminObjet(g.DistinguishedName);
    if (cible.IsMember(chemin)) {
        signale(Traduction(u"MSG_ERREUR_AJOUT_GROUPE_DEJA_MEMBRE"));
        return false;
    }
    cible.Add(chemin);
    note({Changement::Nature::Ajout, g.DistinguishedName, cible.dn()});
    const qint32 groupType = m_session.ConnexionAD().Bind(chemin)->Get(u"groupType").toInt();
    if (Noeud* n = montreGroupe(tagCible, cleCible, g, CleTypeGroupe(groupType, false)))
        m_arbre.RendVisibleEtSelectionne(n);
    return true;
}

IssueOperation OperationsGroupes::AjouteGroupes(Noeud* groupe, const QList<GroupeChoisi>& groupes) {
    const QString tag = groupe->Tag();
    const QString cle = groupe->Key();
    IssueOperation issue = IssueOperation::Faite;
    m_interaction.Sablier(true);
    try {
        const std::unique_ptr<DirectoryObject> cible =
            m_session.ConnexionAD().Bind(m_session.CheminObjet(groupe->DN()));
        for (const GroupeChoisi& g : groupes) {
            if (!ajouteGroupe(*cible, tag, cle, g))
                issue = IssueOperation::Refusee;
        }
    } catch (const DirectoryError& e) {
        return signaleErreur(e);
    }
    m_interaction.Sablier(false);
    return issue;
}

IssueOperation OperationsGroupes::DeposeMembre(Noeud* membre, Noeud* cible, bool copie) {
    if (!cible || cible->LettreType() != u'G' || membre->LettreType() == u'O' || membre == cible)
        return IssueOperation::Refusee;
    const bool groupe = membre->LettreType() == u'G';
    const Noeud* parent = membre->Parent();
    const bool retirer = !copie && parent && parent->LettreType() == u'G';
    if (groupe && !copie && !DnEgaux(DnParent(membre->DN()), DnParent(cible->DN()))) {
        m_interaction.Message(Traduction(u"MSG_ERREUR_DEPLACEMENT_GROUPE_HORS_OU"),
                              IconeMessage::Exclamation);
        return IssueOperation::Refusee;
    }
    const Retrait retrait = retirer ? retraitDe(membre) : Retrait{};
    const QString tagCible = cible->Tag();
    const QString cleCible = cible->Key();
    const QString nomMembre = NomDuLibelle(membre->Text());

    m_interaction.Sablier(true);
    try {
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> g = connexion.Bind(m_session.CheminObjet(cible->DN()));
        const std::unique_ptr<DirectoryObject> objet = connexion.Bind(m_session.CheminObjet(membre->DN()));
        QString refus;
        if (g->IsMember(objet->ADsPath()))
            refus = QStringLiteral("MSG_ERREUR_DEPLACEMENT_DEJA_MEMBRE");
        else if (groupe && creeCycle(objet->dn(), g->dn()))
            refus = QStringLiteral("MSG_ERREUR_DEPLACEMENT_AJOUT_RECURSIVITE");
        if (!refus.isEmpty()) {
            m_interaction.Sablier(false);
            m_interaction.Message(Traduction(refus), IconeMessage::Exclamation);
            return IssueOperation::Refusee;
        }
        g->Add(objet->ADsPath());
        note({Changement::Nature::Ajout, objet->dn(), g->dn()});
        // The dragged node may go with the O.U.-level instance: not used past this point.
        Noeud* nouveau = groupe ? montreGroupe(tagCible, cleCible, {DnValeurRdn(objet->dn()), objet->dn()},
                                               CleTypeGroupe(objet->Get(u"groupType").toInt(), false))
                                : montreCompte(tagCible, cleCible, CompteDepuisObjet(*objet));
        if (nouveau)
            m_arbre.RendVisibleEtSelectionne(nouveau);
        if (retirer) {
            try {
                retireDuGroupe(retrait, nullptr);
            } catch (const DirectoryError& e) {
                m_interaction.Sablier(false);
                m_interaction.Message(
                    FormateMessage(
                        Traduction(u"MSG_ERREUR_DEPLACEMENT_RETRAIT_ECHOUE"),
                        {nomMembre,
                         NomDuLibelle(m_arbre.Node(cleCible) ? m_arbre.Node(cleCible)->Text() : QString()),
                         DnValeurRdn(retrait.dnGroupe), TexteErreurOperation(e)}),
                    IconeMessage::Exclamation);
                return IssueOperation::Refusee;
            }
        }
    } catch (const DirectoryError& e) {
        return signaleErreur(e);
    }
    m_interaction.Sablier(false);
    return IssueOperation::Faite;
}

} // namespace arbrix
