#include "operations/ChangeDetection.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"

#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::ChangeItem;
using operations::DetectChanges;
using planning::DeploymentPlanner;

// An instrument as the download hands it to the planner: default structures with the waves
// option applied, a recorder with room to spare.
planning::PlannerInputs Connected(int frequency, int unitSystem, int wavesOption) {
    planning::PlannerInputs inputs;
    inputs.system = planning::MakeDefaultSystemConfiguration(frequency);
    inputs.user = planning::MakeDefaultUserSetup(frequency);
    planning::ApplyWavesOption(inputs.user, wavesOption);
    inputs.operation = planning::MakeDefaultOperationConfiguration(frequency);
    inputs.unitSystem = unitSystem;
    inputs.wavesOption = wavesOption;
    inputs.recorder = {64 << 20, 0};
    return inputs;
}

planning::AcceptedPlan Deploy(DeploymentPlanner& planner) {
    auto result = planner.deploy();
    EXPECT_FALSE(result.message) << result.message->text;
    return result.value.value_or(planning::AcceptedPlan{});
}

struct Instrument {
    int frequency;
    int unitSystem;
    int wavesOption;
};

class UntouchedPlan : public testing::TestWithParam<Instrument> {};

// Deploying what the instrument already holds changes nothing on it but the start time; in
// English units the lengths shown in truncated feet still go back as the same centimetres.
TEST_P(UntouchedPlan, ChangesOnlyTheStartTime) {
    const auto& c = GetParam();
    const auto inputs = Connected(c.frequency, c.unitSystem, c.wavesOption);
    DeploymentPlanner planner;
    planner.open(inputs);
    const auto changes = DetectChanges(Deploy(planner), inputs.user);
    EXPECT_EQ(changes.changedCount(), 1);
    EXPECT_TRUE(changes.flags.marked(ChangeItem::StartDateTime));
    EXPECT_EQ(changes.userSetup, inputs.user);
}

std::vector<Instrument> EveryInstrument() {
    std::vector<Instrument> all;
    for (int frequency = 0; frequency < 8; ++frequency) {
        for (int units : {1, 0}) {
            for (int waves = 0; waves < 3; ++waves) {
                all.push_back({frequency, units, waves});
            }
        }
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(EveryFrequency, UntouchedPlan, testing::ValuesIn(EveryInstrument()),
                         [](const testing::TestParamInfo<Instrument>& param) {
                             const auto& c = param.param;
                             return "f" + std::to_string(c.frequency) +
                                    (c.unitSystem == 1 ? "_metric" : "_english") + "_w" +
                                    std::to_string(c.wavesOption);
                         });

TEST(PlannerChanges, TypedCellSizeGoesToTheNearestCentimetre) {
    const auto inputs = Connected(1, 1, 0);
    DeploymentPlanner planner;
    planner.open(inputs);
    EXPECT_FALSE(planner.cellSizeChanged("0.35"));
    const auto changes = DetectChanges(Deploy(planner), inputs.user);
    EXPECT_TRUE(changes.flags.marked(ChangeItem::CellSize));
    EXPECT_EQ(changes.userSetup.cellSize, 35);
    EXPECT_EQ(changes.changedCount(), 2);
}

// 1.64 ft is 0.49987 m: the 50 cm the user meant, not a 49 cm upload.
TEST(PlannerChanges, TypedFeetConvertToTheCentimetreMeant) {
    const auto inputs = Connected(0, 0, 0);
    DeploymentPlanner planner;
    planner.open(inputs);
    EXPECT_EQ(planner.cellSizeText(), "1.64");
    EXPECT_FALSE(planner.cellSizeChanged("1.64"));
    const auto changes = DetectChanges(Deploy(planner), inputs.user);
    EXPECT_FALSE(changes.flags.marked(ChangeItem::CellSize));
    EXPECT_EQ(changes.userSetup.cellSize, 50);
}

// A PC-QPX holds tenths of a second; the planner shows 10 and 600 as 1 s and 60 s.
planning::PlannerInputs PcQpx(int unitSystem) {
    auto inputs = Connected(1, unitSystem, 0);
    inputs.user.pulseCoherentMode = 1;
    inputs.user.averagingInterval = 10;
    inputs.user.profilingInterval = 600;
    inputs.user.coordinateSystem = 0;
    inputs.user.numberOfCells = 5;
    inputs.user.waveInterval = 0;
    return inputs;
}

TEST(PlannerChanges, UntouchedPcQpxIntervalsAreNotResent) {
    for (int units : {1, 0}) {
        const auto inputs = PcQpx(units);
        DeploymentPlanner planner;
        planner.open(inputs);
        EXPECT_EQ(planner.averagingText(), "1");
        EXPECT_EQ(planner.profilingText(), "60");
        const auto changes = DetectChanges(Deploy(planner), inputs.user);
        EXPECT_EQ(changes.changedCount(), 1) << units;
        EXPECT_EQ(changes.userSetup, inputs.user);
    }
}

TEST(PlannerChanges, TypedPcQpxIntervalIsStoredInTenths) {
    const auto inputs = PcQpx(1);
    DeploymentPlanner planner;
    planner.open(inputs);
    EXPECT_FALSE(planner.averagingIntervalChanged("0.7"));
    EXPECT_FALSE(planner.profilingIntervalChanged("45.5"));
    const auto changes = DetectChanges(Deploy(planner), inputs.user);
    EXPECT_TRUE(changes.flags.marked(ChangeItem::AveragingInterval));
    EXPECT_TRUE(changes.flags.marked(ChangeItem::ProfilingInterval));
    EXPECT_EQ(changes.userSetup.averagingInterval, 7);
    EXPECT_EQ(changes.userSetup.profilingInterval, 455);
}

} // namespace
} // namespace qpx::test
