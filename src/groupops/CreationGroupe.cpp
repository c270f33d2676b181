// Creating a group under an O.U. node, or beside a group node and as its member.

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "groupops/NomGroupe.h"
#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "text/Texte.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/Interaction.h"

#include <algorithm>

namespace arbrix {

IssueOperation OperationsGroupes::CreeGroupe(Noeud* noeud) {
    const std::optional<ChoixCreationGroupe> choix =
        m_interaction.DemandeCreationGroupe(m_parametres.TypeGroupe, m_parametres.EtendueGroupe);
    if (!choix)
        return IssueOperation::Annulee;
    return CreeGroupe(noeud, *choix);
}

bool OperationsGroupes::groupeExiste(const QString& nom) {
    // Any group of that common name in the domain, whatever its container.
    // An exact match: a "*" in the new name is a character, not a wildcard.
    const Recordset rs = m_session.ConnexionAD().Execute(
        searchRequest(m_session.ContexteNommage(), SearchScope::Subtree,
                      QStringLiteral("(&(objectCategory=group)") + FiltreEgalite(u"cn", nom) + u')',
                      {QStringLiteral("distinguishedName")}));
    return !rs.Eof();
}

IssueOperation OperationsGroupes::CreeGroupe(Noeud* noeud, const ChoixCreationGroupe& choix) {
    m_parametres.TypeGroupe = qint16(choix.type == 0 ? 0 : 1);
    m_parametres.EtendueGroupe = qint16(std::clamp(choix.etendue, 0, 2));
    const QString nom = NomGroupeNettoye(choix.nom);
    if (nomRefuse(nom))
        return IssueOperation::Refusee;
    const QString tag = noeud->Tag();
    const QString cle = noeud->Key();
    const qint32 groupType = ValeurGroupType(m_parametres.TypeGroupe, m_parametres.EtendueGroupe);
    const QString image = CleTypeGroupe(groupType, false);

    m_interaction.Sablier(true);
    try {
        if (groupeExiste(nom)) {
            m_interaction.Sablier(false);
            m_interaction.Message(Traduction(u"MSG_ERREUR_CREATION_GROUPE_EXISTE_DEJA"),
                                  IconeMessage::Exclamation);
            return IssueOperation::Refusee;
        }
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> selection = connexion.Bind(m_session.CheminObjet(noeud->DN()));
        const bool sousGroupe = !tag.startsWith(u'O');
        const std::unique_ptr<DirectoryObject> conteneur =
            sousGroupe ? connexion.Bind(selection->Parent()) : connexion.Bind(selection->ADsPath());
        const std::unique_ptr<DirectoryObject> groupe =
            conteneur->Create(QStringLiteral("group"), RdnGroupe(nom));
        groupe->Put(QStringLiteral("sAMAccountName"), nom);
        groupe->Put(QStringLiteral("groupType"), groupType);
        groupe->SetInfo();
        const QString dnNouveau = groupe->Get(u"distinguishedName").toString();
        note({Changement::Nature::Creation, dnNouveau, {}});
        const QString tagNouveau = u'G' + dnNouveau;
        if (sousGroupe) {
            try {
                selection->Add(groupe->ADsPath());
            } catch (const DirectoryError& e) {
                // The group exists: show it where the analysis would, and say what is missing.
                retablitAuNiveauOU(nom, tagNouveau, image, true);
                m_interaction.Sablier(false);
                m_interaction.Message(
                    FormateMessage(Traduction(u"MSG_ERREUR_GROUPE_CREE_NON_MEMBRE"),
                                   {nom, DnValeurRdn(selection->dn()), TexteErreurOperation(e)}),
                    IconeMessage::Exclamation);
                return IssueOperation::Refusee;
            }
            note({Changement::Nature::Ajout, dnNouveau, selection->dn()});
        }
        ajouteSousInstances(tag, cle, nom, tagNouveau, image);
    } catch (const DirectoryError& e) {
        return signaleErreur(e);
    }
    m_interaction.Sablier(false);
    return IssueOperation::Faite;
}

} // namespace arbrix
