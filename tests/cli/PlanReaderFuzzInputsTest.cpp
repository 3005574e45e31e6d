#include "fuzz/support/KeptInputs.h"

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

// The plan reader's committed fuzz inputs, replayed through the harness itself: plans written by
// the planner must read back and reopen as they were written.
TEST(PlanReaderFuzzInputs, EveryKeptInputHoldsItsInvariants) {
    EXPECT_GT(fuzz::ReplayKeptInputs(QPX_FUZZ_FOLDER, "PlanReaderFuzz"), 0);
}

} // namespace
} // namespace qpx::test
