#pragma once

// The desktop program's life around its main window: the start-up steps the window takes, and
// the event loop, which ends with the window whatever way it was closed.

#include "shell/Demarrage.h"

namespace arbrix {

class frmPrincipal;

// Qt's own texts (standard buttons, file dialogs, a line edit's menu) in the language of that
// file (empty: French), from the toolkit's installed translations.
void InstalleTraductionQt(const QString& fichierLangue);

// The window's part in each start-up step, in the order Demarre runs them.
EtapesDemarrage EtapesDeLaFenetre(frmPrincipal& fenetre);

// Runs the event loop until the window is closed; returns the program's exit status. A window
// already closed during start-up (while its first analysis ran) ends the program at once.
int BouclePrincipale(frmPrincipal& fenetre);

} // namespace arbrix
