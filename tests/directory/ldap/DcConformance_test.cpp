// The conformance suite against the test domain controller, through the LDAP backend.

#include "DcTarget.h"

#include "directory/conformance/Conformance.h"

namespace arbrix::conformance {
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DirectoryConformance);
INSTANTIATE_TEST_SUITE_P(DomainController, DirectoryConformance,
                         ::testing::ValuesIn(domainControllerTargets()));
} // namespace arbrix::conformance
