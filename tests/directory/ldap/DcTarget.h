#pragma once

// The test domain controller as a conformance target, through the LDAP backend.

#include "TestDc.h"

#include "directory/conformance/Target.h"

#include <vector>

namespace arbrix::conformance {

class DomainControllerTarget : public Target {
public:
    std::shared_ptr<Backend> backend() override { return std::make_shared<LdapBackend>(options()); }
    Credentials credentials() override { return testdc::AdminCredentials(); }
    // An ordinary domain user may change none of the sample's entries.
    std::shared_ptr<Backend> restrictedBackend(const QStringList&, Credentials& credentials) override {
        credentials = testdc::UserCredentials();
        return std::make_shared<LdapBackend>(options());
    }

private:
    static LdapOptions options() {
        LdapOptions o;
        o.uris = testdc::Dc().uri();
        return o;
    }
};

inline std::unique_ptr<Target> makeDomainControllerTarget() {
    return std::make_unique<DomainControllerTarget>();
}

// Without a controller a suite has no instance; the other tests of this program report why.
inline std::vector<TargetFactory> domainControllerTargets() {
    if (!testdc::Dc().available())
        return {};
    return {&makeDomainControllerTarget};
}

} // namespace arbrix::conformance
