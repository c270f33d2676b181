#pragma once

// The desktop program's life around its main window: the start-up steps the window takes, and
// the event loop, which ends with the window whatever way it was closed.

#include "shell/Demarrage.h"

namespace arbrix {

class frmPrincipal;

// The window's part in each start-up step, in the order Demarre runs them.
EtapesDemarrage EtapesDeLaFenetre(frmPrincipal& fenetre);

// Runs the event loop until the window is closed; returns the program's exit status. A window
// already closed during start-up (while its first analysis ran) ends the program at once.
int BouclePrincipale(frmPrincipal& fenetre);

} // namespace arbrix
