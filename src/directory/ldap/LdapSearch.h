#pragma once

// Searches on the session's connection: paged, their ranged values read to the end, and batches
// of them sent ahead of their answers.

#include "directory/ldap/LdapConnection.h"

#include <memory>

namespace arbrix {

std::unique_ptr<SearchCursor> makeLdapCursor(std::shared_ptr<LdapConnection> connection,
                                             const SearchRequest& request, int rangeSize);
std::unique_ptr<SearchBatch> makeLdapBatch(std::shared_ptr<LdapConnection> connection, int maxInFlight,
                                           int rangeSize);

} // namespace arbrix
