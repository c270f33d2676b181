// Taking a member out of a group, and deleting a group: the directory first, then every instance
// in the tree, with the counts of their ancestors; a group left in no group of its O.U. is shown
// under that O.U. again, as the analysis would show it.

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/Interaction.h"

namespace arbrix {

IssueOperation OperationsGroupes::RetireMembre(Noeud* noeud) {
    return retire(noeud, true);
}

IssueOperation OperationsGroupes::RetireCompte(Noeud* noeud) {
    return retire(noeud, false);
}

OperationsGroupes::Retrait OperationsGroupes::retraitDe(const Noeud* noeud) {
    const Noeud* parent = noeud->Parent();
    return {noeud->Tag(),
            parent->Tag(),
            noeud->DN(),
            parent->DN(),
            NomDuLibelle(noeud->Text()),
            noeud->Image(),
            noeud->LettreType() == u'G'};
}

void OperationsGroupes::retireDuGroupe(const Retrait& r, Noeud* noeud) {
    DirectoryConnection& connexion = m_session.ConnexionAD();
    QStringList memberOf;
    if (r.groupe)
        memberOf = connexion.Bind(m_session.CheminObjet(r.dn))->GetEx(u"memberOf").toStringList();
    connexion.Bind(m_session.CheminObjet(r.dnGroupe))->Remove(m_session.CheminObjet(r.dn));
    note({Changement::Nature::Retrait, r.dn, r.dnGroupe});
    if (noeud)
        selectionneApresRetrait(noeud);
    retireInstances(r.tag, r.tagParent, !r.groupe);
    if (r.groupe && reapparaitAuNiveauOU(r.dn, memberOf, r.dnGroupe))
        retablitAuNiveauOU(r.nom, r.tag, r.image);
}

IssueOperation OperationsGroupes::retire(Noeud* noeud, bool groupe) {
    const Noeud* parent = noeud->Parent();
    if (!parent || parent->LettreType() != u'G')
        return IssueOperation::Refusee;
    Retrait r = retraitDe(noeud);
    r.groupe = groupe;

    m_interaction.Sablier(true);
    try {
        retireDuGroupe(r, noeud);
    } catch (const DirectoryError& e) {
        return signaleErreur(e);
    }
    m_interaction.Sablier(false);
    return IssueOperation::Faite;
}

QList<OperationsGroupes::GroupeARetablir> OperationsGroupes::groupesARetablir(const QString& dnSupprime) {
    QList<GroupeARetablir> groupes;
    if (m_parametres.RepresenterGroupesRacineOU)
        return groupes;
    // The groups nested in the deleted one, with their memberships in the same rows.
    for (Recordset rs = m_session.ConnexionAD().Execute(
             searchRequest(m_session.ContexteNommage(), SearchScope::Subtree,
                           QStringLiteral("(&") + FiltreEgalite(u"memberOf", dnSupprime) +
                               QStringLiteral("(objectCategory=group))"),
                           {QStringLiteral("name"), QStringLiteral("distinguishedName"),
                            QStringLiteral("groupType"), QStringLiteral("memberOf")}));
         !rs.Eof(); rs.MoveNext()) {
        const QString dn = rs.Fields(u"DistinguishedName").toString();
        if (reapparaitAuNiveauOU(dn, rs.Fields(u"MemberOf").toStringList(), dnSupprime))
            groupes.append({rs.Fields(u"Name").toString(), u'G' + dn,
                            CleTypeGroupe(rs.Fields(u"GroupType").toInt(), false)});
    }
    return groupes;
}

IssueOperation OperationsGroupes::SupprimeGroupe(Noeud* noeud) {
    if (!noeud->Parent()) {
        m_interaction.Message(Traduction(u"MSG_ERREUR_SUPPRESSION_GROUPE_PREMIER_ELEMENT"),
                              IconeMessage::Exclamation);
        return IssueOperation::Refusee;
    }
    if (m_interaction.Message(Traduction(u"TXT_CONFIRMATION_SUPPRESSION_GROUPE"), IconeMessage::Question,
                              BoutonsMessage::OuiNon, ReponseMessage::Non) != ReponseMessage::Oui)
        return IssueOperation::Annulee;
    const QString tag = noeud->Tag();

    m_interaction.Sablier(true);
    try {
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> groupe = connexion.Bind(m_session.CheminObjet(noeud->DN()));
        const std::unique_ptr<DirectoryObject> conteneur = connexion.Bind(groupe->Parent());
        const QList<GroupeARetablir> aRetablir = groupesARetablir(groupe->dn());
        conteneur->Delete(QStringLiteral("group"), groupe->Name());
        note({Changement::Nature::Suppression, groupe->dn(), {}});
        // The tree changes only once the directory has agreed.
        selectionneApresRetrait(noeud);
        retireInstances(tag, {}, false);
        for (const GroupeARetablir& g : aRetablir)
            retablitAuNiveauOU(g.nom, g.tag, g.image);
    } catch (const DirectoryError& e) {
        return signaleErreur(e);
    }
    m_interaction.Sablier(false);
    return IssueOperation::Faite;
}

} // namespace arbrix
