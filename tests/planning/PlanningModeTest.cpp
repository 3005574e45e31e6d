#include "planning/DeploymentPlanner.h"
#include "planning/PlanDeployment.h"
#include "planning/SystemInformation.h"

#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::DeploymentPlanner;
using planning::PlanDeployment;
using planning::SystemInformation;

// What the planner first shows for the defaults of each frequency of the list.
struct FrequencyTexts {
    const char* cells;
    const char* cellSizeMetric;
    const char* blankingMetric;
    const char* cellSizeFeet;
    const char* blankingFeet;
    const char* rangeMetric;
};

// clang-format off
constexpr FrequencyTexts kExpected[7] = {
    {"12", "0.5", "0.2", "1.64",  "0.65", "Profiling Range:   0.45 -   6.45 m"}, // 3000 kHz
    {"20", "1",   "0.4", "3.28",  "1.31", "Profiling Range:   0.90 -  20.90 m"}, // 1500 kHz
    {"30", "2",   "0.8", "6.56",  "2.62", "Profiling Range:   1.80 -  61.80 m"}, // 750 kHz
    {"30", "4",   "1",   "13.12", "3.28", "Profiling Range:   3.00 - 123.00 m"}, // 500 kHz
    {"30", "4",   "1.5", "13.12", "4.92", "Profiling Range:   3.50 - 123.50 m"}, // 250 kHz
    {"25", "1",   "0.5", "3.28",  "1.64", "Profiling Range:   1.00 -  26.00 m"}, // 1000 kHz
    {"12", "0.2", "0.1", "0.65",  "0.32", "Profiling Range:   0.20 -   2.60 m"}, // 5000 kHz
};
// clang-format on

struct Choice {
    int frequency;
    int recorder;
    int waves;
    int unitSystem;
};

class PlanningMode : public testing::TestWithParam<Choice> {};

// Every choice of the three lists, in both unit systems, opens the planner as a calculator on
// the defaults of that frequency.
TEST_P(PlanningMode, PlannerShowsTheDefaultsOfTheChoice) {
    const Choice& c = GetParam();
    SystemInformation dialog;
    dialog.frequencySelected(c.frequency);
    dialog.recorderSelected(c.recorder);
    dialog.wavesSelected(c.waves);
    const bool metric = c.unitSystem == 1;

    DeploymentPlanner planner;
    const link::CalendarTime now{2026, 3, 4, 5, 6, 7};
    planner.open(PlanDeployment(c.unitSystem, dialog.accept()), now);

    const FrequencyTexts& expected = kExpected[c.frequency];
    EXPECT_EQ(planner.cellsText(), expected.cells);
    EXPECT_EQ(planner.cellSizeText(), metric ? expected.cellSizeMetric : expected.cellSizeFeet);
    EXPECT_EQ(planner.blankingText(), metric ? expected.blankingMetric : expected.blankingFeet);
    if (metric) {
        EXPECT_EQ(planner.rangeText(), expected.rangeMetric);
    } else {
        EXPECT_EQ(planner.rangeText().rfind("Profiling Range: ", 0), 0u);
        EXPECT_EQ(planner.rangeText().substr(planner.rangeText().size() - 3), " ft");
    }
    EXPECT_EQ(planner.cellSizeLabel(), metric ? "Cell Size (m):" : "Cell Size (ft):");
    EXPECT_EQ(planner.averagingText(), "120");
    EXPECT_EQ(planner.profilingText(), "1200");
    EXPECT_EQ(planner.fileNameText(), "DEF");
    EXPECT_EQ(planner.startDateTimeText(), "2026/03/04,  05:06:07");

    EXPECT_FALSE(planner.deployEnabled());
    EXPECT_FALSE(planner.plainFieldsEnabled());
    EXPECT_FALSE(planner.instrumentButtonsEnabled());
    EXPECT_FALSE(planner.pcQpxEnabled());
    EXPECT_EQ(planner.wavesEnabled(), c.waves != 0);

    EXPECT_EQ(planner.capacityText(), "604.8");
    for (const std::string& text : {planner.freeSpaceText(), planner.powerText()}) {
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
    }
}

std::vector<Choice> AllChoices() {
    std::vector<Choice> choices;
    for (int frequency = 0; frequency < 7; ++frequency) {
        for (int recorder = 0; recorder < 10; ++recorder) {
            for (int waves = 0; waves < 3; ++waves) {
                for (int units : {1, 0}) {
                    choices.push_back({frequency, recorder, waves, units});
                }
            }
        }
    }
    return choices;
}

INSTANTIATE_TEST_SUITE_P(EveryListChoice, PlanningMode, testing::ValuesIn(AllChoices()),
                         [](const testing::TestParamInfo<Choice>& param) {
                             const Choice& c = param.param;
                             return "f" + std::to_string(c.frequency) + "_r" +
                                    std::to_string(c.recorder) + "_w" + std::to_string(c.waves) +
                                    (c.unitSystem == 1 ? "_metric" : "_english");
                         });

// 1500 kHz defaults on the 5 MB recorder: 322 bytes per profile every 1200 s. Without the waves
// option no wave series is recorded, whatever the default bytes say; with it every fourth
// profile adds 1024 samples of 3 (P) or 9 (PUV) bytes.
TEST(PlanningMode, FreeSpaceFollowsTheWavesOption) {
    const char* const expected[3] = {"226.14 days of Data Collection remaining.",
                                     "66.79 days of Data Collection remaining.",
                                     "27.72 days of Data Collection remaining."};
    for (int waves = 0; waves < 3; ++waves) {
        SystemInformation dialog;
        dialog.wavesSelected(waves);
        DeploymentPlanner planner;
        planner.open(PlanDeployment(1, dialog.accept()));
        EXPECT_EQ(planner.freeSpaceText(), expected[waves]) << waves;
    }
}

TEST(PlanningMode, PowerOfOneAlkalinePackAt1500kHz) {
    DeploymentPlanner planner;
    planner.open(PlanDeployment(1, SystemInformation().accept()));
    EXPECT_EQ(planner.powerDrawText(), "2.50");
    EXPECT_EQ(planner.powerText(), "Power is sufficient for 101 days of operation");
}

} // namespace
} // namespace qpx::test
