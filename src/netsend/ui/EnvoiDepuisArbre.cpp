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

using namespace Qt::StringLiterals;

void Envoie(const ContexteEnvoi& contexte, const QList<Destinataire>& destinataires,
            const QString& note = {}) {
    SessionAD* session = contexte.session;
    if (!session)
        return;
    const QString expediteur = session->UtilisateurAffiche();
    const frmNetsendSaisie::Saisie saisie =
        frmNetsendSaisie::Saisit(contexte.fenetre, SujetMessage(expediteur), note);
    if (saisie.message.isEmpty())
        return;
    AdressesSession annuaire(*session);
    const std::unique_ptr<Transport> transport = TransportConfigure(contexte.parametres);
    frmNetsendEnvoi::Envoie(
        contexte.fenetre, destinataires,
        {saisie.message, contexte.parametres.MessagerieExpediteur, expediteur, saisie.sujet}, annuaire,
        *transport);
}

} // namespace

void EnvoieMessageMembres(const ContexteEnvoi& contexte, const Noeud* noeud) {
    const DestinatairesMembres destinataires = DestinatairesSous(*noeud);
    const QString note = TexteOrdinateursLaisses(destinataires.ordinateursLaisses);
    if (destinataires.comptes.isEmpty()) {
        const QString texte = Traduction(u"MSG_ERREUR_AUCUN_MEMBRE");
        contexte.interaction.Message(note.isEmpty() ? texte : texte + u"\n\n"_s + note,
                                     IconeMessage::Exclamation);
        return;
    }
    Envoie(contexte, destinataires.comptes, note);
}

void EnvoieMessageCompte(const ContexteEnvoi& contexte, const Noeud* noeud) {
    // Computers and managed service accounts have no mailbox: their item is greyed.
    if (noeud->LettreType() != u'U')
        return;
    Envoie(contexte, {DestinataireDuNoeud(*noeud)});
}

} // namespace arbrix
