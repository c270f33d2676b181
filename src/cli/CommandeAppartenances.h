#pragma once

// arbrix-cli member-of [--effective] NAME-OR-DN: the groups an account or a group belongs to, one
// line per group and chain: the group's DN, a TAB, then the names along the chain joined by " > ".

namespace arbrix {

struct ContexteCommande;

// 0 printed, 2 the name designates nothing or several objects, 1 a failure of the directory.
int CommandeAppartenances(ContexteCommande& c);

} // namespace arbrix
