// Taking a member out of a group, and deleting a group: once the directory has agreed, every
// instance goes from the tree, with the counts of their ancestors; a group left in no group of
// its O.U. is shown under that O.U. again, as the analysis would show it.

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
    return {noeud->Tag(), noeud->Parent()->Tag(), NomDuLibelle(noeud->Text()), noeud->Image(),
            noeud->LettreType() == u'G'};
}

void OperationsGroupes::montreRetrait(const Retrait& r) {
    retireInstances(r.tag, r.tagParent, !r.groupe);
    if (!r.groupe || m_parametres.RepresenterGroupesRacineOU)
        return;
    const QString dn = r.tag.mid(1);
    const QStringList memberOf =
        m_session.ConnexionAD().Bind(m_session.CheminObjet(dn))->GetEx(u"memberOf").toStringList();
    if (reapparaitAuNiveauOU(dn, memberOf, r.tagParent.mid(1)))
        retablitAuNiveauOU(r.nom, r.tag, r.image);
}

IssueOperation OperationsGroupes::retire(Noeud* noeud, bool groupe) {
    const Noeud* parent = noeud->Parent();
    if (!parent || parent->LettreType() != u'G')
        return IssueOperation::Refusee;
    Retrait r = retraitDe(noeud);
    r.groupe = groupe;
    return execute(
        [&](const Changement&) {
            selectionneApresRetrait(noeud);
            montreRetrait(r);
        },
        [&] { return m_annuaire.RetireMembre(parent->DN(), noeud->DN()); });
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
    if (m_interaction.Message(QuestionSuppressionGroupe(noeud->DN()), IconeMessage::Question,
                              BoutonsMessage::OuiNon, ReponseMessage::Non) != ReponseMessage::Oui)
        return IssueOperation::Annulee;
    const QString tag = noeud->Tag();
    QList<GroupeARetablir> aRetablir;
    return execute(
        [&](const Changement&) {
            selectionneApresRetrait(noeud);
            retireInstances(tag, {}, false);
            for (const GroupeARetablir& g : std::as_const(aRetablir))
                retablitAuNiveauOU(g.nom, g.tag, g.image);
        },
        [&] {
            // Read before the deletion takes their memberships away.
            try {
                aRetablir = groupesARetablir(noeud->DN());
            } catch (const DirectoryError& e) {
                m_interaction.Message(TexteErreurOperation(e), IconeMessage::Exclamation);
                return ResultatAnnuaire{IssueDeLErreur(e), {}};
            }
            return m_annuaire.SupprimeGroupe(noeud->DN());
        });
}

} // namespace arbrix
