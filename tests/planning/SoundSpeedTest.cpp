#include "planning/SoundSpeed.h"

#include <ostream>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

struct SoundSpeedCase {
    float salinity;
    float temperature;
    float depth;
    double expected;
};

void PrintTo(const SoundSpeedCase& c, std::ostream* os) {
    *os << "S " << c.salinity << " T " << c.temperature << " z " << c.depth;
}

class SoundSpeedValues : public ::testing::TestWithParam<SoundSpeedCase> {};

TEST_P(SoundSpeedValues, FollowsTheFormula) {
    const auto& c = GetParam();
    EXPECT_NEAR(planning::SoundSpeed(c.salinity, c.temperature, c.depth), c.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Water, SoundSpeedValues,
                         ::testing::Values(SoundSpeedCase{34.5f, 20.0f, 0.0f, 1520.95},
                                           SoundSpeedCase{35.0f, 0.0f, 0.0f, 1449.2},
                                           SoundSpeedCase{35.0f, 0.0f, 100.0f, 1450.8},
                                           SoundSpeedCase{0.0f, 10.0f, 0.0f, 1446.59}));

// The default UserSetup stores ten times this, truncated.
TEST(SoundSpeed, DefaultWaterGivesTheStoredDefault) {
    EXPECT_EQ(static_cast<int>(planning::SoundSpeed(34.5f, 20.0f, 0.0f) * 10.0), 15209);
}

} // namespace
} // namespace qpx::test
