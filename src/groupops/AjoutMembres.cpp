// Making accounts and groups members of a group, from the choice dialogs or a drop: once the
// directory has agreed, every instance of the group in the tree shows them, with the counts of
// their ancestors.

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
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
    return montreFeuille(
        tagGroupe, cleSelection,
        {c.Compte, aspect.texte, LettreTypeCompte(c.Categorie) + c.DistinguishedName, aspect.image});
}

Noeud* OperationsGroupes::montreGroupe(const QString& tagGroupe, const QString& cleSelection,
                                       const GroupeChoisi& g, const QString& image) {
    const QString tag = u'G' + g.DistinguishedName;
    Noeud* choisi = nullptr;
    for (Noeud* parent : m_arbre.Instances(tagGroupe)) {
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
    for (Noeud* ou : m_arbre.Instances(TagConteneur(tag))) {
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
    Noeud* choisi = nullptr;
    const IssueOperation issue = execute(
        [&](const Changement& c) {
            if (Noeud* n = montreCompte(tag, cle, std::get<CompteChoisi>(*c.membre)))
                choisi = n;
        },
        [&] { return m_annuaire.AjouteComptes(groupe->DN(), comptes); });
    if (choisi)
        m_arbre.RendVisibleEtSelectionne(choisi);
    return issue;
}

IssueOperation OperationsGroupes::AjouteGroupes(Noeud* groupe, const QList<GroupeChoisi>& groupes) {
    const QString tag = groupe->Tag();
    const QString cle = groupe->Key();
    return execute(
        [&](const Changement& c) {
            if (Noeud* n = montreGroupe(tag, cle, std::get<GroupeChoisi>(*c.membre),
                                        CleTypeGroupe(c.groupType, false)))
                m_arbre.RendVisibleEtSelectionne(n);
        },
        [&] { return m_annuaire.AjouteGroupes(groupe->DN(), groupes); });
}

Noeud* OperationsGroupes::montreFeuille(const QString& tagGroupe, const QString& cleSelection,
                                        const AspectNoeud& a) {
    Noeud* choisi = nullptr;
    for (Noeud* parent : m_arbre.Instances(tagGroupe)) {
        Noeud* n = m_arbre.Ajoute(parent, m_arbre.CleLibre(parent, a.nom), a.texte, a.tag, a.image);
        m_arbre.AjusteNombreMembres(parent, 1);
        if (parent->Key() == cleSelection)
            choisi = n;
    }
    return choisi;
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
    const std::optional<AspectNoeud> autre =
        EstAutreMembre(membre->LettreType())
            ? std::optional(
                  AspectNoeud{NomDeLaCle(membre->Key()), membre->Text(), membre->Tag(), membre->Image()})
            : std::nullopt;
    const QString tagCible = cible->Tag();
    const QString cleCible = cible->Key();
    const OperationsAnnuaire::Deplacement deplacement{
        membre->DN(), retirer ? parent->DN() : QString(), cible->DN(),
        groupe,       NomDuLibelle(membre->Text()),       NomDuLibelle(cible->Text())};
    // The dragged node may go with the O.U.-level instance: not used past this point.
    return execute(
        [&](const Changement& c) {
            if (c.nature == Changement::Nature::Retrait) {
                montreRetrait(retrait);
                return;
            }
            Noeud* nouveau = groupe  ? montreGroupe(tagCible, cleCible, std::get<GroupeChoisi>(*c.membre),
                                                    CleTypeGroupe(c.groupType, false))
                             : autre ? montreFeuille(tagCible, cleCible, *autre)
                                     : montreCompte(tagCible, cleCible, std::get<CompteChoisi>(*c.membre));
            if (nouveau)
                m_arbre.RendVisibleEtSelectionne(nouveau);
        },
        [&] { return m_annuaire.DeplaceMembre(deplacement); });
}

} // namespace arbrix
