#include "fuzz/support/KeptInputs.h"

#include <string_view>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

// Every committed fuzz input of the dialog model and setting harnesses, replayed through the
// harness itself: the seeds must keep passing, and every input that once found a fault must stay
// mended.
class PlanningFuzzInputs : public testing::TestWithParam<std::string_view> {};

TEST_P(PlanningFuzzInputs, EveryKeptInputHoldsItsInvariants) {
    EXPECT_GT(fuzz::ReplayKeptInputs(QPX_FUZZ_FOLDER, GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(Harnesses, PlanningFuzzInputs,
                         testing::Values("ModelEventsFuzz", "SettingParserFuzz"));

} // namespace
} // namespace qpx::test
