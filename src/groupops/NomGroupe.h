#pragma once

// The rules a group name follows before it reaches the directory, and the values a new group is
// written with.

#include <QString>

#include <optional>

namespace arbrix {

// The name as it is checked and stored: without leading and trailing blanks.
QString NomGroupeNettoye(const QString& saisie);
// The translation key of the message refusing a name (already cleaned), or nullopt when it is
// accepted: empty, or holding one of / \ [ ] : ; | = , + * ? < > and the double quote (which the
// account name may not hold).
std::optional<QString> RefusNomGroupe(const QString& nom);
// The relative name of a group: "CN=" and the name escaped for a DN, so that every character
// (a leading "#" or blank included) is stored as typed and never read as a hexadecimal value.
QString RdnGroupe(const QString& nom);
// The "groupType" of a type (0 security, 1 distribution) and a scope (0 domain local, 1 global,
// anything else universal).
qint32 ValeurGroupType(int type, int etendue);

} // namespace arbrix
