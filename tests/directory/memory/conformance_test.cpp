// The conformance suite against the embedded directory loaded from the sample domain.

#include "directory/conformance/Conformance.h"
#include "directory/conformance/MemoryTarget.h"

namespace arbrix::conformance {
INSTANTIATE_TEST_SUITE_P(Memory, DirectoryConformance, ::testing::Values(&makeMemoryTarget));
}
