#pragma once

// "arbrix-cli properties DN": the rows of the account's properties window, one "label TAB value"
// line each, then one "member-of label TAB group name TAB DN" line per group.

namespace arbrix {

struct ContexteCommande;

// 0 printed, 2 no account at that DN, 1 a failure of the directory.
int CommandeProprietes(ContexteCommande& c);

} // namespace arbrix
