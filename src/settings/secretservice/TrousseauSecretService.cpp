#include "settings/secretservice/TrousseauSecretService.h"

#include <qt6keychain/keychain.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>

namespace arbrix {

Q_LOGGING_CATEGORY(lcTrousseau, "arbrix.keyring", QtWarningMsg)

namespace {

const QString Service = QStringLiteral("Arbrix");
const QString SecretService = QStringLiteral("org.freedesktop.secrets");
// Long enough for the user to answer the keyring's unlock prompt.
constexpr int AttenteMs = 30'000;

// Without a session bus libdbus would try to start one (X11 autolaunch): a keyring is then out of
// reach anyway, so no bus is asked for.
bool BusDeSessionConnu() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

// Runs a job to its end; false when it failed or did not end in time.
bool Execute(QKeychain::Job& job) {
    QEventLoop boucle;
    QTimer delai;
    delai.setSingleShot(true);
    QObject::connect(&job, &QKeychain::Job::finished, &boucle, &QEventLoop::quit);
    QObject::connect(&delai, &QTimer::timeout, &boucle, &QEventLoop::quit);
    job.setAutoDelete(false);
    delai.start(AttenteMs);
    job.start();
    boucle.exec(QEventLoop::ExcludeUserInputEvents);
    if (delai.isActive() && job.error() == QKeychain::NoError)
        return true;
    // Never the password: only the entry and the keyring's reason.
    qCInfo(lcTrousseau) << "keyring" << job.key()
                        << (delai.isActive() ? job.errorString() : QStringLiteral("timed out"));
    return false;
}

} // namespace

bool TrousseauSecretService::disponible() {
    if (!m_disponible) {
        bool present = false;
        if (BusDeSessionConnu()) {
            const QDBusConnection bus = QDBusConnection::sessionBus();
            const QDBusConnectionInterface* interface = bus.isConnected() ? bus.interface() : nullptr;
            present = interface && (interface->isServiceRegistered(SecretService).value() ||
                                    interface->activatableServiceNames().value().contains(SecretService));
        }
        m_disponible = present;
    }
    return *m_disponible;
}

std::optional<QString> TrousseauSecretService::lit(const QString& entree) {
    if (!disponible())
        return std::nullopt;
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(entree);
    if (!Execute(job))
        return std::nullopt;
    return job.textData();
}

bool TrousseauSecretService::ecrit(const QString& entree, const QString& motDePasse) {
    if (!disponible())
        return false;
    QKeychain::WritePasswordJob job(Service);
    job.setKey(entree);
    job.setTextData(motDePasse);
    return Execute(job);
}

void TrousseauSecretService::efface(const QString& entree) {
    if (!disponible())
        return;
    QKeychain::DeletePasswordJob job(Service);
    job.setKey(entree);
    Execute(job);
}

} // namespace arbrix
