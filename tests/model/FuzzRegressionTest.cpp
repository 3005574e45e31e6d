#include "fuzz/support/KeptInputs.h"

#include <string_view>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

// Every committed fuzz input of the structure decoder harness, replayed through the harness itself:
// the seeds must keep passing, and every input that once found a fault must stay mended.
class ModelFuzzInputs : public testing::TestWithParam<std::string_view> {};

TEST_P(ModelFuzzInputs, EveryKeptInputHoldsItsInvariants) {
    EXPECT_GT(fuzz::ReplayKeptInputs(QPX_FUZZ_FOLDER, GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(Harnesses, ModelFuzzInputs, testing::Values("StructureDecodersFuzz"));

} // namespace
} // namespace qpx::test
