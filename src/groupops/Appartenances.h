#pragma once

// A read-only view of the directory around the selected node: its description and manager
// (shown under the tree at each click); and a group as the lists of groups show it.

#include "tree/Occurrence.h"

#include <QString>

#include <optional>

namespace arbrix {

class DirectoryObject;
class SessionAD;

// The manager of an O.U. or a group.
struct Gestionnaire {
    QString nom;    // display name; the account name when the object has none
    QString compte; // sAMAccountName; empty for an object without one (a contact)
    QString dn;

    // "name (account)" then TAB and the distinguished name: the part before " (" is the name,
    // and the account and distinguished name can be read back (Gestionnaire::Depuis).
    QString Texte() const;
    // What the label under the tree shows: the text before the TAB.
    QString TexteAffiche() const;
    // Reads a manager text back; nullopt for an empty text.
    static std::optional<Gestionnaire> Depuis(const QString& texte);
};

struct DescriptionEtGestionnaire {
    QString description;
    QString gestionnaire; // Gestionnaire::Texte(); empty when the object has no manager
};

// Reads the description of the object behind a node tag (type letter + DN) and, for an O.U. or
// a group, its manager. Any directory error is swallowed: what was read so far is returned.
// Other type letters read nothing.
DescriptionEtGestionnaire LitDescriptionEtGestionnaire(SessionAD& session, const QString& tag);

// A group as the lists of groups show it: name, description, translated type and DN.
clsOccurrence OccurrenceDuGroupe(const DirectoryObject& groupe);

} // namespace arbrix
