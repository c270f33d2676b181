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
    // False where the group without a scope bit could not be loaded (domain controllers refuse it).
    virtual bool hasGroupWithoutScope() const { return true; }
};

using TargetFactory = std::unique_ptr<Target> (*)();

// Removes a test's group however the test ends.
class GroupCleanup {
public:
    GroupCleanup(DirectoryConnection& connection, QString dn)
        : m_connection(connection)
        , m_dn(std::move(dn)) {}
    ~GroupCleanup() {
        try {
            m_connection.backend().remove(m_dn);
        } catch (...) {
        }
    }
    void moved(const QString& dn) { m_dn = dn; }

private:
    DirectoryConnection& m_connection;
    QString m_dn;
};

} // namespace arbrix::conformance
