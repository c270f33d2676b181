#pragma once

// The dialogs the main window opens, each behind one call.

#include "tree/Interaction.h"

#include <optional>

class QWidget;

namespace arbrix {

class Noeud;
class frmPrincipal;

// The occurrence list, modal: the index of the chosen row, nullopt when cancelled.
std::optional<int> ChoisitDansListeOccurrences(frmPrincipal* principal, const ListeOccurrences& occurrences);

// The groups of which the node's group is a member; a chosen row opens that group in the tree.
void AfficheAppartenances(frmPrincipal* principal, Noeud* noeud);

// The configuration window, modal; true when accepted (the settings and memorised entries have
// then taken its values).
bool AfficheConfiguration(frmPrincipal* principal);

void AfficheAPropos(QWidget* parent);

// The find window, modeless; and its closing when the main window closes.
void AfficheRechercher(frmPrincipal* principal);
void FermeRechercher();

// The warning shown by a beta build.
void AfficheAvertissementBeta(QWidget* parent);

} // namespace arbrix
