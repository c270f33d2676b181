#pragma once

// How a composed message reaches the mail system. The sending loop sees only this interface, so
// that it can be tested with a scripted transport.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace arbrix {

struct IssueEnvoi {
    bool reussi = false;
    QString motif; // translated; empty on success
};

class Transport {
public:
    virtual ~Transport() = default;
    // False when there is no mail command to hand messages to.
    virtual bool Disponible() const { return true; }
    // Hands one message for one address to the mail system. patiente is called often while
    // waiting, so that the caller's window stays responsive.
    virtual IssueEnvoi Envoie(const QString& adresse, const QByteArray& message,
                              const std::function<void()>& patiente) = 0;
};

// No mail command on this machine: every message fails with the same reason.
class TransportAbsent : public Transport {
public:
    bool Disponible() const override { return false; }
    IssueEnvoi Envoie(const QString& adresse, const QByteArray& message,
                      const std::function<void()>& patiente) override;
};

// A sendmail-compatible command: run without a shell, the address as its last argument, the
// message on its standard input. A non-zero exit, a crash or no answer within the delay is a
// failure whose reason is the first line the command wrote on its error output.
class TransportCommande : public Transport {
public:
    static constexpr int DelaiParDefautMs = 30000;

    // commande: the program (a path) then its fixed arguments.
    explicit TransportCommande(QStringList commande, int delaiMs = DelaiParDefautMs);

    IssueEnvoi Envoie(const QString& adresse, const QByteArray& message,
                      const std::function<void()>& patiente) override;

private:
    QStringList m_commande;
    int m_delaiMs;
};

} // namespace arbrix
