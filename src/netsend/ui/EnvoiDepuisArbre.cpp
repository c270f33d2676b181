#include "netsend/ui/EnvoiDepuisArbre.h"

#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "netsend/EnvoiMessage.h"
#include "netsend/ui/frmNetsendEnvoi.h"
#include "netsend/ui/frmNetsendSaisie.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Arbre.h"

namespace arbrix {

namespace {

void Envoie(frmPrincipal* principal, const QList<Destinataire>& destinataires) {
    SessionAD* session = principal->session();
    if (!session)
        return;
    const QString message = frmNetsendSaisie::Saisit(principal);
    if (message.isEmpty())
        return;
    AdressesSession annuaire(*session);
    const std::unique_ptr<Transport> transport = TransportConfigure(principal->parametres());
    frmNetsendEnvoi::Envoie(
        principal, destinataires,
        {message, principal->parametres().MessagerieExpediteur, session->UtilisateurAffiche()}, annuaire,
        *transport);
}

} // namespace

void EnvoieMessageMembres(frmPrincipal* principal, const Noeud* noeud) {
    const QList<Destinataire> destinataires = DestinatairesSous(*noeud);
    if (destinataires.isEmpty()) {
        principal->Message(Traduction(u"MSG_ERREUR_AUCUN_MEMBRE"), IconeMessage::Exclamation);
        return;
    }
    Envoie(principal, destinataires);
}

void EnvoieMessageCompte(frmPrincipal* principal, const Noeud* noeud) {
    // A managed service account has no mailbox: its item is greyed.
    if (noeud->LettreType() != u'U' && noeud->LettreType() != u'C')
        return;
    Envoie(principal, {DestinataireDuNoeud(*noeud)});
}

} // namespace arbrix
