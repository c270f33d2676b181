#pragma once

// The end of the program: the settings written back by what changed during the run, the
// memorised entries saved, the tray icon removed, and a restart when one was asked for. Every
// step runs even when an earlier one failed.

#include "shell/Commandes.h"
#include "shell/Programme.h"

#include <QtGlobal>

#include <functional>

namespace arbrix {

enum class ÉtatFenêtre : qint16 { Normal = 0, Minimisée = 1, Maximisée = 2 };

// The main window as it closes, in twips.
struct FenêtreÀLaFermeture {
    ÉtatFenêtre état = ÉtatFenêtre::Normal;
    qint32 gauche = 0; // current position, meaningful in the normal state
    qint32 haut = 0;
    qint32 largeur = 0; // size in the normal state (kept while minimised or maximised)
    qint32 hauteur = 0;
};

// The position and size settings as written at exit: the position of a window that is not in
// the normal state is 0; a minimised window is remembered as normal.
Paramètres AvecGéométrieDeSortie(Paramètres paramètres, const FenêtreÀLaFermeture& fenêtre);

// The program's own steps; an empty one is skipped.
struct ÉtapesSortie {
    std::function<void()> fermeFenêtres; // the find dialog and other windows
    std::function<void(const QString& cheminIni)> sauveMémos;
    std::function<void()> retireIcôneTray;
    std::function<void(const Commande&)> lance = [](const Commande& c) { LanceCommande(c); };
};

void Termine(const FenêtreÀLaFermeture& fenêtre, const ÉtapesSortie& étapes,
             ÉtatProgramme& état = Programme());

} // namespace arbrix
