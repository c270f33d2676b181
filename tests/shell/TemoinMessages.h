#pragma once

// An interaction that answers every message box with OK and keeps what it was shown.

#include "shell/Interaction.h"

#include <QList>
#include <QStringList>

namespace arbrix::test {

class Témoin : public Interaction {
public:
    RéponseMessage Message(const QString& texte, IcôneMessage icône, BoutonsMessage, RéponseMessage,
                           const QString&) override {
        messages.append(texte);
        icônes.append(icône);
        return RéponseMessage::Ok;
    }
    QStringList messages;
    QList<IcôneMessage> icônes;
};

} // namespace arbrix::test
