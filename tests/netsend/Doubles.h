#pragma once

// A scripted directory of addresses and a scripted mail transport for the message tests.

#include "netsend/EnvoiMessage.h"

#include <QHash>

#include <functional>

namespace arbrix::test {

// Accounts u1 to u<nombre>.
inline QList<Destinataire> Comptes(int nombre) {
    QList<Destinataire> liste;
    for (int i = 1; i <= nombre; ++i)
        liste << Destinataire{QStringLiteral("u%1").arg(i), QStringLiteral("CN=u%1,DC=x").arg(i), u'U'};
    return liste;
}

// An account it was not given has no address.
class AnnuaireScripte : public AnnuaireAdresses {
public:
    AdresseLue Lit(const Destinataire& d) override {
        ++lectures;
        return adresses.value(d.compte, {});
    }
    QHash<QString, AdresseLue> adresses;
    int lectures = 0;
};

// Answers from a list, one per message, success past its end; runs pendant(n) while the n-th
// message is on its way.
class TransportScripte : public Transport {
public:
    IssueEnvoi Envoie(const QString& adresse, const QByteArray& octets,
                      const std::function<void()>& patiente) override {
        adresses << adresse;
        messages << octets;
        patiente();
        if (pendant)
            pendant(int(adresses.size()));
        return reponses.value(adresses.size() - 1, {true, {}});
    }
    QStringList adresses;
    QList<QByteArray> messages;
    QList<IssueEnvoi> reponses;
    std::function<void(int)> pendant;
};

} // namespace arbrix::test
