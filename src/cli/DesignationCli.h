#pragma once

// The objects named on the command line of a group command: a DN, or a name looked up as the
// analysis looks it up, or an account name.

#include "tree/Occurrence.h"

#include <QString>

#include <optional>

namespace arbrix {

class SessionAD;

// What a name designates: a type letter ("O", "G", "U", "C", "S") with its DN, and its name.
struct Designation {
    QString tag;
    QString nom;
};

struct RechercheDesignation {
    std::optional<Designation> trouve;
    ListeOccurrences candidats; // several found: the objects that answer the name
};

enum class GenreDesignation {
    Groupe, // a group: its DN or its name
    Parent, // an O.U. (its DN) or a group (its DN or its name)
    Membre, // a group or an account: a DN, an account name or a group name
};

// Raises DirectoryError when the directory fails; an absent DN is not found, not an error.
RechercheDesignation TrouveDesignation(SessionAD& session, const QString& texte, GenreDesignation genre);

} // namespace arbrix
