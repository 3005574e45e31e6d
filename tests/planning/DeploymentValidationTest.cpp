#include "planning/DeploymentValidation.h"

#include "model/Units.h"
#include "planning/SystemLimits.h"

#include <string>
#include <tuple>

#include <gtest/gtest.h>

namespace {

using namespace qpx::planning;
using qpx::model::MetresToFeet;

constexpr float kDelta = 0.001f; // metres: well past the 0.0001 snapping tolerance

// A plan that passes everywhere but the value under test: lengths in metres, converted to the
// display unit as a user would type them.
struct Plan {
    bool metric = true;
    bool pulseCoherent = false;
    int frequency = 1;
    float averaging = 60.0f;
    float profiling = 600.0f;
    int cells = 20;
    float cellSize = 1.0f;
    float blanking = 0.4f;
    std::int64_t space = 1000000;
    WaveBlock waves{};
    int wavesOption = 0;
    bool planning = false;
    std::string fileName = "DEF";
};

ValidationResult Validate(const Plan& p) {
    DeploymentEntries entries;
    entries.fileName = p.fileName;
    entries.averagingInterval = p.averaging;
    entries.profilingInterval = p.profiling;
    entries.cells = p.cells;
    entries.cellSize = p.metric ? p.cellSize : MetresToFeet(p.cellSize);
    entries.blanking = p.metric ? p.blanking : MetresToFeet(p.blanking);
    entries.batteryPacks = 1;
    ValidationContext context;
    context.metric = p.metric;
    context.pulseCoherent = p.pulseCoherent;
    context.systemFrequency = p.frequency;
    context.recorderSpaceBytes = p.space;
    context.waves = p.waves;
    context.wavesOption = p.wavesOption;
    context.planning = p.planning;
    return ValidateDeployment(entries, context);
}

int FocusOf(const ValidationResult& result) {
    return result.message ? result.message->focusId : -1;
}

std::string TextOf(const ValidationResult& result) {
    return result.message ? result.message->text : std::string();
}

// Every frequency row, both unit systems, with and without pulse-coherent mode.
class LimitsEverywhere : public ::testing::TestWithParam<std::tuple<int, bool, bool>> {
protected:
    Plan AtMinimum() const {
        Plan p;
        std::tie(p.frequency, p.metric, p.pulseCoherent) = GetParam();
        const ProfileBounds b = ProfileLimits(p.frequency, p.pulseCoherent ? 1 : 0);
        p.cells = 1;
        p.cellSize = b.minCellSize;
        p.blanking = b.minBlanking;
        p.averaging = p.pulseCoherent ? 0.5f : 1.0f;
        p.profiling = p.averaging;
        return p;
    }
    ProfileBounds Bounds() const {
        return ProfileLimits(std::get<0>(GetParam()), std::get<2>(GetParam()) ? 1 : 0);
    }
};

TEST_P(LimitsEverywhere, PassesAtTheLowerLimits) {
    const ValidationResult result = Validate(AtMinimum());
    ASSERT_TRUE(result.ok()) << TextOf(result);
    EXPECT_EQ(result.value->cellSizeMetres, Bounds().minCellSize);
    EXPECT_EQ(result.value->blankingMetres, Bounds().minBlanking);
}

TEST_P(LimitsEverywhere, PassesAtTheUpperLimits) {
    Plan p = AtMinimum();
    p.averaging = p.pulseCoherent ? 3600.0f : 43200.0f;
    p.profiling = p.averaging;
    p.cellSize = Bounds().maxCellSize;
    EXPECT_TRUE(Validate(p).ok()) << TextOf(Validate(p));
}

TEST_P(LimitsEverywhere, CellSizeJustPastALimitFailsOnTheCellSizeBox) {
    for (const float cellSize : {Bounds().minCellSize - kDelta, Bounds().maxCellSize + kDelta}) {
        Plan p = AtMinimum();
        p.cellSize = cellSize;
        const ValidationResult result = Validate(p);
        EXPECT_EQ(TextOf(result).rfind("Cell Size should be in the range of", 0), 0u)
            << TextOf(result);
        EXPECT_EQ(FocusOf(result), kCellSizeBoxId);
        EXPECT_TRUE(result.message->selectText);
    }
}

TEST_P(LimitsEverywhere, BlankingJustPastALimitFailsOnTheBlankingBox) {
    for (const float blanking : {Bounds().minBlanking - kDelta, Bounds().maxBlanking + kDelta}) {
        Plan p = AtMinimum();
        p.blanking = blanking;
        const ValidationResult result = Validate(p);
        EXPECT_EQ(TextOf(result).rfind("Blanking Distance should be in the range of", 0), 0u)
            << TextOf(result);
        EXPECT_EQ(FocusOf(result), kBlankingBoxId);
    }
}

TEST_P(LimitsEverywhere, BlankingAtItsMaximumPassesItsOwnCheck) {
    Plan p = AtMinimum();
    p.blanking = Bounds().maxBlanking;
    const ValidationResult result = Validate(p);
    // One cell of the min size on the max blanking ends on the max range; whether float
    // rounding of the sum puts it a hair over is for the total-range check alone.
    EXPECT_EQ(TextOf(result).find("Blanking"), std::string::npos) << TextOf(result);
}

TEST_P(LimitsEverywhere, TotalRangePastTheMaximumFailsOnTheCellsBox) {
    Plan p = AtMinimum();
    p.cellSize = Bounds().maxCellSize;
    p.cells = static_cast<int>((Bounds().maxRange - p.blanking) / p.cellSize) + 1;
    if (p.cells > 100) {
        p.cellSize = (Bounds().maxRange - p.blanking) / 100.0f + kDelta * 10.0f;
        p.cells = 100;
    }
    const ValidationResult result = Validate(p);
    EXPECT_EQ(TextOf(result).rfind("Total profile range of", 0), 0u) << TextOf(result);
    EXPECT_NE(TextOf(result).find(p.metric ? " meters" : " feet"), std::string::npos);
    EXPECT_EQ(FocusOf(result), kCellsBoxId);
}

TEST_P(LimitsEverywhere, IntervalsJustPastTheirLimits) {
    const Plan base = AtMinimum();
    const float min = base.pulseCoherent ? 0.5f : 1.0f;
    const float max = base.pulseCoherent ? 3600.0f : 43200.0f;
    const std::string range = base.pulseCoherent ? "between 0 and 3600" : "between 1 and 43200";

    Plan p = base;
    p.averaging = min - 0.01f;
    EXPECT_EQ(TextOf(Validate(p)), "The averaging interval should be " + range + " seconds");
    EXPECT_EQ(FocusOf(Validate(p)), kAveragingBoxId);

    p = base;
    p.profiling = max + 1.0f;
    EXPECT_EQ(TextOf(Validate(p)), "The profiling interval should be " + range + " seconds");
    // The focus goes to the box that holds the profiling interval.
    EXPECT_EQ(FocusOf(Validate(p)), kProfilingBoxId);
}

INSTANTIATE_TEST_SUITE_P(AllSystems, LimitsEverywhere,
                         ::testing::Combine(::testing::Range(0, kFrequencyCount), ::testing::Bool(),
                                            ::testing::Bool()),
                         [](const auto& testInfo) {
                             return "f" + std::to_string(std::get<0>(testInfo.param)) +
                                    (std::get<1>(testInfo.param) ? "_metric" : "_english") +
                                    (std::get<2>(testInfo.param) ? "_pcqpx" : "_standard");
                         });

TEST(DeploymentValidation, WorkedExampleAt1500kHz) {
    Plan p;
    ASSERT_TRUE(Validate(p).ok());
    EXPECT_EQ(Validate(p).value->cells, 20);
    p.cells = 30;
    EXPECT_EQ(TextOf(Validate(p)),
              "Total profile range of  30.4 meters exceeds/equals the maximum range of this "
              "system.\nValue must be below  30.0 meters\nYou may want to consider reducing the "
              "number of cells");
}

TEST(DeploymentValidation, TotalRangeInEnglishUnitsSpeaksOfFeet) {
    Plan p;
    p.metric = false;
    p.cells = 30;
    EXPECT_EQ(TextOf(Validate(p)),
              "Total profile range of  99.7 feet exceeds/equals the maximum range of this "
              "system.\nValue must be below  98.4 feet\nYou may want to consider reducing the "
              "number of cells");
}

TEST(DeploymentValidation, LengthMessagesInBothUnits) {
    Plan p;
    p.cellSize = 0.24999f; // metric: no snapping
    EXPECT_EQ(TextOf(Validate(p)), "Cell Size should be in the range of  0.25 to  4.00 m.");
    p = Plan{};
    p.metric = false;
    p.blanking = 0.39f;
    EXPECT_EQ(TextOf(Validate(p)),
              "Blanking Distance should be in the range of  1.31 to 97.60 ft.");
}

// What a user types in feet at 1500 kHz, converted with 0.3047999902464003.
DeploymentEntries EnglishEntries(float cellSizeFeet, float blankingFeet) {
    DeploymentEntries e;
    e.fileName = "DEF";
    e.averagingInterval = 60.0f;
    e.profilingInterval = 600.0f;
    e.cells = 20;
    e.cellSize = cellSizeFeet;
    e.blanking = blankingFeet;
    e.batteryPacks = 1;
    return e;
}

ValidationContext English1500() {
    ValidationContext c;
    c.metric = false;
    c.systemFrequency = 1;
    c.recorderSpaceBytes = 1000000;
    return c;
}

TEST(DeploymentValidation, EnglishSnappingAt1500kHz) {
    // 1.31 ft is 0.39929 m: short of 0.4 m by more than the tolerance.
    ValidationResult result = ValidateDeployment(EnglishEntries(3.28f, 1.31f), English1500());
    EXPECT_EQ(FocusOf(result), kBlankingBoxId);

    // 0.8203 ft is 0.25003 m: inside, unchanged.
    result = ValidateDeployment(EnglishEntries(0.8203f, 1.32f), English1500());
    ASSERT_TRUE(result.ok()) << TextOf(result);
    EXPECT_NEAR(result.value->cellSizeMetres, 0.25003f, 1e-5f);
    EXPECT_GT(result.value->cellSizeMetres, 0.25f);

    // 0.82004 ft is 0.24995 m: within the tolerance, moved onto 0.25 m.
    result = ValidateDeployment(EnglishEntries(0.82004f, 1.32f), English1500());
    ASSERT_TRUE(result.ok()) << TextOf(result);
    EXPECT_EQ(result.value->cellSizeMetres, 0.25f);
}

TEST(DeploymentValidation, UntouchedEnglishLengthsKeepTheirMetres) {
    // The boxes show 3.28 ft and 1.31 ft, but nobody typed into them.
    DeploymentEntries e = EnglishEntries(3.28f, 1.31f);
    e.cellSizeExactMetres = 1.0f;
    e.blankingExactMetres = 0.4f;
    const ValidationResult result = ValidateDeployment(e, English1500());
    ASSERT_TRUE(result.ok()) << TextOf(result);
    EXPECT_EQ(result.value->cellSizeMetres, 1.0f);
    EXPECT_EQ(result.value->blankingMetres, 0.4f);
}

TEST(DeploymentValidation, PulseCoherentLimitsAt3000kHz) {
    Plan p;
    p.frequency = 0;
    p.pulseCoherent = true;
    p.cellSize = 0.01f;
    p.blanking = 0.02f;
    EXPECT_TRUE(Validate(p).ok()) << TextOf(Validate(p));
    p.cells = 2;
    p.cellSize = 2.0f;
    p.blanking = 0.98f; // 4.98 m
    EXPECT_TRUE(Validate(p).ok()) << TextOf(Validate(p));
    p.blanking = 1.1f; // 5.1 m
    EXPECT_EQ(FocusOf(Validate(p)), kCellsBoxId);
    p = Plan{};
    p.frequency = 0;
    p.cellSize = 0.01f;
    p.blanking = 0.2f;
    EXPECT_EQ(FocusOf(Validate(p)), kCellSizeBoxId);
}

TEST(DeploymentValidation, RecorderRoom) {
    Plan p;
    p.space = 64953; // 418 + 64535
    EXPECT_TRUE(Validate(p).ok());
    p.space = 64952;
    const ValidationResult result = Validate(p);
    EXPECT_EQ(TextOf(result), "Recorder is FULL or NEARLY FULL\nRetrieve data from recorder and "
                              "then Format it before proceeding");
    EXPECT_EQ(FocusOf(result), 0);
    EXPECT_FALSE(result.message->selectText);
    // A 3 GB card would be negative in 32 bits.
    p.space = std::int64_t{3} << 30;
    EXPECT_TRUE(Validate(p).ok());
}

TEST(DeploymentValidation, IntervalOrder) {
    Plan p;
    p.averaging = 600.0f;
    EXPECT_TRUE(Validate(p).ok());
    p.averaging = 601.0f;
    EXPECT_EQ(TextOf(Validate(p)),
              "The averaging interval should be less than the profiling interval");
    EXPECT_EQ(FocusOf(Validate(p)), kAveragingBoxId);
}

TEST(DeploymentValidation, WaveDurationRule) {
    Plan p;
    p.waves = {4, 1, 1, 1200}; // 600 s at 2 Hz
    p.wavesOption = 1;
    p.profiling = 900.0f;
    p.averaging = 300.0f; // 900 - 300 - 15 = 585 < 600
    const ValidationResult result = Validate(p);
    EXPECT_EQ(TextOf(result), "Duration of WaveSeries (600s) must be at least 15 sec less "
                              "than\nProfiling Interval - Averaging Interval");
    EXPECT_EQ(FocusOf(result), kProfilingBoxId);
    p.averaging = 285.0f;
    EXPECT_TRUE(Validate(p).ok());

    p.averaging = 300.0f;
    p.waves.recordEvery = 0;
    EXPECT_TRUE(Validate(p).ok());

    // An instrument's own setup is judged as it is, even without the waves option...
    p.waves.recordEvery = 4;
    p.wavesOption = 0;
    EXPECT_FALSE(Validate(p).ok());
    // ...but a plan for an instrument without the option records no wave series.
    p.planning = true;
    EXPECT_TRUE(Validate(p).ok());
}

TEST(DeploymentValidation, FileNameAndCells) {
    Plan p;
    p.fileName = "";
    ValidationResult result = Validate(p);
    EXPECT_EQ(TextOf(result), "The File Name must not be left blank.");
    EXPECT_EQ(FocusOf(result), kFileNameBoxId);
    EXPECT_FALSE(result.message->selectText);

    for (const int cells : {0, 101}) {
        p = Plan{};
        p.cells = cells;
        p.cellSize = 0.25f;
        result = Validate(p);
        EXPECT_EQ(TextOf(result),
                  "Number of Cells is out of range.\n\nValue must be between 1 and 100");
        EXPECT_EQ(FocusOf(result), kCellsBoxId);
    }
}

DeploymentScreen GoodScreen() {
    DeploymentScreen s;
    s.fileName = "DEF";
    s.averagingText = "60";
    s.profilingText = "600";
    s.cellsText = "20";
    s.cellSizeText = "1";
    s.blankingText = "0.4";
    s.batteryPacksText = "1";
    return s;
}

TEST(ReadDeploymentScreen, FieldChecks) {
    struct Case {
        void (*edit)(DeploymentScreen&);
        const char* message;
        int focus;
    };
    const Case cases[] = {
        {[](DeploymentScreen& s) { s.fileName = "ABCDEF"; },
         "The File Name must not be longer than 5 characters.", kFileNameBoxId},
        {[](DeploymentScreen& s) { s.comments[1] = std::string(60, 'c'); },
         "Each comment must not be longer than 59 characters.", kComment2BoxId},
        {[](DeploymentScreen& s) { s.averagingText = "6o"; },
         "Please enter a number for the Averaging Interval.", kAveragingBoxId},
        {[](DeploymentScreen& s) { s.profilingText = ""; },
         "Please enter a number for the Profiling Interval.", kProfilingBoxId},
        {[](DeploymentScreen& s) { s.cellsText = "2.5"; },
         "Please enter a whole number for the Number of Cells.", kCellsBoxId},
        {[](DeploymentScreen& s) { s.cellSizeText = "."; },
         "Please enter a number for the Cell Size.", kCellSizeBoxId},
        {[](DeploymentScreen& s) { s.blankingText = "-"; },
         "Please enter a number for the Blanking Distance.", kBlankingBoxId},
        {[](DeploymentScreen& s) { s.batteryPacksText = "0"; },
         "Number of Battery Packs should be in the range of 1 to 999.", kBatteryPacksBoxId},
        {[](DeploymentScreen& s) { s.batteryPacksText = "1000"; },
         "Number of Battery Packs should be in the range of 1 to 999.", kBatteryPacksBoxId},
    };
    for (const Case& c : cases) {
        DeploymentScreen s = GoodScreen();
        c.edit(s);
        const ScreenReading reading = ReadDeploymentScreen(s);
        ASSERT_TRUE(reading.message) << c.message;
        EXPECT_EQ(reading.message->text, c.message);
        EXPECT_EQ(reading.message->focusId, c.focus);
        EXPECT_TRUE(reading.message->selectText);
    }

    DeploymentScreen s = GoodScreen();
    s.fileName = "ABCDE";
    s.comments[0] = std::string(59, 'c');
    s.batteryPacksText = "999";
    const ScreenReading reading = ReadDeploymentScreen(s);
    ASSERT_TRUE(reading.value);
    EXPECT_EQ(reading.value->cells, 20);
    EXPECT_EQ(reading.value->blanking, 0.4f);
    EXPECT_EQ(reading.value->batteryPacks, 999);
}

} // namespace
