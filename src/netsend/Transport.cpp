#include "netsend/Transport.h"

#include "i18n/Traductions.h"
#include "text/Systeme.h"
#include "text/Texte.h"

#include <QElapsedTimer>
#include <QProcess>

namespace arbrix {

namespace {

using namespace Qt::StringLiterals;

constexpr int PasAttenteMs = 20;

QString PremiereLigne(const QByteArray& sortie) {
    for (const QByteArray& ligne : sortie.split('\n')) {
        const QString texte = QString::fromUtf8(ligne).trimmed();
        if (!texte.isEmpty())
            return texte;
    }
    return {};
}

IssueEnvoi Echec(const QString& motif) {
    return {false, motif};
}

} // namespace

IssueEnvoi TransportAbsent::Envoie(const QString&, const QByteArray&, const std::function<void()>&) {
    return Echec(Traduction(u"TXT_MOTIF_AUCUN_TRANSPORT"));
}

TransportCommande::TransportCommande(QStringList commande, int delaiMs)
    : m_commande(std::move(commande))
    , m_delaiMs(delaiMs) {}

IssueEnvoi TransportCommande::Envoie(const QString& adresse, const QByteArray& message,
                                     const std::function<void()>& patiente) {
    QProcess processus;
    processus.setProgram(m_commande.first());
    processus.setArguments(m_commande.mid(1) << adresse);
    processus.setProcessEnvironment(EnvironnementEnfant());
    processus.start();
    if (!processus.waitForStarted())
        return Echec(FormateMessage(Traduction(u"TXT_MOTIF_LANCEMENT_IMPOSSIBLE"), {m_commande.first()}));
    processus.write(message);
    processus.closeWriteChannel();

    QElapsedTimer chrono;
    chrono.start();
    bool delaiDepasse = false;
    while (processus.state() != QProcess::NotRunning && !processus.waitForFinished(PasAttenteMs)) {
        if (patiente)
            patiente();
        if (chrono.elapsed() >= m_delaiMs) {
            delaiDepasse = true;
            processus.kill();
            processus.waitForFinished();
            break;
        }
    }
    const QString erreur = PremiereLigne(processus.readAllStandardError());
    if (!delaiDepasse && processus.exitStatus() == QProcess::NormalExit && processus.exitCode() == 0)
        return {true, {}};
    if (!erreur.isEmpty())
        return Echec(erreur);
    if (delaiDepasse)
        return Echec(FormateMessage(Traduction(u"TXT_MOTIF_DELAI_DEPASSE"), {m_delaiMs / 1000}));
    return Echec(FormateMessage(Traduction(u"TXT_MOTIF_CODE_RETOUR"), {processus.exitCode()}));
}

} // namespace arbrix
