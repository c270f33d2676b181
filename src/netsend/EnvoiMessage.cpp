#include "netsend/EnvoiMessage.h"

#include "directory/DirectoryError.h"
#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "netsend/Courriel.h"
#include "settings/Parametres.h"
#include "text/Texte.h"

namespace arbrix {

namespace {

using namespace Qt::StringLiterals;

// Fills each "%v" in turn; unlike FormateMessage a value is never searched again, so a name
// holding "%v" stays as it is.
QString Remplit(const QString& modele, const QStringList& valeurs) {
    QString texte;
    qsizetype depuis = 0;
    for (const QString& valeur : valeurs) {
        const qsizetype position = modele.indexOf(u"%v", depuis, Qt::CaseInsensitive);
        if (position < 0)
            break;
        texte += modele.mid(depuis, position - depuis) + valeur;
        depuis = position + 2;
    }
    return texte + modele.mid(depuis);
}

// A value from the directory or a command shown on one report line.
QString SurUneLigne(QString texte) {
    for (QChar& c : texte) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return texte;
}

QString LigneRapport(const Destinataire& d, const QString& etat) {
    return Remplit(Traduction(u"TXT_ENVOI_MESSAGE"), {SurUneLigne(d.Nom()), etat});
}

QString EtatFinal(const IssueEnvoi& issue, const QString& adresse) {
    const QString etat = Traduction(issue.reussi ? u"TXT_SUCCES" : u"TXT_ECHEC");
    const QString detail = issue.reussi ? adresse : issue.motif;
    if (detail.isEmpty())
        return etat;
    return Remplit(Traduction(u"TXT_RESULTAT_DETAIL"), {etat, SurUneLigne(detail)});
}

QString Texte(const QVariant& valeur) {
    if (valeur.typeId() == QMetaType::QStringList) {
        const QStringList valeurs = valeur.toStringList();
        return valeurs.isEmpty() ? QString() : valeurs.first();
    }
    return valeur.toString();
}

class Envoi {
public:
    Envoi(const ParametresEnvoi& p, AnnuaireAdresses& annuaire, Transport& transport, SuiviEnvoi& suivi)
        : m_parametres(p)
        , m_annuaire(annuaire)
        , m_transport(transport)
        , m_suivi(suivi)
        , m_sujet(p.sujet.trimmed().isEmpty() ? SujetMessage(p.nomExpediteur) : p.sujet.trimmed()) {}

    // The outcome, and the address the message went to.
    std::pair<IssueEnvoi, QString> EnvoieA(const Destinataire& d) {
        if (!m_transport.Disponible())
            return {{false, Traduction(u"TXT_MOTIF_AUCUN_TRANSPORT")}, {}};
        const AdresseLue lue = m_annuaire.Lit(d);
        if (!lue.erreur.isEmpty())
            return {{false, lue.erreur}, {}};
        if (lue.adresse.isEmpty())
            return {{false, Traduction(u"TXT_MOTIF_AUCUNE_ADRESSE")}, {}};
        const Courriel courriel{
            m_parametres.expediteur,     lue.adresse, lue.nom, m_sujet, m_parametres.message,
            QDateTime::currentDateTime()};
        const MessageCompose message = ComposeCourriel(courriel);
        if (!message.valide())
            return {{false, Traduction(message.cleMotif)}, {}};
        return {m_transport.Envoie(lue.adresse, message.octets, [this] { m_suivi.TraiteEvenements(); }),
                lue.adresse};
    }

private:
    const ParametresEnvoi& m_parametres;
    AnnuaireAdresses& m_annuaire;
    Transport& m_transport;
    SuiviEnvoi& m_suivi;
    QString m_sujet;
};

} // namespace

AdresseLue AdressesSession::Lit(const Destinataire& destinataire) {
    AdresseLue lue;
    try {
        const auto objet = m_session.ConnexionAD().Bind(m_session.CheminObjet(destinataire.dn));
        lue.adresse = Texte(objet->Get(u"mail")).trimmed();
        lue.nom = Texte(objet->Get(u"displayName"));
    } catch (const DirectoryError& e) {
        lue.erreur = FormateMessage(Traduction(u"TXT_MOTIF_ERREUR_ANNUAIRE"), {e.number(), e.text()});
    }
    return lue;
}

QString SujetMessage(const QString& nomExpediteur) {
    return Remplit(Traduction(u"TXT_SUJET_MESSAGE"), {nomExpediteur});
}

std::unique_ptr<Transport> TransportConfigure(const Parametres& parametres) {
    if (const std::optional<QStringList> commande = CommandeMessagerie(parametres.MessagerieCommande))
        return std::make_unique<TransportCommande>(*commande);
    return std::make_unique<TransportAbsent>();
}

BilanEnvoi EnvoieMessage(const QList<Destinataire>& destinataires, const ParametresEnvoi& parametres,
                         AnnuaireAdresses& annuaire, Transport& transport, SuiviEnvoi& suivi) {
    BilanEnvoi bilan;
    bilan.total = int(destinataires.size());
    suivi.Commence(bilan.total);
    Envoi envoi(parametres, annuaire, transport, suivi);
    for (int i = 0; i < bilan.total; ++i) {
        suivi.TraiteEvenements();
        if (suivi.AnnulationDemandee()) {
            bilan.annule = true;
            break;
        }
        const Destinataire& d = destinataires.at(i);
        suivi.LigneEnCours(LigneRapport(d, Traduction(u"TXT_EN_COURS")));
        const auto [issue, adresse] = envoi.EnvoieA(d);
        if (issue.reussi)
            ++bilan.reussis;
        bilan.lignes << LigneRapport(d, EtatFinal(issue, adresse));
        suivi.LigneTerminee(bilan.lignes.last(), i + 1, bilan.total);
    }
    const QString conclusion = bilan.annule
                                   ? Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE")
                                   : FormateMessage(Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_TERMINEE_BILAN"),
                                                    {bilan.reussis, bilan.total});
    bilan.lignes << QString() << conclusion;
    suivi.Termine(conclusion);
    return bilan;
}

} // namespace arbrix
