#include "netsend/ui/EnvoiDepuisArbre.h"

#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "netsend/EnvoiMessage.h"
#include "netsend/ui/frmNetsendEnvoi.h"
#include "netsend/ui/frmNetsendSaisie.h"
#include "settings/Parametres.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

namespace arbrix {

namespace {

void Envoie(const ContexteEnvoi& contexte, const QList<Destinataire>& destinataires) {
    SessionAD* session = contexte.session;
    if (!session)
        return;
    const QString message = frmNetsendSaisie::Saisit(contexte.fenetre);
    if (message.isEmpty())
        return;
    AdressesSession annuaire(*session);
    const std::unique_ptr<Transport> transport = TransportConfigure(contexte.parametres);
    frmNetsendEnvoi::Envoie(
        contexte.fenetre, destinataires,
        {message, contexte.parametres.MessagerieExpediteur, session->UtilisateurAffiche()}, annuaire,
        *transport);
}

} // namespace

void EnvoieMessageMembres(const ContexteEnvoi& contexte, const Noeud* noeud) {
    const QList<Destinataire> destinataires = DestinatairesSous(*noeud);
    if (destinataires.isEmpty()) {
        contexte.interaction.Message(Traduction(u"MSG_ERREUR_AUCUN_MEMBRE"), IconeMessage::Exclamation);
        return;
    }
    Envoie(contexte, destinataires);
}

void EnvoieMessageCompte(const ContexteEnvoi& contexte, const Noeud* noeud) {
    // A managed service account has no mailbox: its item is greyed.
    if (noeud->LettreType() != u'U' && noeud->LettreType() != u'C')
        return;
    Envoie(contexte, {DestinataireDuNoeud(*noeud)});
}

} // namespace arbrix
