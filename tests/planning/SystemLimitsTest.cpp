#include "planning/SystemLimits.h"

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::ProfileLimits;

TEST(ProfileLimits, MaxBlankingIsMaxRangeLessMinCellSizeInFloat) {
    const auto standard = ProfileLimits(0, 0);
    EXPECT_EQ(standard.maxBlanking, 10.0f - 0.15f);
    EXPECT_FLOAT_EQ(standard.maxBlanking, 9.85f);
    EXPECT_EQ(standard.minBlanking, 0.2f);
    EXPECT_EQ(standard.maxRange, 10.0f);
    EXPECT_EQ(standard.minCellSize, 0.15f);
    EXPECT_EQ(standard.maxCellSize, 2.0f);

    const auto coherent = ProfileLimits(0, 1);
    EXPECT_EQ(coherent.maxBlanking, 5.0f - 0.01f);
    EXPECT_FLOAT_EQ(coherent.maxBlanking, 4.99f);
    EXPECT_EQ(coherent.minBlanking, 0.02f);
    EXPECT_EQ(coherent.maxRange, 5.0f);
    EXPECT_EQ(coherent.minCellSize, 0.01f);
}

// Stored values are the nearest floats: 0.15f is a little above 0.15, so a cell of 0.15 m read
// as a double would fail a ">=" against it.
TEST(ProfileLimits, HoldsSinglePrecisionValues) {
    const auto limits = ProfileLimits(0, 0);
    EXPECT_NE(static_cast<double>(limits.minCellSize), 0.15);
    EXPECT_EQ(static_cast<double>(limits.minCellSize), static_cast<double>(0.15f));
    EXPECT_EQ(static_cast<double>(ProfileLimits(5, 1).minBlanking), static_cast<double>(0.07f));
}

TEST(ProfileLimits, AnyNonZeroModeSelectsThePulseCoherentColumns) {
    for (int frequency = 0; frequency < planning::kFrequencyCount; ++frequency) {
        const auto& row = planning::kSystemLimits[static_cast<std::size_t>(frequency)];
        EXPECT_NE(row.maxRange, row.pcMaxRange) << frequency;
        EXPECT_EQ(ProfileLimits(frequency, 2).maxRange, row.pcMaxRange);
        EXPECT_EQ(ProfileLimits(frequency, 255).maxCellSize, row.pcMaxCellSize);
        EXPECT_EQ(ProfileLimits(frequency, 0).maxRange, row.maxRange);
    }
    EXPECT_EQ(ProfileLimits(5, 0).maxRange, 45.0f);
    EXPECT_EQ(ProfileLimits(5, 1).maxRange, 14.0f);
}

TEST(ProfileLimits, RowsThreeAndFourDifferOnlyWhereTheTableSays) {
    EXPECT_EQ(ProfileLimits(3, 0).minCellSize, ProfileLimits(4, 0).minCellSize);
    EXPECT_EQ(ProfileLimits(3, 0).maxRange, 130.0f);
    EXPECT_EQ(ProfileLimits(4, 0).maxRange, 200.0f);
    EXPECT_EQ(ProfileLimits(3, 0).minBlanking, 1.0f);
    EXPECT_EQ(ProfileLimits(4, 0).minBlanking, 1.5f);
}

TEST(SystemLimits, IndexOutsideTheTableIsClamped) {
    EXPECT_EQ(&planning::SystemLimitsFor(-1), &planning::kSystemLimits[0]);
    EXPECT_EQ(&planning::SystemLimitsFor(8), &planning::kSystemLimits[7]);
    EXPECT_EQ(&planning::SystemLimitsFor(1000), &planning::kSystemLimits[7]);
    EXPECT_EQ(ProfileLimits(99, 1).maxRange, 60.0f);
}

TEST(PowerTables, PingBatteryAndWaves) {
    EXPECT_EQ(planning::PingPower(1), 2.5f);
    for (int index : {0, 2, 3, 4, 5, 6, 7, 8, -1}) {
        EXPECT_EQ(planning::PingPower(index), 3.0f) << index;
    }
    EXPECT_EQ(planning::kWaveSamplingPower, 1.5f);
    EXPECT_FLOAT_EQ(planning::BatteryRatingFor(0).ratingA * planning::BatteryRatingFor(0).ratingB,
                    756.0f);
    EXPECT_EQ(planning::BatteryRatingFor(1).listText, "      Lithium");
    EXPECT_EQ(&planning::BatteryRatingFor(5), &planning::kBatteryRatings[1]);
    EXPECT_EQ(&planning::BatteryRatingFor(-2), &planning::kBatteryRatings[0]);
}

TEST(WaveTables, RatesAndTypeWords) {
    EXPECT_EQ(planning::WaveSampleRate(0), 1);
    EXPECT_EQ(planning::WaveSampleRate(1), 2);
    EXPECT_EQ(planning::WaveSampleRate(2), 4);
    EXPECT_EQ(planning::WaveSampleRate(3), 1);
    EXPECT_EQ(planning::WaveSampleRate(-1), 1);
    EXPECT_EQ(planning::WaveTypeCommandWord(1), "P_SERIES");
    EXPECT_EQ(planning::WaveTypeCommandWord(2), "PUV_SERIES");
    EXPECT_FALSE(planning::WaveTypeCommandWord(0).has_value());
    EXPECT_FALSE(planning::WaveTypeCommandWord(3).has_value());
    EXPECT_FALSE(planning::WaveTypeCommandWord(4).has_value());
}

} // namespace
} // namespace qpx::test
