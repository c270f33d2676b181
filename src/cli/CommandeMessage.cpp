#include "cli/CommandeMessage.h"

#include "cli/InteractionTerminal.h"
#include "cli/TextesCli.h"
#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "netsend/Courriel.h"
#include "netsend/EnvoiMessage.h"
#include "settings/Parametres.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"

#include <QFile>

#include <cstdio>

namespace arbrix {

namespace {

using namespace Qt::StringLiterals;

constexpr int SortieEchec = 1;

std::optional<QString> LitMessage(const std::optional<QString>& fichier) {
    QFile f;
    if (fichier)
        f.setFileName(*fichier);
    const bool ouvert = fichier ? f.open(QIODevice::ReadOnly) : f.open(stdin, QIODevice::ReadOnly);
    if (!ouvert)
        return std::nullopt;
    return QString::fromUtf8(f.readAll());
}

std::optional<Destinataire> CompteDe(const QVariant& compte, const QVariant& dn, const QVariant& classes) {
    const QChar type = LettreTypeCompte(CleCategorieCompte(classes));
    if (type != u'U' && type != u'C')
        return std::nullopt;
    return Destinataire{compte.toString(), dn.toString(), type};
}

// The user or computer account named by its DN or by its account name (a computer's with or
// without its "$"); nullopt when the name is not exactly one account.
std::optional<Destinataire> CompteNomme(SessionAD& session, const QString& nomOuDn) {
    const QString valeur = EchappeValeurFiltre(nomOuDn);
    const QString filtre = u"(&(objectClass=user)(|(sAMAccountName="_s + valeur + u")(sAMAccountName="_s +
                           valeur + u"$)(distinguishedName="_s + valeur + u")))"_s;
    std::optional<Destinataire> trouve;
    try {
        Recordset rs = session.ConnexionAD().Execute(
            searchRequest(session.ContexteNommage(), SearchScope::Subtree, filtre,
                          {u"sAMAccountName"_s, u"distinguishedName"_s, u"objectClass"_s}));
        for (; !rs.Eof(); rs.MoveNext()) {
            if (trouve)
                return std::nullopt;
            trouve = CompteDe(rs.Fields(u"sAMAccountName"), rs.Fields(u"distinguishedName"),
                              rs.Fields(u"objectClass"));
            if (!trouve)
                return std::nullopt;
        }
    } catch (const DirectoryError&) {
        return std::nullopt; // the analysis that follows reports the directory's trouble
    }
    return trouve;
}

} // namespace

int EnvoieMessageCli(const ContexteMessageCli& c, QTextStream& sortie, QTextStream& erreurs) {
    const std::optional<QString> message = LitMessage(c.fichierMessage);
    if (!message) {
        erreurs << TexteTerminal(
            TexteCli(CleTexteCli::MessageIllisible, {c.fichierMessage.value_or(u"-"_s)}));
        return SortieEchec;
    }
    if (message->trimmed().isEmpty()) {
        erreurs << TexteTerminal(TexteCli(CleTexteCli::MessageVide));
        return SortieEchec;
    }
    if (!TexteSurPourEnTete(c.sujet)) {
        erreurs << TexteTerminal(TexteCli(CleTexteCli::SujetInvalide));
        return SortieEchec;
    }
    const std::shared_ptr<SessionAD> session = c.ouvreSession();
    if (!session)
        return SortieEchec;

    DestinatairesMembres membres;
    Arbre arbre;
    if (const std::optional<Destinataire> compte = CompteNomme(*session, c.nomOuDn)) {
        if (compte->type == u'C')
            ++membres.ordinateursLaisses;
        else
            membres.comptes << *compte;
    } else {
        const Noeud* racine = c.analyse(*session, arbre);
        if (!racine)
            return SortieEchec;
        membres = DestinatairesSous(*racine);
    }
    if (membres.ordinateursLaisses > 0)
        erreurs << TexteTerminal(TexteOrdinateursLaisses(membres.ordinateursLaisses));
    const QList<Destinataire>& destinataires = membres.comptes;
    if (destinataires.isEmpty()) {
        erreurs << TexteTerminal(Traduction(u"MSG_ERREUR_AUCUN_MEMBRE"));
        return SortieEchec;
    }

    AdressesSession annuaire(*session);
    const std::unique_ptr<Transport> transport = TransportConfigure(c.parametres);
    SuiviEnvoi suivi; // nothing to show before the end, and nothing to cancel
    const BilanEnvoi bilan = EnvoieMessage(
        destinataires, {*message, c.parametres.MessagerieExpediteur, session->UtilisateurAffiche(), c.sujet},
        annuaire, *transport, suivi);
    for (const QString& ligne : bilan.lignes)
        sortie << ligne << u'\n';
    return bilan.ToutEnvoye() ? 0 : SortieEchec;
}

} // namespace arbrix
