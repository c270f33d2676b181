// The group operations against the test domain controller.

#include "DcTarget.h"

#include "groupops/conformance/AjoutsConformance.h"

namespace arbrix::conformance {
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(OperationsConformance);
INSTANTIATE_TEST_SUITE_P(DomainController, OperationsConformance,
                         ::testing::ValuesIn(domainControllerTargets()));
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(AjoutsConformance);
INSTANTIATE_TEST_SUITE_P(DomainController, AjoutsConformance, ::testing::ValuesIn(domainControllerTargets()));
} // namespace arbrix::conformance
