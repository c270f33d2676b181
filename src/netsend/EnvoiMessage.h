#pragma once

// Sending one message to each recipient in turn, with a report line per recipient and a summary.
// The window and arbrix-cli follow the same loop; they differ only in how they show it.

#include "netsend/Destinataires.h"
#include "netsend/Transport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace arbrix {

class SessionAD;
struct Parametres;

// What the directory says of a recipient.
struct AdresseLue {
    QString adresse; // "mail"; empty when the account has none
    QString nom;     // "displayName"; may be empty
    QString erreur;  // translated reason when the account could not be read
};

class AnnuaireAdresses {
public:
    virtual ~AnnuaireAdresses() = default;
    virtual AdresseLue Lit(const Destinataire& destinataire) = 0;
};

// Reads "mail" and "displayName" of each account from the session's directory.
class AdressesSession : public AnnuaireAdresses {
public:
    explicit AdressesSession(SessionAD& session)
        : m_session(session) {}
    AdresseLue Lit(const Destinataire& destinataire) override;

private:
    SessionAD& m_session;
};

// What the sender chose and who sends.
struct ParametresEnvoi {
    QString message;
    QString expediteur;    // From address ("MessagerieExpéditeur"); empty: the mail system chooses
    QString nomExpediteur; // named in the default subject
    QString sujet;         // empty: the default subject (SujetMessage)
};

// How the loop is shown and stopped. Every method has a harmless default.
class SuiviEnvoi {
public:
    virtual ~SuiviEnvoi() = default;
    // Runs pending window events: before each recipient and while a command is waited for.
    virtual void TraiteEvenements() {}
    // Checked before each recipient; the message in progress is always finished.
    virtual bool AnnulationDemandee() const { return false; }
    virtual void Commence(int total) { (void)total; }
    // A new report line, "in progress".
    virtual void LigneEnCours(const QString& ligne) { (void)ligne; }
    // The same line with its outcome; numero counts from 1.
    virtual void LigneTerminee(const QString& ligne, int numero, int total) {
        (void)ligne, (void)numero, (void)total;
    }
    // An empty line then the summary or the cancel text.
    virtual void Termine(const QString& conclusion) { (void)conclusion; }
};

struct BilanEnvoi {
    int total = 0;
    int reussis = 0;
    bool annule = false;
    QStringList lignes; // the outcome lines, then an empty line and the conclusion

    // Every recipient's message was handed to the mail system.
    bool ToutEnvoye() const { return !annule && reussis == total; }
};

BilanEnvoi EnvoieMessage(const QList<Destinataire>& destinataires, const ParametresEnvoi& parametres,
                         AnnuaireAdresses& annuaire, Transport& transport, SuiviEnvoi& suivi);

// The transport the settings ask for: the configured command or sendmail; TransportAbsent when
// neither can be found.
std::unique_ptr<Transport> TransportConfigure(const Parametres& parametres);

// The subject: the catalogue's text naming the sender and the program.
QString SujetMessage(const QString& nomExpediteur);

} // namespace arbrix
