#pragma once

// The end of the program: the settings written back by what changed during the run, the
// memorised entries saved, the tray icon removed, and a restart when one was asked for. Every
// step runs even when an earlier one failed.

#include "settings/Ini.h"
#include "shell/Commandes.h"
#include "shell/Programme.h"

#include <QtGlobal>

#include <functional>

namespace arbrix {

class Interaction;

enum class EtatFenetre : qint16 { Normal = 0, Minimisee = 1, Maximisee = 2 };

// The main window as it closes, in twips.
struct FenetreALaFermeture {
    EtatFenetre etat = EtatFenetre::Normal;
    qint32 gauche = 0; // current position, meaningful in the normal state
    qint32 haut = 0;
    qint32 largeur = 0; // size in the normal state (kept while minimised or maximised)
    qint32 hauteur = 0;
};

// The position and size settings as written at exit: the position of a window that is not in
// the normal state is 0; a minimised window is remembered as normal.
Parametres AvecGeometrieDeSortie(Parametres parametres, const FenetreALaFermeture& fenetre);

// The program's own steps; an empty one is skipped.
struct EtapesSortie {
    std::function<void()> fermeFenetres;         // the find dialog and other windows
    std::function<void(LotIni& lot)> sauveMemos; // among the changes of the exit's one write
    std::function<void()> retireIconeTray;
    std::function<void(const Commande&)> lance = [](const Commande& c) { LanceCommande(c); };
};

// The settings and the memorised entries go to the file in one replacement; a file that could
// not be written is told once.
void Termine(const FenetreALaFermeture& fenetre, const EtapesSortie& etapes, Interaction& interaction,
             EtatProgramme& etat = Programme());

// Tells the user of a failed write of the settings file; a write that succeeded says nothing.
void SignaleEcritureParametres(const EcritureIni& ecriture, Interaction& interaction);

} // namespace arbrix
