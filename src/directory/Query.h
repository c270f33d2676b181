#pragma once

// Filter pieces for the searches the program hands the gateway as SearchRequest: whatever a
// caller inserts into a filter (a DN, a name, the user's text) goes through these helpers, so
// that "*", "(" and ")" stay part of the value.

#include <QString>

namespace arbrix {

// Escapes a value for an LDAP filter: "*", "(", ")", "\" and NUL become "\2a", "\28", "\29",
// "\5c", "\00".
QString EchappeValeurFiltre(QStringView valeur);
// "(attribute=value)" with the value escaped: an exact match.
QString FiltreEgalite(QStringView attribut, QStringView valeur);
// The same, keeping "*" as the wildcard: for the user's text in prefix searches.
QString EchappeValeurFiltreGenerique(QStringView valeur);

// True for attributes whose values are DNs (distinguishedName, member, memberOf, managedBy, ...):
// no wildcard applies to them.
bool EstAttributDn(QStringView attribut);

} // namespace arbrix
