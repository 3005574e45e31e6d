#include "cli/SettingApplication.h"

#include "planning/DeploymentPlanner.h"
#include "planning/PlanDeployment.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using cli::ApplySetting;
using cli::ParseSettingArgument;

planning::PlannerInputs Inputs(int unitSystem, int wavesOption, bool planning) {
    planning::SystemChoice choice;
    choice.wavesOption = wavesOption;
    choice.recorderSizeMegabytes = 32;
    auto inputs = planning::PlanDeployment(unitSystem, choice);
    if (!planning) {
        inputs.planning = false;
        inputs.recorder = {64 << 20, 0};
    }
    return inputs;
}

// Applies the settings in order; the message of the first refused one, or "" when all passed.
std::string Apply(planning::DeploymentPlanner& planner, const std::vector<std::string>& args,
                  std::vector<std::string>* notes = nullptr) {
    for (const auto& arg : args) {
        const auto parsed = ParseSettingArgument(arg);
        EXPECT_TRUE(parsed.setting) << arg;
        if (!parsed.setting) {
            return "not a setting";
        }
        const auto outcome = ApplySetting(planner, *parsed.setting);
        if (notes != nullptr) {
            notes->insert(notes->end(), outcome.notes.begin(), outcome.notes.end());
        }
        if (!outcome.accepted) {
            EXPECT_FALSE(outcome.message.empty()) << arg;
            return outcome.message;
        }
    }
    return "";
}

struct Refusal {
    std::vector<std::string> settings;
    std::string message;
};

class PlannerRefuses : public ::testing::TestWithParam<Refusal> {};

// The planner's live checks and the sub-dialogs' OK checks, with their own messages.
TEST_P(PlannerRefuses, WithTheSystemsMessage) {
    planning::DeploymentPlanner planner;
    planner.open(Inputs(1, 2, false));
    EXPECT_EQ(Apply(planner, GetParam().settings), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, PlannerRefuses,
    ::testing::Values(
        Refusal{{"cells=0"}, "Number of Cells must be greater than 0."},
        // The box reads the leading number, so text reads as 0.
        Refusal{{"cell-size=abc"}, "Cell Size must be greater than 0."},
        Refusal{{"blanking=-1"}, "Blanking Distance must be greater than 0."},
        Refusal{{"averaging-interval=0"}, "Averaging Interval must be greater than 0."},
        Refusal{{"profiling-interval=."}, "Profiling Interval must be greater than 0."},
        Refusal{{"battery-packs=0"}, "Number of Battery Packs must be greater than 0."},
        Refusal{{"temperature-mode=user", "temperature=50.1"},
                "Water Temperature should be in the range of  -5.0 to  50.0 deg C."},
        // The framework's own range check of the salinity box comes first.
        Refusal{{"salinity=61"}, "Please enter a number between 0 and 60."},
        Refusal{{"burst-mode=enabled", "profiles-per-burst=0"},
                "Samples per Burst should be in the range of 1 to 1000."},
        Refusal{{"burst-mode=enabled", "burst-interval=43201"},
                "Burst Interval should be in the range of 1 to 43200."},
        // Boxes that cannot be typed into.
        Refusal{{"temperature=12"},
                "The water temperature is measured: set temperature-mode=user to type one."},
        Refusal{{"burst-interval=600"}, "Burst mode is disabled: set burst-mode=enabled first."},
        Refusal{{"wave-every=0", "wave-length=512"},
                "Wave recording is off: set wave-every to a number of profiles first."},
        Refusal{{"coordinate-system=enu"},
                "ENU coordinates need a compass, and this system has none."}));

TEST(SettingApplication, PlanningModeKeepsTheInstrumentsOwnBoxes) {
    planning::DeploymentPlanner planner;
    planner.open(Inputs(1, 0, true));
    for (const char* arg : {"file-name=ABC", "start=2001/07/04 09:05:00", "comment2=x",
                            "coordinate-system=beam", "output-mode=polled"}) {
        const auto parsed = ParseSettingArgument(arg);
        ASSERT_TRUE(parsed.setting);
        const auto outcome = ApplySetting(planner, *parsed.setting);
        EXPECT_FALSE(outcome.accepted) << arg;
        EXPECT_NE(outcome.message.find("planning mode"), std::string::npos) << arg;
    }
    EXPECT_EQ(planner.fileNameText(), "DEF");
    // Without the waves option there is no waves dialog at all.
    EXPECT_EQ(Apply(planner, {"wave-every=2"}),
              "This system has no waves option: there are no waves settings.");
}

TEST(SettingApplication, ConnectedSettingsReachThePlannerInOrder) {
    planning::DeploymentPlanner planner;
    planner.open(Inputs(1, 2, false));
    EXPECT_EQ(Apply(planner,
                    {"file-name=ABC", "start=2002/01/02 03:04:05", "comment1=Mooring 4", "cells=25",
                     "cells=22", "cell-size=0.5", "output-mode=polled", "coordinate-system=xyz",
                     "battery-type=lithium", "battery-packs=2", "temperature-mode=user",
                     "temperature=12.5", "burst-mode=enabled", "burst-interval=600",
                     "profiles-per-burst=3", "wave-rate=2", "wave-type=puv"}),
              "");
    EXPECT_EQ(planner.fileNameText(), "ABC");
    EXPECT_EQ(planner.commentText(0), "Mooring 4");
    EXPECT_EQ(planner.cellsText(), "22"); // the later one wins
    EXPECT_EQ(planner.rangeText(), "Profiling Range:   0.65 -  11.65 m");
    EXPECT_EQ(planner.capacityText(), "2903.0");
    const auto deploy = planner.deploy();
    ASSERT_TRUE(deploy.value) << deploy.message->text;
    EXPECT_EQ(deploy.value->start, (link::CalendarTime{2002, 1, 2, 3, 4, 5}));
    EXPECT_EQ(deploy.value->outputIndex, 1);
    EXPECT_EQ(deploy.value->coordinateIndex, 1);
    EXPECT_FLOAT_EQ(deploy.value->advanced.temperatureC, 12.5f);
    EXPECT_EQ(deploy.value->advanced.burstMode, 1);
    EXPECT_FLOAT_EQ(deploy.value->advanced.burstInterval, 600.0f);
    EXPECT_EQ(deploy.value->advanced.profilesPerBurst, 3);
    EXPECT_EQ(deploy.value->waves.rateIndex, 1);
    EXPECT_EQ(deploy.value->waves.waveType, 2);
}

TEST(SettingApplication, EnglishUnitsTakeFeetAndFahrenheit) {
    planning::DeploymentPlanner planner;
    planner.open(Inputs(0, 0, false));
    // 122.5 degF lies within the half-degree tolerance above 50 degC and is snapped onto it.
    EXPECT_EQ(Apply(planner, {"cell-size=3.28", "blanking=1.5", "temperature-mode=user",
                              "temperature=122.5"}),
              "");
    EXPECT_EQ(planner.rangeText(), "Profiling Range:   3.14 -  68.74 ft");
    EXPECT_FLOAT_EQ(planner.advancedBlock().temperatureC, 50.0f);
    EXPECT_EQ(Apply(planner, {"temperature=123"}),
              "Water Temperature should be in the range of  23.0 to 122.0 deg F.");
    EXPECT_FLOAT_EQ(planner.advancedBlock().temperatureC, 50.0f);
}

TEST(SettingApplication, WaveDurationWarnsAndDeployRefuses) {
    planning::DeploymentPlanner planner;
    planner.open(Inputs(1, 1, false));
    std::vector<std::string> notes;
    // 1100 samples at 2 Hz last 550 s, more than 600 - 60 - 15: the dialog warns and keeps it.
    EXPECT_EQ(Apply(planner,
                    {"wave-rate=2", "averaging-interval=60", "profiling-interval=600",
                     "wave-length=1100"},
                    &notes),
              "");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "Duration of WaveSeries (550s) must be at least 15 sec less than\n"
                        "Profiling Interval - Averaging Interval");
    EXPECT_EQ(planner.waveBlock().length, 1100);
    const auto deploy = planner.deploy();
    ASSERT_TRUE(deploy.message);
    EXPECT_EQ(deploy.message->text, notes[0]);
    // A non-directional system offers no PUV series.
    EXPECT_EQ(Apply(planner, {"wave-type=puv"}), "PUV Series needs the directional waves option.");
}

} // namespace
} // namespace qpx::test
