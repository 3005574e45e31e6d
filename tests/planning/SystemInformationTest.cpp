#include "planning/SystemInformation.h"

#include "planning/PlanDeployment.h"

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::PlanDeployment;
using planning::SystemInformation;

struct RecorderCase {
    int index;
    int megabytes;
    std::int64_t bytes;
};

class SystemInformationRecorder : public testing::TestWithParam<RecorderCase> {};

TEST_P(SystemInformationRecorder, SizeInMegabytesAndBytes) {
    SystemInformation dialog;
    dialog.recorderSelected(GetParam().index);
    const auto choice = dialog.accept();
    EXPECT_EQ(choice.recorderSizeMegabytes, GetParam().megabytes);
    EXPECT_EQ(PlanDeployment(1, choice).planningRecorderBytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    List, SystemInformationRecorder,
    testing::Values(RecorderCase{0, 5, 5'242'880}, RecorderCase{1, 10, 10'485'760},
                    RecorderCase{2, 20, 20'971'520}, RecorderCase{3, 32, 33'554'432},
                    RecorderCase{4, 40, 41'943'040}, RecorderCase{5, 85, 89'128'960},
                    RecorderCase{6, 192, 201'326'592}, RecorderCase{7, 340, 356'515'840},
                    RecorderCase{8, 660, 692'060'160}, RecorderCase{9, 880, 922'746'880},
                    // No list sends these; the size table falls back to 32 MB.
                    RecorderCase{10, 32, 33'554'432}, RecorderCase{-1, 32, 33'554'432}));

TEST(SystemInformation, SelectionsOutsideTheListsAreIgnored) {
    SystemInformation dialog;
    dialog.frequencySelected(7); // 125 kHz is not offered
    dialog.frequencySelected(-1);
    dialog.wavesSelected(3);
    EXPECT_EQ(dialog.accept(), (planning::SystemChoice{1, 5, 0}));
    dialog.frequencySelected(6);
    dialog.wavesSelected(2);
    EXPECT_EQ(dialog.accept(), (planning::SystemChoice{6, 5, 2}));
}

TEST(PlanDeployment, OkAtOnceGivesTheDefault1500kHzPlan) {
    const auto inputs = PlanDeployment(0, SystemInformation().accept());
    EXPECT_TRUE(inputs.planning);
    EXPECT_EQ(inputs.unitSystem, 0);
    EXPECT_EQ(inputs.wavesOption, 0);
    EXPECT_EQ(inputs.planningRecorderBytes, 5'242'880);
    EXPECT_EQ(inputs.system.systemFrequency, 1);
    EXPECT_EQ(inputs.user.numberOfCells, 20);
    EXPECT_EQ(inputs.user.cellSize, 100);
    EXPECT_EQ(inputs.user.blankingDistance, 40);
    EXPECT_EQ(inputs.operation.operWord22, 0);
    EXPECT_EQ(inputs.operation.operWord24, 30);
    EXPECT_EQ(inputs.operation.operWord26, 30);
    EXPECT_EQ(inputs.user.waveOptions, 0xF0);
    EXPECT_EQ(inputs.user.waveInterval, 4);
    EXPECT_EQ(inputs.user.waveSamples, 1024);
    EXPECT_EQ(inputs.user.waveEnabled, 1);
    EXPECT_EQ(inputs.user.pulseCoherentMode, 0);
    EXPECT_EQ(std::string(inputs.user.deploymentName.data()), "DEF");
    EXPECT_EQ(inputs.user.startDate.year, 1995);
}

TEST(PlanDeployment, FrequencyAndWavesChoicesReachTheStructures) {
    SystemInformation dialog;
    dialog.frequencySelected(6); // "5000 kHz"
    dialog.wavesSelected(2);     // "Directional"
    auto inputs = PlanDeployment(1, dialog.accept());
    EXPECT_EQ(inputs.system.systemFrequency, 6);
    EXPECT_EQ(inputs.user.numberOfCells, 12);
    EXPECT_EQ(inputs.user.cellSize, 20);
    EXPECT_EQ(inputs.user.blankingDistance, 10);
    EXPECT_EQ(inputs.user.waveOptions, 0x10);
    EXPECT_EQ(inputs.wavesOption, 2);

    dialog.frequencySelected(3); // "500 kHz"
    dialog.wavesSelected(1);     // "Non-Directional"
    inputs = PlanDeployment(1, dialog.accept());
    EXPECT_EQ(inputs.operation.operWord22, 1);
    EXPECT_EQ(inputs.operation.operWord24, 130);
    EXPECT_EQ(inputs.user.waveOptions, 0x00);
}

} // namespace
} // namespace qpx::test
