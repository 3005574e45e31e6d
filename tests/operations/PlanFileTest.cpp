#include "operations/PlanFile.h"

#include "operations/SettingApplication.h"
#include "operations/SettingsTable.h"
#include "planning/PlanDeployment.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::OpenPlan;
using operations::PlanOrigin;
using operations::ReadPlan;
using operations::SettingId;
using planning::DeploymentPlanner;

const PlanOrigin kOrigin{"QPX 4711", "2026/12/09 10:15:00 +01:00"};
const link::CalendarTime kNow{2026, 12, 9, 10, 15, 0};

planning::PlannerInputs Inputs(int frequency, model::UnitSystem units, bool pulseCoherent,
                               bool planning) {
    planning::SystemChoice choice;
    choice.frequencyIndex = frequency;
    choice.wavesOption = 2;
    choice.recorderSizeMegabytes = 85;
    auto inputs = planning::PlanDeployment(units, choice);
    inputs.planning = planning;
    if (!planning) {
        inputs.recorder = {64 << 20, 0};
    }
    inputs.user.pulseCoherentMode = pulseCoherent ? 1 : 0;
    return inputs;
}

DeploymentPlanner Opened(const planning::PlannerInputs& inputs) {
    DeploymentPlanner planner;
    planner.open(inputs, kNow);
    return planner;
}

// Typed as on the command line; a value this system refuses is typed back to what the box held,
// so it is simply not part of the plan.
void TypeAll(DeploymentPlanner& planner, const std::vector<std::string>& settings) {
    for (const std::string& text : settings) {
        const auto parsed = operations::ParseSettingArgument(text);
        ASSERT_TRUE(parsed.setting) << text;
        const operations::SettingRow& row = operations::SettingRowOf(parsed.setting->name);
        const std::string held = row.shown.text(planner);
        if (!operations::ApplySetting(planner, *parsed.setting).accepted && row.entry.planner &&
            row.words.empty()) {
            auto back = *parsed.setting;
            back.value = held;
            static_cast<void>(operations::ApplySetting(planner, back));
        }
    }
}

std::string Saved(const DeploymentPlanner& planner) {
    const operations::PlanText text = operations::FormatPlan(planner, kOrigin);
    EXPECT_FALSE(text.error) << text.error->reason;
    return text.text;
}

operations::PlanOpened Open(DeploymentPlanner& planner, const std::string& text) {
    const operations::PlanRead read = ReadPlan(text);
    if (!read.plan) {
        operations::PlanOpened refused;
        refused.error = read.error;
        return refused;
    }
    return OpenPlan(planner, *read.plan);
}

// Everything the window shows of the settings: every row's label and text, the estimates.
std::vector<std::string> Shown(const DeploymentPlanner& planner) {
    std::vector<std::string> shown;
    for (const operations::SettingRow& row : operations::SettingsTable()) {
        shown.push_back(row.shown.label(planner) + " " + row.shown.text(planner));
    }
    for (const std::string* text :
         {&planner.rangeText(), &planner.capacityText(), &planner.powerDrawText(),
          &planner.powerText(), &planner.freeSpaceText()}) {
        shown.push_back(*text);
    }
    return shown;
}

const std::vector<std::string> kEdits{"file-name=HARB1",
                                      "comment1=Harbour mouth, 12 m",
                                      "comment2= two blanks  ",
                                      "comment3=\"quoted\"",
                                      "start=2027/01/15 12:00:00",
                                      "averaging-interval=120",
                                      "profiling-interval=900",
                                      "coordinate-system=xyz",
                                      "cells=12",
                                      "cell-size=0.75",
                                      "blanking=0.4",
                                      "output-mode=polled",
                                      "battery-type=lithium",
                                      "battery-packs=2",
                                      "temperature-mode=user",
                                      "temperature=12.5",
                                      "salinity=31",
                                      "burst-mode=enabled",
                                      "burst-interval=3600",
                                      "profiles-per-burst=10",
                                      "wave-every=2",
                                      "wave-rate=2",
                                      "wave-length=512",
                                      "wave-type=p"};

using Case = std::tuple<int, model::UnitSystem, bool, bool>;
class PlanRoundTrip : public ::testing::TestWithParam<Case> {};

// Saved from one planner and opened into a fresh one on the same system: the same window, the
// same "&Deploy" result, and the same file when saved again.
TEST_P(PlanRoundTrip, GivesTheSameStateAndTheSameFile) {
    const auto [frequency, units, pulseCoherent, planning] = GetParam();
    const auto inputs = Inputs(frequency, units, pulseCoherent, planning);
    DeploymentPlanner made = Opened(inputs);
    TypeAll(made, kEdits);
    ASSERT_FALSE(made.plannedDurationChanged("120.5"));
    const std::string file = Saved(made);

    DeploymentPlanner fresh = Opened(inputs);
    const auto opened = Open(fresh, file);
    ASSERT_TRUE(opened.ok()) << opened.error->reason;
    EXPECT_TRUE(opened.warnings.empty());
    EXPECT_EQ(Shown(fresh), Shown(made));
    for (const operations::SettingRow& row : operations::SettingsTable()) {
        if (row.shown.selection != nullptr) {
            EXPECT_EQ(row.shown.selection(fresh), row.shown.selection(made)) << row.key;
        }
    }
    EXPECT_EQ(Saved(fresh), file);
    EXPECT_EQ(fresh.plannedDays(), 120.5);
    const auto expected = made.deploy();
    const auto got = fresh.deploy();
    EXPECT_EQ(got.value, expected.value);
    EXPECT_EQ(got.message, expected.message);
}

INSTANTIATE_TEST_SUITE_P(EverySystem, PlanRoundTrip,
                         ::testing::Combine(::testing::Range(0, 7),
                                            ::testing::Values(model::kMetricUnits,
                                                              model::kEnglishUnits),
                                            ::testing::Bool(), ::testing::Bool()));

TEST(PlanFile, NamesItsGroupsAndWritesTheHeaderFirst) {
    DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, true));
    const std::string file = Saved(planner);
    EXPECT_EQ(file.rfind("# DeployQpx deployment plan\nunits = metric\nfrequency = 1500\n"
                         "pulse-coherent = no\nrecorder-mb = 85\nwaves = directional\n"
                         "instrument = QPX 4711\nmade = 2026/12/09 10:15:00 +01:00\n",
                         0),
              0u)
        << file;
    std::size_t at = 0;
    for (const char* group :
         {"# System Deployment", "# Comments", "# Power Management", "# Sound Speed Settings",
          "# Configure Burst Mode", "# Waves Series Settings"}) {
        at = file.find(std::string("\n") + group + "\n", at);
        EXPECT_NE(at, std::string::npos) << group;
    }
}

struct BadFile {
    const char* what;
    std::string text;
    int line;
    std::string reason; // the start of it
};

// Each refused with its line and reason, and the planner keeps every value it had.
TEST(PlanFile, RefusesABadFileAndKeepsThePlanner) {
    const std::string units = "units = metric\n";
    const std::vector<BadFile> bad{
        {"unknown key", units + "cells = 10\ncolour = red\n", 3, "Unknown setting \"colour\""},
        {"bad number", units + "cells = 10\nblanking = one\n", 3, "blanking = one: "},
        {"out of range", units + "cells = 10\nsalinity = 61\n", 3, "salinity = 61: "},
        {"value refused", units + "cells = 10\ncell-size = 0\n", 3, "cell-size = 0: "},
        {"list word", units + "battery-type = nuclear\n", 2, "battery-type takes one of"},
        {"duplicate", units + "cells = 10\n\ncells = 11\n", 4,
         "cells is given twice (first on line 2)."},
        {"duplicate header", units + "UNITS = english\n", 2, "units is given twice"},
        {"missing =", units + "cells 10\n", 2, "\"cells 10\" is not a setting"},
        {"overlong line", units + "comment1 = " + std::string(2000, 'x') + "\n", 2,
         "the line is longer than 1024 bytes."},
        {"oversized file", units + std::string(70000, '#'), 0, "the file is larger than 65536"},
        {"invalid UTF-8", units + "comment1 = caf\xC3\n", 2, "the line is not UTF-8 text."},
        {"overlong UTF-8", units + "comment1 = \xC0\xAF\n", 2, "the line is not UTF-8 text."},
        {"binary",
         std::string("\x7F"
                     "ELF\x02\x01\x01\x00\x00\x00",
                     10),
         1, "the line holds a control character"},
        {"no units", "cells = 10\n", 0, "the file has no \"units\" line"},
        {"bad units", "units = furlongs\n", 1, "units takes metric or english"},
        {"bad frequency", units + "frequency = 600\n", 2, "frequency takes 3000, 1500"},
        {"bad start", units + "start = 2027/02/30 12:00:00\n", 2, "start takes"},
        {"no planned days", units + "planned-days = 0\n", 2, "planned-days takes a number"},
        {"planned days not a number", units + "planned-days = 12x\n", 2, "planned-days takes"},
    };
    for (const BadFile& file : bad) {
        SCOPED_TRACE(file.what);
        DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, false));
        const std::string before = Saved(planner);
        const auto opened = Open(planner, file.text);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error->line, file.line);
        EXPECT_EQ(opened.error->reason.rfind(file.reason, 0), 0u) << opened.error->reason;
        EXPECT_EQ(Saved(planner), before);
    }
}

TEST(PlanFile, ARefusedValueNamesTheFileTheLineAndThePlannersOwnMessage) {
    DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, false));
    const auto opened = Open(planner, "units = metric\ncell-size = 0\n");
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error->setting, SettingId::CellSize);
    DeploymentPlanner typed = Opened(Inputs(1, model::kMetricUnits, false, false));
    const auto message = typed.cellSizeChanged("0");
    ASSERT_TRUE(message);
    EXPECT_EQ(operations::PlanErrorText("harbour.qpxplan", *opened.error),
              "harbour.qpxplan, line 2: cell-size = 0: " + message->text);
}

struct Conversion {
    model::UnitSystem fileUnits;
    std::string line;
    std::string typed; // what the planner's own unit gives for it, typed into the box
};

// A value in the other unit system is entered as the planner would show it in its own.
TEST(PlanFile, ConvertsLengthsAndTheTemperatureFromTheOtherUnitSystem) {
    const std::vector<Conversion> conversions{
        {model::kEnglishUnits, "cell-size = 3.28", "cell-size=1"},
        {model::kEnglishUnits, "blanking = 1.64", "blanking=0.5"},
        {model::kEnglishUnits, "temperature = 68", "temperature=20"},
        {model::kEnglishUnits, "temperature = 50.9", "temperature=10.5"},
        {model::kMetricUnits, "cell-size = 1", "cell-size=3.28"},
        {model::kMetricUnits, "blanking = 0.5", "blanking=1.64"},
        {model::kMetricUnits, "temperature = 20", "temperature=68"},
        {model::kMetricUnits, "temperature = 10.5", "temperature=50.9"},
    };
    for (const Conversion& c : conversions) {
        SCOPED_TRACE(c.line);
        const model::UnitSystem planner =
            model::IsMetric(c.fileUnits) ? model::kEnglishUnits : model::kMetricUnits;
        const auto inputs = Inputs(1, planner, false, false);
        DeploymentPlanner opened = Opened(inputs);
        const std::string units = model::IsMetric(c.fileUnits) ? "metric" : "english";
        const auto result =
            Open(opened, "units = " + units + "\ntemperature-mode = user\n" + c.line + "\n");
        ASSERT_TRUE(result.ok()) << result.error->reason;
        DeploymentPlanner typed = Opened(inputs);
        TypeAll(typed, {"temperature-mode=user", c.typed});
        EXPECT_EQ(Shown(opened), Shown(typed));
        EXPECT_EQ(opened.deploy().value, typed.deploy().value);
    }
}

// What the planner shows disabled is not refused: it is left as it is, with a note that says so.
TEST(PlanFile, SkipsDisabledSettingsWithANote) {
    DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, true));
    const auto opened = Open(planner, "units = metric\ncomment1 = On deck\n"
                                      "temperature-mode = measured\ntemperature = 4\n"
                                      "burst-interval = 60\ncells = 12\n");
    ASSERT_TRUE(opened.ok()) << opened.error->reason;
    ASSERT_EQ(opened.notes.size(), 3u);
    EXPECT_EQ(opened.notes[0].rfind("line 2: comment1 not entered: ", 0), 0u) << opened.notes[0];
    EXPECT_EQ(opened.notes[1].rfind("line 4: temperature not entered: ", 0), 0u);
    EXPECT_EQ(opened.notes[2].rfind("line 5: burst-interval not entered: ", 0), 0u);
    EXPECT_EQ(planner.commentText(0), "");
    EXPECT_EQ(planner.cellsText(), "12");
}

TEST(PlanFile, WarnsOfAPlanMadeForAnotherFrequencyOrKindOfSystem) {
    DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, false));
    const auto opened =
        Open(planner, "units = metric\nfrequency = 600\n"); // refused: not a frequency
    EXPECT_FALSE(opened.ok());
    const auto other = Open(planner, "units = metric\nfrequency = 3000\npulse-coherent = yes\n");
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(other.warnings.size(), 2u);
    EXPECT_EQ(other.warnings[0].rfind("The plan was made for a 3000 kHz system; this one is "
                                      "1500 kHz.",
                                      0),
              0u)
        << other.warnings[0];
    EXPECT_EQ(other.warnings[1].rfind("The plan was made for a PC-QPX; this system is not one.", 0),
              0u);
}

TEST(PlanFile, TheHeaderDescribesThePlanningSystem) {
    const auto read = ReadPlan("units = english\nfrequency = 500\nrecorder-mb = 340\n"
                               "waves = non-directional\n");
    ASSERT_TRUE(read.plan);
    const planning::SystemChoice choice = operations::PlanningChoice(read.plan->header, {});
    EXPECT_EQ(choice, (planning::SystemChoice{3, 340, 1}));
    const auto bare = ReadPlan("units = metric\n");
    EXPECT_EQ(operations::PlanningChoice(bare.plan->header, {5, 20, 2}),
              (planning::SystemChoice{5, 20, 2}));
}

// The commands a connected plan would send are the upload's; planning mode sends every one.
TEST(PlanFile, CommandLinesAreTheUploadsOwn) {
    const auto inputs = Inputs(1, model::kMetricUnits, false, false);
    DeploymentPlanner connected = Opened(inputs);
    TypeAll(connected, {"cells=12", "start=2027/01/15 12:00:00"});
    const auto lines = operations::PlannedCommandLines(connected, inputs.user);
    ASSERT_TRUE(lines.ok()) << lines.message->text;
    EXPECT_EQ(*lines.value,
              (std::vector<std::string>{"StartDate 2027/01/15", "StartTime 12:00:00", "nc 12",
                                        "of ascii", "AutoSleep on", "SaveSetup"}));

    DeploymentPlanner planning = Opened(Inputs(1, model::kMetricUnits, false, true));
    const auto all = operations::PlannedCommandLines(planning, inputs.user);
    ASSERT_TRUE(all.ok());
    for (const char* command :
         {"Deployment DEF", "Comments", "nc 20", "cs 1.00", "om Auto", "wst PUV_SERIES"}) {
        EXPECT_NE(std::find(all.value->begin(), all.value->end(), command), all.value->end())
            << command;
    }

    TypeAll(connected, {"profiling-interval=1"});
    EXPECT_FALSE(operations::PlannedCommandLines(connected, inputs.user).ok());
}

} // namespace
} // namespace qpx::test

namespace qpx::test {
namespace {

// A downloaded comment may hold any byte: what a plan file could not give back is refused with
// the setting named, never written changed; who made the plan is only shown, with '?' for them.
TEST(PlanFile, ValuesAFileCannotKeepAreRefusedAndTheOriginMadePrintable) {
    for (const std::string& comment :
         {std::string("Pier\n4"), std::string("Pier \x01"), std::string("caf\xE9")}) {
        DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, false));
        planner.commentChanged(1, comment);
        const auto text = operations::FormatPlan(planner, kOrigin);
        ASSERT_TRUE(text.error);
        EXPECT_EQ(text.error->setting, SettingId::Comment2);
        EXPECT_EQ(text.error->reason.rfind("comment2 holds a character", 0), 0u);
    }
    DeploymentPlanner planner = Opened(Inputs(1, model::kMetricUnits, false, false));
    const auto text = operations::FormatPlan(planner, {"47\n11\xFF", "now"});
    ASSERT_FALSE(text.error);
    EXPECT_NE(text.text.find("\ninstrument = 47?11?\n"), std::string::npos);
    EXPECT_TRUE(ReadPlan(text.text).plan);
}

} // namespace
} // namespace qpx::test
