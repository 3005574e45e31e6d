#include "operations/ChangeDetection.h"

#include "model/DisplayConversions.h"
#include "planning/DefaultStructures.h"

#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::ChangeItem;
using operations::DetectChanges;

// The plan a planner hands back when nobody touched it: every value as the UserSetup gave it.
planning::AcceptedPlan UntouchedPlan(const model::UserSetup& user) {
    planning::AcceptedPlan plan;
    plan.fileName = user.deploymentName.data();
    plan.comments = {user.comment1.data(), user.comment2.data(), user.comment3.data()};
    plan.averagingInterval = model::IntervalSeconds(user.averagingInterval, user.pulseCoherentMode);
    plan.profilingInterval = model::IntervalSeconds(user.profilingInterval, user.pulseCoherentMode);
    plan.coordinateIndex = user.coordinateSystem;
    plan.cells = user.numberOfCells;
    plan.cellSize = model::CentimetresToMetres(user.cellSize);
    plan.blanking = model::CentimetresToMetres(user.blankingDistance);
    plan.outputIndex = user.outputMode;
    plan.recorderEnabledIndex = user.recorderEnabled;
    plan.advanced = {user.temperatureMode,
                     model::TenthsToUnits(user.defaultTemperature),
                     model::TenthsToUnits(user.salinity),
                     user.burstMode,
                     static_cast<float>(user.burstInterval),
                     user.profilesPerBurst};
    plan.waves = {user.waveInterval, (user.waveOptions >> 2) & 0x3,
                  ((user.waveOptions >> 4) & 0x3) + 1, user.waveSamples};
    plan.pulseCoherent = user.pulseCoherentMode != 0;
    return plan;
}

model::UserSetup Downloaded() {
    model::UserSetup user = planning::MakeDefaultUserSetup(1);
    planning::ApplyWavesOption(user, 2);
    std::memcpy(user.comment1.data(), "Mooring A", 10);
    return user;
}

// One planner value changed: exactly that item is marked and its field holds the new value.
struct ChangeCase {
    const char* name;
    std::function<void(planning::AcceptedPlan&)> edit;
    ChangeItem item;
    std::function<bool(const model::UserSetup&)> stored;
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class ChangeDetectionItems : public testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeDetectionItems, MarksTheItemAndStoresTheFieldValue) {
    const ChangeCase& c = GetParam();
    const model::UserSetup downloaded = Downloaded();
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    c.edit(plan);
    const auto changes = DetectChanges(plan, downloaded);
    EXPECT_TRUE(changes.flags.marked(c.item));
    EXPECT_EQ(changes.changedCount(), 2); // and the start time
    EXPECT_TRUE(c.stored(changes.userSetup));
}

using P = planning::AcceptedPlan;
using U = model::UserSetup;

INSTANTIATE_TEST_SUITE_P(
    EachItem, ChangeDetectionItems,
    testing::Values(
        ChangeCase{"fileName", [](P& p) { p.fileName = "ABC"; }, ChangeItem::DeploymentName,
                   [](const U& u) { return std::string(u.deploymentName.data()) == "ABC"; }},
        ChangeCase{"comment", [](P& p) { p.comments[2] = "third"; }, ChangeItem::Comments,
                   [](const U& u) {
                       return std::string(u.comment1.data()) == "Mooring A" &&
                              std::string(u.comment3.data()) == "third";
                   }},
        ChangeCase{"averaging", [](P& p) { p.averagingInterval = 60.0f; },
                   ChangeItem::AveragingInterval,
                   [](const U& u) { return u.averagingInterval == 60; }},
        ChangeCase{"averagingNearest", [](P& p) { p.averagingInterval = 120.6f; },
                   ChangeItem::AveragingInterval,
                   [](const U& u) { return u.averagingInterval == 121; }},
        ChangeCase{"profiling", [](P& p) { p.profilingInterval = 600.0f; },
                   ChangeItem::ProfilingInterval,
                   [](const U& u) { return u.profilingInterval == 600; }},
        ChangeCase{"cellSizeNearestCentimetre", [](P& p) { p.cellSize = 0.35f; },
                   ChangeItem::CellSize, [](const U& u) { return u.cellSize == 35; }},
        ChangeCase{"cells", [](P& p) { p.cells = 25; }, ChangeItem::NumberOfCells,
                   [](const U& u) { return u.numberOfCells == 25; }},
        ChangeCase{"blankingNearestCentimetre", [](P& p) { p.blanking = 0.57f; },
                   ChangeItem::BlankingDistance,
                   [](const U& u) { return u.blankingDistance == 57; }},
        ChangeCase{"coordinate", [](P& p) { p.coordinateIndex = 0; }, ChangeItem::CoordinateSystem,
                   [](const U& u) { return u.coordinateSystem == 0; }},
        ChangeCase{"outputMode", [](P& p) { p.outputIndex = 1; }, ChangeItem::OutputMode,
                   [](const U& u) { return u.outputMode == 1; }},
        ChangeCase{"recorderEnabled", [](P& p) { p.recorderEnabledIndex = 0; },
                   ChangeItem::RecorderEnabled, [](const U& u) { return u.recorderEnabled == 0; }},
        ChangeCase{"temperatureMode", [](P& p) { p.advanced.temperatureMode = 0; },
                   ChangeItem::TemperatureMode, [](const U& u) { return u.temperatureMode == 0; }},
        ChangeCase{"temperatureNearestTenth", [](P& p) { p.advanced.temperatureC = 20.3f; },
                   ChangeItem::DefaultTemperature,
                   [](const U& u) { return u.defaultTemperature == 203; }},
        ChangeCase{"negativeTemperature", [](P& p) { p.advanced.temperatureC = -1.7f; },
                   ChangeItem::DefaultTemperature,
                   [](const U& u) { return u.defaultTemperature == -17; }},
        ChangeCase{"salinityNearestTenth", [](P& p) { p.advanced.salinity = 35.1f; },
                   ChangeItem::DefaultSalinity, [](const U& u) { return u.salinity == 351; }},
        ChangeCase{"burstMode", [](P& p) { p.advanced.burstMode = 1; }, ChangeItem::BurstMode,
                   [](const U& u) { return u.burstMode == 1; }},
        ChangeCase{"burstInterval", [](P& p) { p.advanced.burstInterval = 3600.0f; },
                   ChangeItem::BurstInterval, [](const U& u) { return u.burstInterval == 3600; }},
        ChangeCase{"profilesPerBurst", [](P& p) { p.advanced.profilesPerBurst = 10; },
                   ChangeItem::ProfilesPerBurst,
                   [](const U& u) { return u.profilesPerBurst == 10; }},
        ChangeCase{"waveLength", [](P& p) { p.waves.length = 2048; }, ChangeItem::WaveSeriesLength,
                   [](const U& u) { return u.waveSamples == 2048; }},
        ChangeCase{"recordEvery", [](P& p) { p.waves.recordEvery = 0; },
                   ChangeItem::RecordWaveSeriesEvery,
                   [](const U& u) { return u.waveInterval == 0; }}),
    [](const testing::TestParamInfo<ChangeCase>& param) { return std::string(param.param.name); });

TEST(ChangeDetection, EveryItemChangedCountsTwentyOne) {
    const model::UserSetup downloaded = Downloaded(); // directional: type 2, rate 0
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    plan.fileName = "NEW";
    plan.comments[1] = "x";
    plan.averagingInterval = 60.0f;
    plan.profilingInterval = 600.0f;
    plan.cellSize = 0.5f;
    plan.cells = 10;
    plan.blanking = 0.5f;
    plan.coordinateIndex = 1;
    plan.outputIndex = 1;
    plan.recorderEnabledIndex = 0;
    plan.advanced = {0, 10.0f, 30.0f, 1, 600.0f, 5};
    plan.waves = {2, 2, 1, 512};
    const auto changes = DetectChanges(plan, downloaded);
    EXPECT_EQ(changes.changedCount(), operations::kChangeItemCount);
    EXPECT_EQ(changes.waveRateIndex, 2);
    EXPECT_EQ(changes.waveType, 1);
    // The wave bits are sent as commands; the byte itself stays as downloaded.
    EXPECT_EQ(changes.userSetup.waveOptions, downloaded.waveOptions);
}

// The float nearest a typed value converts to the centimetre (or tenth) the user meant, and the
// same value held by the instrument is not marked: the default blanking of 40 cm is the float
// nearest 0.4 m, which truncation would still give, but 0.35 m and 20.3 degC would not.
TEST(ChangeDetection, ValuesEqualToTheirFieldAreNotMarked) {
    model::UserSetup downloaded = Downloaded();
    downloaded.cellSize = 35;
    downloaded.blankingDistance = 40;
    downloaded.defaultTemperature = 203;
    downloaded.salinity = 349;
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    plan.cellSize = 0.35f;
    plan.blanking = 0.4f;
    plan.advanced.temperatureC = 20.3f;
    plan.advanced.salinity = 34.9f;
    plan.averagingInterval = 120.4f; // the field holds whole seconds: still 120
    const auto changes = DetectChanges(plan, downloaded);
    EXPECT_EQ(changes.changedCount(), 1);
    EXPECT_EQ(changes.userSetup, downloaded);
}

// A PC-QPX holds tenths of a second and the planner shows them as seconds.
struct PcQpxIntervalCase {
    float averagingSeconds;
    float profilingSeconds;
    bool averagingMarked;
    bool profilingMarked;
    std::uint16_t averagingStored;
    std::uint16_t profilingStored;
};

class ChangeDetectionPcQpxIntervals : public testing::TestWithParam<PcQpxIntervalCase> {};

TEST_P(ChangeDetectionPcQpxIntervals, CompareAndStoreTenths) {
    const auto& c = GetParam();
    model::UserSetup downloaded = Downloaded();
    downloaded.pulseCoherentMode = 1;
    downloaded.averagingInterval = 10;  // 1 s
    downloaded.profilingInterval = 600; // 60 s
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    plan.averagingInterval = c.averagingSeconds;
    plan.profilingInterval = c.profilingSeconds;
    const auto changes = DetectChanges(plan, downloaded);
    EXPECT_EQ(changes.flags.marked(ChangeItem::AveragingInterval), c.averagingMarked);
    EXPECT_EQ(changes.flags.marked(ChangeItem::ProfilingInterval), c.profilingMarked);
    EXPECT_EQ(changes.userSetup.averagingInterval, c.averagingStored);
    EXPECT_EQ(changes.userSetup.profilingInterval, c.profilingStored);
}

INSTANTIATE_TEST_SUITE_P(Tenths, ChangeDetectionPcQpxIntervals,
                         testing::Values(PcQpxIntervalCase{1.0f, 60.0f, false, false, 10, 600},
                                         PcQpxIntervalCase{0.7f, 60.0f, true, false, 7, 600},
                                         PcQpxIntervalCase{0.5f, 3600.0f, true, true, 5, 36000},
                                         PcQpxIntervalCase{1.0f, 59.9f, false, true, 10, 599}));

// Only wave types 1 and 2 have a command word. A type of 0 ("None") or a decoded 3 or 4 leaves
// the instrument's type as it is.
struct WaveTypeCase {
    std::uint8_t typeBits; // bits 4-5 of the downloaded waveOptions
    int plannedType;
    bool marked;
    int sentType;
};

class ChangeDetectionWaveType : public testing::TestWithParam<WaveTypeCase> {};

TEST_P(ChangeDetectionWaveType, MarksOnlyTypesWithACommandWord) {
    const auto& c = GetParam();
    model::UserSetup downloaded = Downloaded();
    downloaded.waveOptions =
        static_cast<std::uint8_t>((downloaded.waveOptions & 0xCF) | c.typeBits << 4);
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    plan.waves.waveType = c.plannedType;
    const auto changes = DetectChanges(plan, downloaded);
    EXPECT_EQ(changes.flags.marked(ChangeItem::WaveSeriesType), c.marked);
    EXPECT_EQ(changes.waveType, c.sentType);
    EXPECT_EQ(changes.userSetup.waveOptions, downloaded.waveOptions);
}

INSTANTIATE_TEST_SUITE_P(Types, ChangeDetectionWaveType,
                         testing::Values(WaveTypeCase{0, 1, false, 1}, WaveTypeCase{0, 2, true, 2},
                                         WaveTypeCase{1, 1, true, 1}, WaveTypeCase{1, 0, false, 2},
                                         WaveTypeCase{3, 0, false, 4}, WaveTypeCase{3, 2, true, 2},
                                         WaveTypeCase{2, 4, false, 3},
                                         WaveTypeCase{3, 3, false, 4}));

TEST(ChangeDetection, WaveRateOutsideTheTableIsNeverSent) {
    model::UserSetup downloaded = Downloaded();
    downloaded.waveOptions = static_cast<std::uint8_t>(downloaded.waveOptions | 0x0C); // code 3
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    EXPECT_FALSE(DetectChanges(plan, downloaded).flags.marked(ChangeItem::WaveSeriesRate));
    plan.waves.rateIndex = 1;
    const auto changed = DetectChanges(plan, downloaded);
    EXPECT_TRUE(changed.flags.marked(ChangeItem::WaveSeriesRate));
    EXPECT_EQ(changed.waveRateIndex, 1);
    plan.waves.rateIndex = -1;
    EXPECT_FALSE(DetectChanges(plan, downloaded).flags.marked(ChangeItem::WaveSeriesRate));
}

// A combo with no selection, or a value its field cannot hold, must not put a garbage byte on
// the instrument.
TEST(ChangeDetection, ValuesOutsideTheirFieldLeaveItUnchanged) {
    const model::UserSetup downloaded = Downloaded();
    planning::AcceptedPlan plan = UntouchedPlan(downloaded);
    plan.coordinateIndex = -1;
    plan.outputIndex = 2;
    plan.advanced.temperatureMode = 5;
    plan.advanced.burstMode = -1;
    plan.cells = 70000;
    plan.cellSize = 1000.0f;
    plan.advanced.temperatureC = std::numeric_limits<float>::quiet_NaN();
    plan.waves.recordEvery = 256;
    const auto changes = DetectChanges(plan, downloaded);
    EXPECT_EQ(changes.changedCount(), 1);
    EXPECT_EQ(changes.userSetup, downloaded);
}

TEST(ChangeDetection, TextsAreComparedAsCharacterStringsAndStoredTerminated) {
    model::UserSetup downloaded = Downloaded();
    std::memset(downloaded.deploymentName.data(), 'Q', downloaded.deploymentName.size());
    planning::AcceptedPlan plan = UntouchedPlan(Downloaded());
    plan.fileName = "QQQQQQQQQ"; // the unterminated field reads as its whole width
    EXPECT_FALSE(DetectChanges(plan, downloaded).flags.marked(ChangeItem::DeploymentName));
    plan.fileName = "AB";
    const auto changes = DetectChanges(plan, downloaded);
    ASSERT_TRUE(changes.flags.marked(ChangeItem::DeploymentName));
    EXPECT_EQ(std::string(changes.userSetup.deploymentName.data()), "AB");
    for (std::size_t i = 2; i < changes.userSetup.deploymentName.size(); ++i) {
        EXPECT_EQ(changes.userSetup.deploymentName[i], '\0');
    }
    plan.comments[0] = std::string(80, 'c');
    const auto longComment = DetectChanges(plan, downloaded);
    EXPECT_EQ(std::string(longComment.userSetup.comment1.data()), std::string(59, 'c'));
}

} // namespace
} // namespace qpx::test
