#include "planning/AdvancedSettings.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::AdvancedBlock;
using planning::AdvancedSettings;

constexpr int kMetric = 1;
constexpr int kEnglish = 0;

// The planning-mode defaults: 20.0 degC, 34.5 ppt, measured temperature, no bursts.
AdvancedBlock Defaults() {
    return AdvancedBlock{1, 20.0f, 34.5f, 0, 0.0f, 1};
}

// Bit-exact float comparison: the point is that nothing was converted on the way.
bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(AdvancedSettings, OpensWithTheUnitsLabelsAndSoundSpeed) {
    const AdvancedSettings metric(kMetric, Defaults());
    EXPECT_EQ(metric.temperatureLabel(), "Def Water Temp (deg C):");
    EXPECT_EQ(metric.soundSpeedLabel(), "Def Speed of Sound (m/s):");
    EXPECT_EQ(metric.temperatureText(), "20");
    EXPECT_EQ(metric.salinityText(), "34.5");
    EXPECT_EQ(metric.soundSpeedText(), "   1520.95");
    EXPECT_EQ(metric.burstIntervalText(), "0");
    EXPECT_EQ(metric.profilesPerBurstText(), "1");

    // 20 degC is 68 degF; 1520.95 m/s x 3.28084.
    const AdvancedSettings english(kEnglish, Defaults());
    EXPECT_EQ(english.temperatureLabel(), "Def Water Temp (deg F):");
    EXPECT_EQ(english.soundSpeedLabel(), "Def Speed of Sound (ft/s):");
    EXPECT_EQ(english.temperatureText(), "68");
    EXPECT_EQ(english.soundSpeedText(), "   4989.99");
    // Fahrenheit rounded to hundredths: 20.3 degC is 68.54 degF, 12.345 degC 54.221 degF.
    EXPECT_EQ(AdvancedSettings(kEnglish, {0, 20.3f, 34.5f, 0, 0.0f, 1}).temperatureText(), "68.54");
    EXPECT_EQ(AdvancedSettings(kEnglish, {0, 12.345f, 34.5f, 0, 0.0f, 1}).temperatureText(),
              "54.22");
}

TEST(AdvancedSettings, EnablingRules) {
    AdvancedSettings settings(kMetric, Defaults());
    EXPECT_TRUE(settings.temperatureReadOnly());
    EXPECT_EQ(settings.temperatureModeSelection(), 1);
    EXPECT_FALSE(settings.burstEditsEnabled());
    settings.temperatureModeSelected(0);
    EXPECT_FALSE(settings.temperatureReadOnly());
    EXPECT_FALSE(settings.burstModeSelected(1));
    EXPECT_TRUE(settings.burstEditsEnabled());
    EXPECT_FALSE(settings.burstModeSelected(0));
    EXPECT_FALSE(settings.burstEditsEnabled());
}

TEST(AdvancedSettings, FocusLossRecomputesTheSoundSpeedFromTheScreen) {
    AdvancedSettings metric(kMetric, Defaults());
    metric.temperatureTextChanged("10");
    EXPECT_EQ(metric.soundSpeedText(), "   1520.95"); // not before the focus leaves
    EXPECT_FALSE(metric.temperatureFocusLost());
    EXPECT_EQ(metric.soundSpeedText(), "   1489.37");
    metric.salinityTextChanged("35");
    EXPECT_FALSE(metric.salinityFocusLost());
    EXPECT_EQ(metric.soundSpeedText(), "   1489.99");

    // 50 degF is 10 degC.
    AdvancedSettings english(kEnglish, Defaults());
    english.temperatureTextChanged("50");
    EXPECT_FALSE(english.temperatureFocusLost());
    EXPECT_EQ(english.soundSpeedText(), "   4886.38");

    // A text that is no number keeps the speed and gets the framework's message.
    english.temperatureTextChanged("warm");
    const auto message = english.temperatureFocusLost();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "Please enter a number.");
    EXPECT_EQ(message->focusId, AdvancedSettings::kTemperatureId);
    EXPECT_TRUE(message->selectText);
    EXPECT_EQ(english.soundSpeedText(), "   4886.38");
}

// A value nobody typed into comes back as the very float it was opened with, in both unit
// systems: 20.3 degC is not 68.54 degF converted back (20.300001 degC).
TEST(AdvancedSettings, UntouchedValuesComeBackBitForBit) {
    for (const int units : {kMetric, kEnglish}) {
        for (const float celsius : {20.0f, 20.3f, 0.1f * 203, -4.9f, 49.9f, 12.345f}) {
            SCOPED_TRACE(testing::Message() << units << " " << celsius);
            const AdvancedBlock passed{0, celsius, 0.1f * 351, 1, 600.0f, 10};
            AdvancedSettings settings(units, passed);
            // Setting a box's own text again is no edit.
            settings.temperatureTextChanged(settings.temperatureText());
            const auto result = settings.ok();
            ASSERT_TRUE(result.value);
            EXPECT_TRUE(SameBits(result.value->temperatureC, celsius));
            EXPECT_TRUE(SameBits(result.value->salinity, passed.salinity));
            EXPECT_EQ(result.value->temperatureMode, 0);
            EXPECT_EQ(result.value->burstMode, 1);
            EXPECT_EQ(result.value->profilesPerBurst, 10);
        }
    }
}

TEST(AdvancedSettings, TypedFahrenheitIsConvertedToCelsius) {
    AdvancedSettings settings(kEnglish, Defaults());
    settings.temperatureTextChanged("68.54");
    const auto result = settings.ok();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(result.value->temperatureC, static_cast<float>((68.54f - 32.0) * 0.5555556));
    EXPECT_NEAR(result.value->temperatureC, 20.3f, 1e-5f);
}

struct TemperatureCase {
    int units;
    const char* typed;
    bool accepted;
    float celsius; // when accepted
};

TEST(AdvancedSettings, TemperatureRangeSnapsHalfADegreeOnlyInEnglishUnits) {
    const std::vector<TemperatureCase> cases{
        {kEnglish, "122.5", true, 50.0f}, // 50.28 degC, snapped onto the bound
        {kEnglish, "122", true, 50.0f},   // 50.000004 degC: the rounding of the factor, snapped
        {kEnglish, "123", false, 0.0f},   // 50.56 degC
        {kEnglish, "22.5", true, -5.0f},  // -5.28 degC
        {kEnglish, "22", false, 0.0f},    // -5.56 degC
        {kMetric, "50", true, 50.0f},     {kMetric, "50.1", false, 0.0f},
        {kMetric, "-5", true, -5.0f},     {kMetric, "-5.1", false, 0.0f},
    };
    for (const TemperatureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.units << " " << c.typed);
        AdvancedSettings settings(c.units, Defaults());
        settings.temperatureTextChanged(c.typed);
        const auto result = settings.ok();
        if (c.accepted) {
            ASSERT_TRUE(result.value);
            EXPECT_EQ(result.value->temperatureC, c.celsius);
            continue;
        }
        ASSERT_TRUE(result.message);
        EXPECT_FALSE(result.value);
        EXPECT_EQ(result.message->text,
                  c.units == kMetric
                      ? "Water Temperature should be in the range of  -5.0 to  50.0 deg C."
                      : "Water Temperature should be in the range of  23.0 to 122.0 deg F.");
        EXPECT_EQ(result.message->focusId, AdvancedSettings::kTemperatureId);
        EXPECT_TRUE(result.message->selectText);
    }
}

TEST(AdvancedSettings, MeasuredTemperatureIsStillChecked) {
    AdvancedSettings settings(kMetric, Defaults()); // mode " Measured", read-only
    settings.temperatureTextChanged("60");
    const auto result = settings.ok();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->focusId, AdvancedSettings::kTemperatureId);
}

struct BurstCase {
    int burstMode;
    const char* interval;
    const char* profiles;
    int failingId; // 0: accepted
};

TEST(AdvancedSettings, BurstChecksApplyInEitherMode) {
    constexpr int interval = AdvancedSettings::kBurstIntervalId;
    constexpr int profiles = AdvancedSettings::kProfilesPerBurstId;
    const std::vector<BurstCase> cases{
        {0, "0", "1", 0},
        {0, "0.5", "1", 0},
        {0, "43200", "1000", 0},
        {0, "43200.5", "1", interval},
        {0, "-1", "1", interval},
        {0, "0", "0", profiles}, // profiles per burst 0 fails even while disabled
        {0, "0", "1001", profiles},
        {1, "1", "1", 0},
        {1, "3600", "60", 0},
        // With bursts enabled a burst interval under one second would divide the power estimate
        // by zero once stored in whole seconds.
        {1, "0", "1", interval},
        {1, "0.5", "1", interval},
        {1, "43201", "1", interval},
        {1, "600", "0", profiles},
    };
    for (const BurstCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.burstMode << " " << c.interval << " " << c.profiles);
        AdvancedSettings settings(kMetric, Defaults());
        settings.burstModeSelected(c.burstMode);
        settings.burstIntervalTextChanged(c.interval);
        settings.profilesPerBurstTextChanged(c.profiles);
        const auto result = settings.ok();
        if (c.failingId == 0) {
            ASSERT_TRUE(result.value);
            EXPECT_EQ(result.value->burstMode, c.burstMode);
            continue;
        }
        ASSERT_TRUE(result.message);
        EXPECT_EQ(result.message->focusId, c.failingId);
        EXPECT_TRUE(result.message->selectText);
        EXPECT_EQ(result.message->text,
                  c.failingId == interval
                      ? "Burst Interval should be in the range of 1 to 43200."
                      : "Samples per Burst should be in the range of 1 to 1000.");
    }
}

TEST(AdvancedSettings, ADownloadedZeroBurstIntervalWithBurstsEnabledIsRefused) {
    AdvancedSettings settings(kMetric, {0, 20.0f, 34.5f, 1, 0.0f, 10});
    const auto result = settings.ok();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->focusId, AdvancedSettings::kBurstIntervalId);
    // Switching bursts off makes the held 0 acceptable again.
    EXPECT_FALSE(settings.burstModeSelected(0));
    EXPECT_TRUE(settings.ok().value);
}

TEST(AdvancedSettings, FieldChecksComeFirstAndInControlOrder) {
    AdvancedSettings settings(kMetric, Defaults());
    settings.temperatureTextChanged("99"); // out of range, a later check
    settings.salinityTextChanged("61");    // the framework's range check
    settings.profilesPerBurstTextChanged("x");
    auto result = settings.ok();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->text, "Please enter a number between 0 and 60.");
    EXPECT_EQ(result.message->focusId, AdvancedSettings::kSalinityId);

    settings.salinityTextChanged("60");
    result = settings.ok();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->text, "Please enter an integer.");
    EXPECT_EQ(result.message->focusId, AdvancedSettings::kProfilesPerBurstId);

    settings.profilesPerBurstTextChanged("5");
    result = settings.ok();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->focusId, AdvancedSettings::kTemperatureId);

    settings.temperatureTextChanged("15");
    result = settings.ok();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(*result.value, (AdvancedBlock{1, 15.0f, 60.0f, 0, 0.0f, 5}));
}

TEST(AdvancedSettings, ChangingBurstModeReadsTheScreen) {
    AdvancedSettings settings(kMetric, Defaults());
    settings.burstIntervalTextChanged("");
    const auto message = settings.burstModeSelected(1);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->focusId, AdvancedSettings::kBurstIntervalId);
    EXPECT_TRUE(settings.burstEditsEnabled());
}

} // namespace
} // namespace qpx::test
