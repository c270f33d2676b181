#pragma once

// The member-of list of a group, shown in the occurrence list window.

#include "tree/Occurrence.h"

#include <optional>

class QWidget;

namespace arbrix {

class Interaction;
class SessionAD;

// Reads the groups of which the group dn is a member and shows them modally, titled with the
// group's name. The group chosen with OK, to be opened in the tree; nullopt when the window was
// closed, or when reading failed (the error was then reported through interaction).
std::optional<clsOccurrence> ChoisitAppartenance(QWidget* parent, SessionAD& session, const QString& dn,
                                                 Interaction& interaction);

} // namespace arbrix
