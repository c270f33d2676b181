#pragma once

// What a conformance suite needs of a directory holding the sample domain
// (data/sample-domain.ldif, rewritten to that directory's naming context).

#include "directory/Backend.h"
#include "directory/Gateway.h"

#include <QStringList>

#include <memory>

namespace arbrix::conformance {

// A directory holding the sample domain.
class Target {
public:
    virtual ~Target() = default;
    // A backend for a session allowed to change the directory (not yet bound).
    virtual std::shared_ptr<Backend> backend() = 0;
    virtual Credentials credentials() = 0;
    // A backend (and its credentials) for a session that may not change the given entries,
    // or nullptr when the target cannot provide one (rights tests are then skipped).
    virtual std::shared_ptr<Backend> restrictedBackend(const QStringList& readOnlyDns,
                                                       Credentials& credentials) = 0;
    // True when restrictedBackend refuses changes to the given entries only (other entries stay
    // writable); false when the restricted session may change nothing at all.
    virtual bool restrictsSingleEntries() const { return false; }
};

using TargetFactory = std::unique_ptr<Target> (*)();

} // namespace arbrix::conformance
