#pragma once

// The context menu's message item: the message typed, then sent to the members of the selected
// O.U. or group, or to the selected account.

class QWidget;

namespace arbrix {

class Interaction;
class Noeud;
class SessionAD;
struct Parametres;

// What sending needs of the window it is asked from: the parent of its windows, where messages
// go, the session (none before the directory is open) and the settings of the mail command.
struct ContexteEnvoi {
    QWidget* fenetre;
    Interaction& interaction;
    SessionAD* session;
    const Parametres& parametres;
};

// EnvoieMessageMembres: nobody to send to under the node is said in a message box.
void EnvoieMessageMembres(const ContexteEnvoi& contexte, const Noeud* noeud);
void EnvoieMessageCompte(const ContexteEnvoi& contexte, const Noeud* noeud);

} // namespace arbrix
