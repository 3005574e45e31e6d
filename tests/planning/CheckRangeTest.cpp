#include "planning/CheckRange.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using qpx::planning::CheckRange;
using qpx::planning::kPlannerTolerance;

struct RangeCase {
    const char* name;
    float value;
    bool metric;
    bool accepted;
    float after;
};

class CheckRangeCases : public ::testing::TestWithParam<RangeCase> {};

// 1500 kHz cell-size limits: 0.25 to 4 m.
TEST_P(CheckRangeCases, SnapsOnlyInEnglishUnits) {
    const RangeCase& c = GetParam();
    float value = c.value;
    EXPECT_EQ(CheckRange(value, 0.25f, 4.0f, kPlannerTolerance, c.metric), c.accepted);
    EXPECT_EQ(value, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CheckRangeCases,
    ::testing::Values(RangeCase{"english_just_below_min", 0.24995f, false, true, 0.25f},
                      RangeCase{"metric_just_below_min", 0.24995f, true, false, 0.24995f},
                      RangeCase{"metric_below_min_by_0_00001", 0.24999f, true, false, 0.24999f},
                      RangeCase{"english_below_tolerance", 0.2498f, false, false, 0.2498f},
                      RangeCase{"english_just_above_max", 4.00005f, false, true, 4.0f},
                      RangeCase{"metric_just_above_max", 4.00005f, true, false, 4.00005f},
                      RangeCase{"on_min", 0.25f, true, true, 0.25f},
                      RangeCase{"on_max_english", 4.0f, false, true, 4.0f},
                      RangeCase{"inside_untouched", 0.25003f, false, true, 0.25003f},
                      RangeCase{"far_outside", 10.0f, false, false, 10.0f}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CheckRange, RejectsNaN) {
    float value = std::nanf("");
    EXPECT_FALSE(CheckRange(value, 0.0f, 1.0f, 0.5f, false));
}

} // namespace
