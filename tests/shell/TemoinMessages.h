#pragma once

// An interaction that keeps what it was shown and answers as told: OK to a message, the chosen
// answer to a question, the chosen occurrence of a list.

#include "tree/Interaction.h"

#include <QList>
#include <QStringList>

namespace arbrix::test {

class Temoin : public Interaction {
public:
    ReponseMessage Message(const QString& texte, IconeMessage icone, BoutonsMessage boutons, ReponseMessage,
                           const QString&) override {
        messages.append(texte);
        icones.append(icone);
        return boutons == BoutonsMessage::Ok ? ReponseMessage::Ok : reponse;
    }
    std::optional<int> ChoisitOccurrence(const ListeOccurrences&) override { return choix; }

    QStringList messages;
    QList<IconeMessage> icones;
    ReponseMessage reponse = ReponseMessage::Oui;
    std::optional<int> choix;
};

} // namespace arbrix::test
