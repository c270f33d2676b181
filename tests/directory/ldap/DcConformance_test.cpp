// The conformance suite against the test domain controller, through the LDAP backend.

#include "TestDc.h"

#include "directory/conformance/Conformance.h"

#include <vector>

namespace {

using namespace arbrix;
using namespace arbrix::testdc;

class DomainControllerTarget : public conformance::Target {
public:
    std::shared_ptr<Backend> backend() override { return std::make_shared<LdapBackend>(options()); }
    Credentials credentials() override { return AdminCredentials(); }
    // An ordinary domain user may change none of the sample's entries.
    std::shared_ptr<Backend> restrictedBackend(const QStringList&, Credentials& credentials) override {
        credentials = UserCredentials();
        return std::make_shared<LdapBackend>(options());
    }
    bool hasGroupWithoutScope() const override { return false; }

private:
    static LdapOptions options() {
        LdapOptions o;
        o.uris = Dc().uri();
        return o;
    }
};

std::unique_ptr<conformance::Target> makeDomainControllerTarget() {
    return std::make_unique<DomainControllerTarget>();
}

// Without a controller the suite has no instance; the other tests of this program report why.
std::vector<conformance::TargetFactory> targets() {
    if (!Dc().available())
        return {};
    return {&makeDomainControllerTarget};
}

} // namespace

namespace arbrix::conformance {
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DirectoryConformance);
INSTANTIATE_TEST_SUITE_P(DomainController, DirectoryConformance, ::testing::ValuesIn(targets()));
} // namespace arbrix::conformance
