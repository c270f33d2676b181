#pragma once

// What every export takes of a branch, whatever it writes: the children it goes down into, the
// leaves it keeps, and the name it gives a node. The text, CSV and JSON exports share these, so
// that one set of options selects the same members in all three.

#include "settings/OptionsExport.h"

#include <QChar>
#include <QString>

namespace arbrix {

class Noeud;

// O.U.s and groups hold members; every other node is a leaf.
bool EstConteneur(QChar lettreType);

// Whether the export goes on into a child of a node it went into, as the extent says: the root's
// own children are always exported.
bool DescendDans(const Noeud& enfant, const OptionsExport& options);

// Whether a leaf of that type letter is exported: users, computers and service accounts by their
// own boxes, contacts, foreign principals and the rest by one box together.
bool MembreSelectionne(QChar lettreType, const OptionsExport& options);

// An account label is "display name (account)": the display name is what comes before the
// account part, found from the end so that a display name holding " (" stays whole.
QString NomAfficheDeCompte(const QString& nom, const QString& compte);

// The name alone: a container's name whole ("Sales (EMEA)" is a name, not a name and a note), an
// account's display name, another leaf's label; never the member count or expiry note.
QString NomDuNoeud(const Noeud& noeud);

} // namespace arbrix
