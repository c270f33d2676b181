#pragma once

// arbrix-cli send-message [--message-file FILE] NAME-OR-DN: the message (from the file, else from
// standard input) sent by e-mail to the account named, or to every account found under the O.U.
// or group named. The report lines and the summary go to sortie.

#include <QString>
#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

namespace arbrix {

class Arbre;
class Noeud;
class SessionAD;
struct Parametres;

struct ContexteMessageCli {
    const Parametres& parametres;
    QString nomOuDn;
    std::optional<QString> fichierMessage;
    QString sujet; // empty: the default subject
    // Opens the directory session, having explained a failure; nullptr then.
    std::function<std::shared_ptr<SessionAD>()> ouvreSession;
    // Analyses nomOuDn into the tree as the tree command does; its root, or nullptr when no
    // tree was built (the reason already written).
    std::function<Noeud*(SessionAD&, Arbre&)> analyse;
};

// 0 when every recipient's message was handed to the mail system, 1 otherwise.
int EnvoieMessageCli(const ContexteMessageCli& contexte, QTextStream& sortie, QTextStream& erreurs);

} // namespace arbrix
