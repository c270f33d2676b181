#pragma once

// The context menu's message item: the message typed, then sent to the members of the selected
// O.U. or group, or to the selected account.

namespace arbrix {

class Noeud;
class frmPrincipal;

// EnvoieMessageMembres: nobody to send to under the node is said in a message box.
void EnvoieMessageMembres(frmPrincipal* principal, const Noeud* noeud);
void EnvoieMessageCompte(frmPrincipal* principal, const Noeud* noeud);

} // namespace arbrix
