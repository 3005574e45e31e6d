#include "planning/Endurance.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

using namespace qpx::planning;

TEST(BytesPerProfile, AddsEachRecordPartOnce) {
    struct Case {
        ProfileRecordLayout layout;
        std::int64_t bytes;
    };
    const Case cases[] = {
        {{20, 3, 0, 0, 0, 0}, 322},
        {{20, 3, 2, 0, 0, 0}, 376}, // 36 and 18
        {{20, 3, 2, 1, 0, 0}, 376}, // the 36 only once
        {{20, 3, 0, 1, 0, 0}, 358},
        {{20, 3, 1, 0, 0, 0}, 340},
        {{20, 3, 0, 0, 1, 1}, 346},
        {{100, 4, 0, 0, 0, 0}, 1682},
        // Cells are 16-bit on the instrument: 65536 wraps to 0.
        {{65536, 3, 0, 0, 0, 0}, 82},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BytesPerProfile(c.layout), c.bytes) << c.layout.cells;
    }
}

TEST(RecorderFreeBytes, TakesTheHeaderOffAndStaysPositiveBeyondTwoGigabytes) {
    EXPECT_EQ(RecorderFreeBytes(true, 5242880, {1000, 999}, 2), 5242880);
    EXPECT_EQ(RecorderFreeBytes(false, 0, {100000, 1000}, 2), 100000 - 1000 - 416);
    EXPECT_EQ(RecorderFreeBytes(false, 0, {100000, 1000}, 1), 100000 - 1000 - 384);
    const std::int64_t fourGigabytes = std::int64_t{4} << 30;
    EXPECT_EQ(RecorderFreeBytes(false, 0, {fourGigabytes, 1000}, 2), fourGigabytes - 1416);
}

FreeSpaceInputs FreeSpace(std::int64_t freeBytes, float profiling, float averaging = 60.0f) {
    FreeSpaceInputs in;
    in.bytesPerProfile = 322;
    in.sampling = {averaging, profiling, 0, 1200.0f, 1};
    in.freeBytes = freeBytes;
    return in;
}

TEST(FreeSpaceEndurance, WorkedExamples) {
    DaysEstimate days = FreeSpaceEndurance(FreeSpace(1000000, 600.0f));
    ASSERT_TRUE(days.days);
    EXPECT_NEAR(*days.days, 21.5625f, 1e-4f);
    EXPECT_EQ(days.text, "21.56 days of Data Collection remaining.");

    days = FreeSpaceEndurance(FreeSpace(100000, 60.0f));
    EXPECT_NEAR(*days.days, 0.2153f, 1e-4f);
    EXPECT_EQ(days.text, "5.2 hours of Data Collection remaining.");
}

TEST(FreeSpaceEndurance, UsesTheLongerInterval) {
    const DaysEstimate days = FreeSpaceEndurance(FreeSpace(1000000, 600.0f, 900.0f));
    EXPECT_NEAR(*days.days, 3105 * 900.0f / 86400.0f, 1e-3f);
}

TEST(FreeSpaceEndurance, NoRoomIsZeroHours) {
    for (const std::int64_t free : {std::int64_t{0}, std::int64_t{-5}}) {
        const DaysEstimate days = FreeSpaceEndurance(FreeSpace(free, 600.0f));
        EXPECT_EQ(*days.days, 0.0f);
        EXPECT_EQ(days.text, "0.0 hours of Data Collection remaining.");
    }
}

TEST(FreeSpaceEndurance, CardBeyondTwoGigabytesLastsLonger) {
    const std::int64_t free = RecorderFreeBytes(false, 0, {std::int64_t{4} << 30, 0}, 2);
    const DaysEstimate days = FreeSpaceEndurance(FreeSpace(free, 600.0f));
    ASSERT_TRUE(days.days);
    EXPECT_NEAR(*days.days, static_cast<double>(free / 322) * 600.0 / 86400.0, 5.0);
}

TEST(FreeSpaceEndurance, WaveSeriesBytesPerProfile) {
    struct Case {
        int waveType;
        bool recorded;
        std::int64_t perProfile;
    };
    // PUV: 2048 x 9 / 10 = 1843 more bytes per profile; P series 614; none when not recorded.
    for (const Case c :
         {Case{2, true, 322 + 1843}, Case{1, true, 322 + 614}, Case{2, false, 322}}) {
        FreeSpaceInputs in = FreeSpace(c.perProfile * 1000, 864.0f);
        in.waves = {10, 0, c.waveType, 2048};
        in.waveSeriesRecorded = c.recorded;
        // Exactly 1000 profiles of 864 s: 10 days.
        EXPECT_NEAR(*FreeSpaceEndurance(in).days, 10.0f, 1e-3f) << c.waveType;
    }
}

TEST(FreeSpaceEndurance, BurstTimesTheBurstInterval) {
    FreeSpaceInputs in = FreeSpace(322 * 1000, 600.0f);
    in.sampling = {60.0f, 600.0f, 1, 43200.0f, 4}; // 600 x 60 = 36000 <= 43200
    EXPECT_NEAR(*FreeSpaceEndurance(in).days, 43200.0f / 4 * 1000 / 86400.0f, 1e-3f);
    in.sampling.burstInterval = 30000.0f; // 36000 > 30000: plain profiles
    EXPECT_NEAR(*FreeSpaceEndurance(in).days, 600.0f * 1000 / 86400.0f, 1e-3f);
}

TEST(FreeSpaceEndurance, BurstWithoutProfilesIsUnavailable) {
    FreeSpaceInputs in = FreeSpace(322 * 1000, 600.0f);
    in.sampling = {60.0f, 600.0f, 1, 43200.0f, 0};
    const DaysEstimate days = FreeSpaceEndurance(in);
    EXPECT_FALSE(days.days);
    EXPECT_EQ(days.text, kUnavailableText);
}

PowerInputs Power(int frequency, float averaging = 60.0f, float profiling = 600.0f) {
    PowerInputs in;
    in.sampling = {averaging, profiling, 0, 1200.0f, 1};
    in.systemFrequency = frequency;
    return in;
}

TEST(PowerEndurance, BatteryCapacity) {
    PowerInputs in = Power(1);
    EXPECT_EQ(PowerEndurance(in).capacityText, "604.8");
    in.batteryType = 1;
    in.batteryPacks = 2;
    const PowerEstimate estimate = PowerEndurance(in);
    EXPECT_NEAR(estimate.capacityWh, 2903.04f, 1e-3f);
    EXPECT_EQ(estimate.capacityText, "2903.0");
}

TEST(PowerEndurance, OneAlkalinePackByFrequency) {
    struct Case {
        int frequency;
        float days;
        const char* draw;
        const char* text;
    };
    for (const Case c : {Case{1, 100.8f, "2.50", "Power is sufficient for 101 days of operation"},
                         Case{0, 84.0f, "3.00", "Power is sufficient for 84 days of operation"}}) {
        const PowerEstimate estimate = PowerEndurance(Power(c.frequency));
        EXPECT_TRUE(estimate.boxesUpdated);
        EXPECT_NEAR(*estimate.days.days, c.days, 1e-3f);
        EXPECT_EQ(estimate.drawText, c.draw);
        EXPECT_EQ(estimate.days.text, c.text);
    }
}

TEST(PowerEndurance, WaveDrawOnlyWithTheWavesOption) {
    PowerInputs in = Power(1);
    in.waves = {4, 0, 1, 1024};
    // Without the option the instrument records no series, whatever its setup says.
    EXPECT_EQ(PowerEndurance(in).days.text, "Power is sufficient for 101 days of operation");
    in.wavesOption = 1;
    // 1024 / (4 x 1 Hz x 600 s) x 1.5 W = 0.64 W on top of 0.25 W: 28.3 days.
    EXPECT_NEAR(*PowerEndurance(in).days.days, 604.8f / ((0.25f + 0.64f) * 24.0f), 1e-3f);
}

TEST(PowerEndurance, ZeroIntervalClearsOnlyTheText) {
    for (const auto& [averaging, profiling] : {std::pair{0.0f, 600.0f}, std::pair{60.0f, 0.0f}}) {
        const PowerEstimate estimate = PowerEndurance(Power(1, averaging, profiling));
        EXPECT_FALSE(estimate.boxesUpdated);
        EXPECT_EQ(estimate.days.text, "");
    }
}

TEST(PowerEndurance, BurstValuesNoDialogAcceptsAreUnavailable) {
    PowerInputs in = Power(1);
    in.sampling = {60.0f, 600.0f, 1, 0.0f, 4}; // burst interval 0
    PowerEstimate estimate = PowerEndurance(in);
    EXPECT_TRUE(estimate.boxesUpdated);
    EXPECT_EQ(estimate.capacityText, "604.8");
    EXPECT_FALSE(estimate.days.days);
    EXPECT_EQ(estimate.days.text, kUnavailableText);

    in.sampling = {60.0f, 600.0f, 1, 1200.0f, 0}; // no profiles and no waves: no draw at all
    estimate = PowerEndurance(in);
    EXPECT_FALSE(estimate.days.days);
    EXPECT_EQ(estimate.days.text, kUnavailableText);

    in.sampling = {60.0f, 600.0f, 1, 1200.0f, 2}; // a sound burst: 2 x 60 / 1200 duty
    EXPECT_NEAR(*PowerEndurance(in).days.days, 604.8f / (0.1f * 2.5f * 24.0f), 1e-3f);
}

} // namespace
