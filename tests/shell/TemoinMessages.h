#pragma once

// An interaction that answers every message box with OK and keeps what it was shown.

#include "shell/Interaction.h"

#include <QList>
#include <QStringList>

namespace arbrix::test {

class Temoin : public Interaction {
public:
    ReponseMessage Message(const QString& texte, IconeMessage icone, BoutonsMessage, ReponseMessage,
                           const QString&) override {
        messages.append(texte);
        icones.append(icone);
        return ReponseMessage::Ok;
    }
    QStringList messages;
    QList<IconeMessage> icones;
};

} // namespace arbrix::test
