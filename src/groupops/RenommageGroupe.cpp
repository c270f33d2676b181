// Renaming a group: its relative name first, then its account name; when the account name is
// refused the relative name is put back, so that no group is left half renamed. When the answer
// about the account name was lost and the directory could not be read back, nothing is undone.

#include "directory/CheckedWrite.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Session.h"
#include "groupops/NomGroupe.h"
#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

namespace arbrix {

IssueOperation OperationsGroupes::RenommeGroupe(Noeud* noeud, const QString& nouveauNom) {
    const QString nom = NomGroupeNettoye(nouveauNom);
    const QString ancienTag = noeud->Tag();
    const QString ancienDn = noeud->DN();
    // A name made elsewhere may hold characters refused here: left as it is, it is no change.
    if (nom == DnValeurRdn(ancienDn))
        return IssueOperation::Faite;
    if (nomRefuse(nom))
        return IssueOperation::Refusee;

    m_interaction.Sablier(true);
    std::unique_ptr<DirectoryObject> renomme;
    try {
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> groupe = connexion.Bind(m_session.CheminObjet(ancienDn));
        const std::unique_ptr<DirectoryObject> conteneur = connexion.Bind(groupe->Parent());
        renomme = conteneur->MoveHere(groupe->ADsPath(), RdnGroupe(nom));
        try {
            renomme->Put(QStringLiteral("sAMAccountName"), nom);
            renomme->SetInfo();
        } catch (const DirectoryError& e) {
            // The relative name stays changed: the tree shows the group as it now is, and the
            // user learns which half of the rename is missing or not known.
            const auto resteRenomme = [&](const char16_t* cleMessage) {
                renommeInstances(ancienTag, u'G' + renomme->dn(), nom);
                note({Changement::Nature::Renommage, ancienDn, renomme->dn()});
                m_interaction.Sablier(false);
                m_interaction.Message(
                    FormateMessage(Traduction(cleMessage),
                                   {nom, groupe->Get(u"sAMAccountName").toString(), TexteErreurOperation(e)}),
                    IconeMessage::Exclamation);
                return IssueOperation::Echouee;
            };
            // Not known to have failed: putting the name back would meet the same silent server.
            if (answerLost(e.ldapCode()))
                return resteRenomme(u"MSG_ERREUR_GROUPE_RENOMME_COMPTE_INCERTAIN");
            try {
                conteneur->MoveHere(renomme->ADsPath(), groupe->Name());
            } catch (const DirectoryError&) {
                return resteRenomme(u"MSG_ERREUR_GROUPE_RENOMME_SANS_COMPTE");
            }
            return signaleErreur(e);
        }
    } catch (const DirectoryError& e) {
        return signaleErreur(e);
    }
    const QString nouveauDn = renomme->Get(u"distinguishedName").toString();
    note({Changement::Nature::Renommage, ancienDn, nouveauDn});
    renommeInstances(ancienTag, u'G' + nouveauDn, nom);
    m_interaction.Sablier(false);
    return IssueOperation::Faite;
}

} // namespace arbrix
