#include "planning/DeploymentPlanner.h"

#include "model/DisplayConversions.h"
#include "model/TextFormat.h"
#include "operations/ChangeDetection.h"
#include "planning/DefaultStructures.h"
#include "planning/SystemLimits.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace qpx::planning;

PlannerInputs Defaults(int frequency, int unitSystem = 1, int wavesOption = 0) {
    PlannerInputs in;
    in.system = MakeDefaultSystemConfiguration(frequency);
    in.user = MakeDefaultUserSetup(frequency);
    ApplyWavesOption(in.user, wavesOption);
    in.operation = MakeDefaultOperationConfiguration(frequency);
    in.unitSystem = unitSystem;
    in.wavesOption = wavesOption;
    in.planning = true;
    in.planningRecorderBytes = 5242880;
    return in;
}

// The same structures as if downloaded from an instrument with a 5 MB card, nothing used.
PlannerInputs Connected(int frequency, int unitSystem = 1, int wavesOption = 0) {
    PlannerInputs in = Defaults(frequency, unitSystem, wavesOption);
    in.planning = false;
    in.recorder = {5242880 + 416, 0};
    return in;
}

DeploymentPlanner Opened(const PlannerInputs& in) {
    DeploymentPlanner planner;
    planner.open(in);
    return planner;
}

int Centimetres(float metres) {
    return static_cast<int>(std::lround(metres * 100.0f));
}

TEST(DeploymentPlanner, PlanningDefaultsAt1500kHz) {
    const DeploymentPlanner p = Opened(Defaults(1));
    EXPECT_EQ(p.fileNameText(), "DEF");
    EXPECT_EQ(p.averagingText(), "120");
    EXPECT_EQ(p.profilingText(), "1200");
    EXPECT_EQ(p.cellsText(), "20");
    EXPECT_EQ(p.cellSizeText(), "1");
    EXPECT_EQ(p.blankingText(), "0.4");
    EXPECT_EQ(p.cellSizeLabel(), "Cell Size (m):");
    EXPECT_EQ(p.blankingLabel(), "Blanking Distance (m):");
    EXPECT_EQ(p.rangeText(), "Profiling Range:   0.90 -  20.90 m");
    EXPECT_EQ(p.capacityText(), "604.8");
    EXPECT_EQ(p.powerDrawText(), "2.50");
    EXPECT_EQ(p.powerText(), "Power is sufficient for 101 days of operation");
    EXPECT_EQ(p.assistantButtonText(), "<<<        Show Profile Assistant");
    EXPECT_EQ(p.recorderEnabledSelection(), 1);
    EXPECT_EQ(p.batteryTypeSelection(), 0);
    EXPECT_EQ(p.batteryPacksText(), "1");

    EXPECT_FALSE(p.deployEnabled());
    EXPECT_FALSE(p.plainFieldsEnabled());
    EXPECT_FALSE(p.coordinateEnabled());
    EXPECT_FALSE(p.outputModeEnabled());
    EXPECT_FALSE(p.instrumentButtonsEnabled());
    EXPECT_FALSE(p.pcQpxEnabled());
    EXPECT_FALSE(p.wavesEnabled());
}

TEST(DeploymentPlanner, PlanningWithoutTheWavesOptionRecordsNoWaveSeries) {
    // The default UserSetup keeps waveInterval 4, but no wave series will be recorded.
    const DeploymentPlanner planning = Opened(Defaults(1));
    ASSERT_TRUE(planning.freeSpaceDays());
    EXPECT_NEAR(*planning.freeSpaceDays(), 226.1f, 0.1f);
    EXPECT_EQ(planning.freeSpaceText(), "226.14 days of Data Collection remaining.");

    // Connected, an instrument's own setup counts as it is.
    const DeploymentPlanner connected = Opened(Connected(1));
    EXPECT_NEAR(*connected.freeSpaceDays(), 66.8f, 0.1f);

    // With the option the series is recorded in planning mode too.
    const DeploymentPlanner directional = Opened(Defaults(1, 1, 2));
    EXPECT_TRUE(directional.wavesEnabled());
    EXPECT_LT(*directional.freeSpaceDays(), 100.0f);
}

TEST(DeploymentPlanner, PulseCoherentIntervalsAreTenths) {
    PlannerInputs in = Connected(1);
    in.user.pulseCoherentMode = 1;
    in.user.averagingInterval = 10;
    in.user.profilingInterval = 600;
    in.user.waveInterval = 0;  // the default series would not fit in 60 s
    in.user.numberOfCells = 5; // the PC-QPX range at 1500 kHz is 10 m
    in.system.compassInstalled = 1;
    DeploymentPlanner p = Opened(in);
    EXPECT_EQ(p.averagingText(), "1");
    EXPECT_EQ(p.profilingText(), "60");
    EXPECT_EQ(p.coordinateSelection(), 0);
    EXPECT_EQ(p.coordinateList()[static_cast<std::size_t>(p.coordinateSelection())], "    Beam");
    EXPECT_FALSE(p.coordinateEnabled());
    EXPECT_TRUE(p.pcQpxEnabled());

    const auto result = p.deploy();
    ASSERT_TRUE(result.value) << result.message->text;
    EXPECT_TRUE(result.value->pulseCoherent);
    EXPECT_EQ(std::lround(result.value->averagingInterval * 10.0f), 10);
    EXPECT_EQ(std::lround(result.value->profilingInterval * 10.0f), 600);
    EXPECT_EQ(result.value->coordinateIndex, 0);

    // 0.7 s, the kind of value only tenths carry.
    in.user.averagingInterval = 7;
    p.open(in);
    EXPECT_EQ(p.averagingText(), "0.7");
    EXPECT_EQ(std::lround(p.deploy().value->averagingInterval * 10.0f), 7);
}

TEST(DeploymentPlanner, EnglishUnitsShowTruncatedFeet) {
    PlannerInputs in = Connected(0, 0);
    in.user.cellSize = 50;
    const DeploymentPlanner p = Opened(in);
    EXPECT_EQ(p.cellSizeText(), "1.64"); // 1.64042, not 1.65
    EXPECT_EQ(p.blankingText(), "0.65"); // 20 cm: 0.656168
    EXPECT_EQ(p.cellSizeLabel(), "Cell Size (ft):");
    EXPECT_EQ(p.blankingLabel(), "Blanking Distance (ft):");
    EXPECT_EQ(p.rangeText(), "Profiling Range:   1.47 -  21.15 ft");
    EXPECT_EQ(p.assistant().limits().maxRange, 32.8f);
}

TEST(DeploymentPlanner, TypedEnglishBlankingIsConvertedAndChecked) {
    DeploymentPlanner p = Opened(Connected(1, 0));
    EXPECT_EQ(p.blankingText(), "1.31");
    EXPECT_FALSE(p.blankingChanged("1.3"));
    EXPECT_FALSE(p.blankingChanged("1.31"));
    const auto result = p.deploy();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->focusId, kBlankingBoxId);
    EXPECT_TRUE(result.message->selectText);
}

TEST(DeploymentPlanner, MetricValuesComeBackToTheirCentimetres) {
    PlannerInputs in = Connected(1);
    in.user.cellSize = 35;
    DeploymentPlanner p = Opened(in);
    EXPECT_EQ(p.cellSizeText(), "0.35");
    auto result = p.deploy();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(Centimetres(result.value->cellSize), 35);
    EXPECT_FALSE(p.cellSizeChanged("0.36"));
    result = p.deploy();
    EXPECT_EQ(Centimetres(result.value->cellSize), 36);
}

struct LiveCase {
    std::optional<DialogMessage> (DeploymentPlanner::*event)(std::string);
    const std::string& (DeploymentPlanner::*text)() const;
    const char* message;
};

class LiveChecks : public ::testing::TestWithParam<LiveCase> {};

TEST_P(LiveChecks, KeepThePreviousValue) {
    const LiveCase& c = GetParam();
    DeploymentPlanner p = Opened(Connected(1));
    const std::string range = p.rangeText();
    const std::string freeSpace = p.freeSpaceText();
    const std::string power = p.powerText();

    EXPECT_FALSE((p.*c.event)("")); // a cleared box changes nothing
    for (const char* text : {"0", ".", "-", "-2", "abc"}) {
        const auto message = (p.*c.event)(text);
        ASSERT_TRUE(message) << text;
        EXPECT_EQ(message->text, c.message);
        EXPECT_EQ((p.*c.text)(), text); // the box keeps what was typed
    }
    EXPECT_EQ(p.rangeText(), range);
    EXPECT_EQ(p.freeSpaceText(), freeSpace);
    EXPECT_EQ(p.powerText(), power);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, LiveChecks,
    ::testing::Values(
        LiveCase{&DeploymentPlanner::averagingIntervalChanged, &DeploymentPlanner::averagingText,
                 "Averaging Interval must be greater than 0."},
        LiveCase{&DeploymentPlanner::profilingIntervalChanged, &DeploymentPlanner::profilingText,
                 "Profiling Interval must be greater than 0."},
        LiveCase{&DeploymentPlanner::cellsChanged, &DeploymentPlanner::cellsText,
                 "Number of Cells must be greater than 0."},
        LiveCase{&DeploymentPlanner::cellSizeChanged, &DeploymentPlanner::cellSizeText,
                 "Cell Size must be greater than 0."},
        LiveCase{&DeploymentPlanner::blankingChanged, &DeploymentPlanner::blankingText,
                 "Blanking Distance must be greater than 0."},
        LiveCase{&DeploymentPlanner::batteryPacksChanged, &DeploymentPlanner::batteryPacksText,
                 "Number of Battery Packs must be greater than 0."}));

// Each accepted value moves what depends on it and leaves the rest alone (the cell size enters
// neither estimate, though both are recomputed).
struct FollowCase {
    CheckedBox box;
    const char* text;
    bool range;
    bool power;
    bool freeSpace;
};

class AcceptedEdits : public ::testing::TestWithParam<FollowCase> {};

TEST_P(AcceptedEdits, MoveOnlyWhatDependsOnThem) {
    const FollowCase& c = GetParam();
    DeploymentPlanner p = Opened(Connected(1));
    const std::string range = p.rangeText();
    const std::string power = p.powerText();
    const std::string freeSpace = p.freeSpaceText();

    EXPECT_FALSE(p.boxEdited(c.box, c.text));
    EXPECT_EQ(p.boxText(c.box), c.text);
    EXPECT_EQ(p.rangeText() != range, c.range);
    EXPECT_EQ(p.powerText() != power, c.power);
    EXPECT_EQ(p.freeSpaceText() != freeSpace, c.freeSpace);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, AcceptedEdits,
    ::testing::Values(FollowCase{CheckedBox::Averaging, "2400", false, true, true},
                      FollowCase{CheckedBox::Profiling, "600", false, true, true},
                      FollowCase{CheckedBox::Cells, "10", true, false, true},
                      FollowCase{CheckedBox::CellSize, "0.5", true, false, false},
                      FollowCase{CheckedBox::Blanking, "1", true, false, false},
                      FollowCase{CheckedBox::BatteryPacks, "3", false, true, false}));

TEST(DeploymentPlanner, EditsUpdateWhatDependsOnThem) {
    DeploymentPlanner p = Opened(Connected(1));
    EXPECT_FALSE(p.cellsChanged("10"));
    EXPECT_EQ(p.rangeText(), "Profiling Range:   0.90 -  10.90 m");
    const float tenCells = *p.freeSpaceDays();
    EXPECT_FALSE(p.cellsChanged("40"));
    EXPECT_LT(*p.freeSpaceDays(), tenCells);

    EXPECT_FALSE(p.cellSizeChanged("0.5"));
    EXPECT_FALSE(p.blankingChanged("1"));
    EXPECT_EQ(p.rangeText(), "Profiling Range:   1.25 -  21.25 m");

    EXPECT_FALSE(p.averagingIntervalChanged("60"));
    EXPECT_FALSE(p.profilingIntervalChanged("600"));
    EXPECT_EQ(p.powerText(), "Power is sufficient for 101 days of operation");
    // Averaging beyond profiling: the free space is counted on the averaging interval.
    const float at600 = *p.freeSpaceDays();
    EXPECT_FALSE(p.averagingIntervalChanged("1200"));
    EXPECT_NEAR(*p.freeSpaceDays(), at600 * 2.0f, 0.01f);

    EXPECT_FALSE(p.batteryPacksChanged("2"));
    p.batteryTypeSelected(1);
    EXPECT_EQ(p.capacityText(), "2903.0");
}

TEST(DeploymentPlanner, BatteryChoiceSurvivesReopening) {
    DeploymentPlanner p = Opened(Defaults(1));
    p.batteryTypeSelected(1);
    EXPECT_FALSE(p.batteryPacksChanged("2"));
    p.cellsChanged("5");
    p.open(Connected(0));
    EXPECT_EQ(p.batteryTypeSelection(), 1);
    EXPECT_EQ(p.batteryPacksText(), "2");
    EXPECT_EQ(p.capacityText(), "2903.0");
    EXPECT_EQ(p.cellsText(), "12"); // everything else reloads
    EXPECT_EQ(p.powerDrawText(), "3.00");
}

TEST(DeploymentPlanner, ConnectedFieldsFromTheUserSetup) {
    PlannerInputs in = Connected(1);
    in.user.startDate = {2001, 4, 7};
    in.user.startTime = {5, 9, 0, 0};
    in.user.recorderEnabled = 0;
    in.user.outputMode = 1;
    in.user.coordinateSystem = 1;
    in.user.comment2 = {'H', 'i'};
    const DeploymentPlanner p = Opened(in);
    EXPECT_EQ(p.startDateTimeText(), "2001/07/04,  09:05:00");
    EXPECT_EQ(p.recorderEnabledSelection(), 1);
    EXPECT_EQ(p.outputModeSelection(), 1);
    EXPECT_EQ(p.coordinateSelection(), 1);
    EXPECT_EQ(p.commentText(1), "Hi");
    EXPECT_TRUE(p.deployEnabled());
    EXPECT_TRUE(p.coordinateEnabled());
    EXPECT_EQ(p.coordinateList().size(), 2u);
}

// A start the instrument holds but no calendar has would go back to it as a wrong command
// ("StartDate 2001/04/00"); the plan starts from the computer's time instead.
TEST(DeploymentPlanner, StartNoCalendarHasBecomesTheComputersTime) {
    const qpx::link::CalendarTime now{2026, 12, 7, 13, 5, 9};
    struct Case {
        int year, month, day, hour, minute, second;
        bool kept;
    };
    for (const Case& c : {Case{2001, 4, 0, 12, 0, 0, false}, Case{2001, 2, 29, 0, 0, 0, false},
                          Case{2004, 2, 29, 0, 0, 0, true}, Case{2001, 13, 1, 0, 0, 0, false},
                          Case{2001, 4, 31, 0, 0, 0, false}, Case{2001, 4, 30, 23, 59, 59, true},
                          Case{2001, 4, 30, 24, 0, 0, false}, Case{0, 1, 1, 0, 0, 0, false}}) {
        PlannerInputs in = Connected(1);
        in.user.startDate.year = static_cast<decltype(in.user.startDate.year)>(c.year);
        in.user.startDate.month = static_cast<decltype(in.user.startDate.month)>(c.month);
        in.user.startDate.day = static_cast<decltype(in.user.startDate.day)>(c.day);
        in.user.startTime.hour = static_cast<decltype(in.user.startTime.hour)>(c.hour);
        in.user.startTime.minute = static_cast<decltype(in.user.startTime.minute)>(c.minute);
        in.user.startTime.second = static_cast<decltype(in.user.startTime.second)>(c.second);
        DeploymentPlanner p;
        p.open(in, now);
        const qpx::link::CalendarTime held{c.year, c.month, c.day, c.hour, c.minute, c.second};
        EXPECT_EQ(p.startTime(), c.kept ? held : now) << c.year << "/" << c.month << "/" << c.day;
    }
}

TEST(DeploymentPlanner, PlanningKeepsTheControlsDefaultTime) {
    DeploymentPlanner p;
    p.open(Defaults(1), qpx::link::CalendarTime{2026, 12, 7, 13, 5, 9});
    EXPECT_EQ(p.startDateTimeText(), "2026/12/07,  13:05:09");
}

TEST(DeploymentPlanner, EstimatesOfValuesNoDialogAcceptsAreUnavailable) {
    PlannerInputs in = Connected(1);
    in.user.burstMode = 1;
    in.user.burstInterval = 0;
    DeploymentPlanner p = Opened(in);
    EXPECT_EQ(p.powerText(), kUnavailableText);
    EXPECT_EQ(p.capacityText(), "604.8");

    in.user.burstInterval = 1200;
    in.user.profilesPerBurst = 0;
    in.user.averagingInterval = 10;
    in.user.profilingInterval = 100; // 100 x 10 <= 1200: the burst rule applies
    p.open(in);
    EXPECT_EQ(p.powerText(), kUnavailableText);
    EXPECT_EQ(p.freeSpaceText(), kUnavailableText);
    EXPECT_FALSE(p.freeSpaceDays());

    // A sound burst from the advanced settings brings both back.
    AdvancedBlock block = p.advancedBlock();
    block.profilesPerBurst = 2;
    p.advancedSettingsClosed(block);
    EXPECT_NE(p.powerText(), kUnavailableText);
    EXPECT_TRUE(p.freeSpaceDays());

    in.user.averagingInterval = 0;
    p.open(in);
    EXPECT_EQ(p.powerText(), "");
    EXPECT_EQ(p.capacityText(), "");
}

TEST(DeploymentPlanner, SubDialogBlocks) {
    PlannerInputs in = Connected(1, 0, 2);
    DeploymentPlanner p = Opened(in);
    EXPECT_EQ(p.advancedBlock(), (AdvancedBlock{1, 20.0f, 34.5f, 0, 1200.0f, 1}));
    EXPECT_EQ(p.waveBlock(), (WaveBlock{4, 0, 2, 1024})); // 0x10: PUV
    EXPECT_EQ(p.unitSystem(), 0);
    EXPECT_EQ(p.wavesOption(), 2);

    const std::string before = p.freeSpaceText();
    p.wavesSettingsClosed(std::nullopt); // Cancel keeps the block
    EXPECT_EQ(p.freeSpaceText(), before);
    p.wavesSettingsClosed(WaveBlock{0, 0, 2, 1024});
    EXPECT_EQ(p.waveBlock().recordEvery, 0);
    EXPECT_NE(p.freeSpaceText(), before);

    AdvancedBlock block = p.advancedBlock();
    block.temperatureC = 15.5f;
    p.advancedSettingsClosed(block);
    const auto result = p.deploy();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(result.value->advanced.temperatureC, 15.5f);
    EXPECT_EQ(result.value->waves.recordEvery, 0);
}

TEST(DeploymentPlanner, RecorderAndPcQpxHandBack) {
    DeploymentPlanner p = Opened(Connected(1));
    p.recorderDetailsClosed({std::int64_t{4} << 30, 0});
    EXPECT_GT(*p.freeSpaceDays(), 1000.0f);
    p.recorderDetailsClosed({100000, 100000});
    EXPECT_EQ(p.freeSpaceText(), "0.0 hours of Data Collection remaining.");
    const auto full = p.deploy();
    ASSERT_TRUE(full.message);
    EXPECT_EQ(full.message->text.rfind("Recorder is FULL", 0), 0u);

    qpx::model::OperationConfiguration operation = p.operationConfiguration();
    operation.userResLag = 77;
    p.pcQpxSettingsClosed(p.systemConfiguration(), p.userSetup(), operation);
    EXPECT_EQ(p.operationConfiguration().userResLag, 77u);
}

TEST(DeploymentPlanner, DeployReadsTheScreen) {
    DeploymentPlanner p = Opened(Connected(1));
    EXPECT_TRUE(p.averagingIntervalChanged("0"));
    auto result = p.deploy();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->text, "The averaging interval should be between 1 and 43200 seconds");

    p.averagingIntervalChanged("60");
    p.fileNameChanged("");
    result = p.deploy();
    EXPECT_EQ(result.message->focusId, kFileNameBoxId);

    p.fileNameChanged("JUL01");
    p.commentChanged(2, "third");
    p.setStartTime({2001, 7, 4, 9, 5, 0});
    result = p.deploy();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(result.value->fileName, "JUL01");
    EXPECT_EQ(result.value->comments[2], "third");
    EXPECT_EQ(result.value->start, (qpx::link::CalendarTime{2001, 7, 4, 9, 5, 0}));
    EXPECT_EQ(result.value->averagingInterval, 60.0f);
    EXPECT_EQ(result.value->recorderEnabledIndex, 1);
}

TEST(DeploymentPlanner, AssistantTransfer) {
    DeploymentPlanner p = Opened(Connected(1));
    EXPECT_FLOAT_EQ(p.assistant().maximumRange(), 20.9f);
    EXPECT_EQ(p.toggleAssistant(), 500);
    EXPECT_EQ(p.assistantButtonText(), "<<<        Hide Profile Assistant");

    const float before = *p.freeSpaceDays();
    p.assistant().maximumRangeChanged("20");
    EXPECT_FALSE(p.transferFromAssistant());
    EXPECT_EQ(p.cellsText(), "23");
    EXPECT_EQ(p.cellSizeText(), "0.9");
    EXPECT_EQ(p.blankingText(), "0.4");
    EXPECT_EQ(p.rangeText(), "Profiling Range:   0.85 -  21.55 m");
    // The estimates follow the transferred cells.
    EXPECT_LT(*p.freeSpaceDays(), before);

    p.assistant().maximumRangeChanged("200");
    p.open(Connected(0));
    p.assistant().maximumRangeChanged("200");
    const auto message = p.transferFromAssistant();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "Please input a valid value for Maximum Depth");
    EXPECT_EQ(p.cellsText(), "12");
}

TEST(DeploymentPlanner, EnglishAssistantTransferDeploys) {
    DeploymentPlanner p = Opened(Connected(1, 0));
    p.assistant().maximumRangeChanged("60");
    ASSERT_FALSE(p.transferFromAssistant());
    EXPECT_EQ(p.blankingText(), "1.31");
    const auto result = p.deploy();
    // The suggested blanking is the min blanking itself, not 1.31 ft converted.
    ASSERT_TRUE(result.value) << result.message->text;
    EXPECT_EQ(result.value->blanking, 0.4f);
}

// Only the start time, which is always sent, counts as changed when nobody edited anything:
// lengths shown in feet, a temperature shown in deg F and a PC-QPX's tenths all go back as they
// came.
TEST(DeploymentPlanner, UntouchedPlanChangesNothingOnTheInstrument) {
    for (int frequency = 0; frequency < 7; ++frequency) {
        for (const int units : {1, 0}) {
            for (const bool pulseCoherent : {false, true}) {
                PlannerInputs in = Connected(frequency, units);
                if (pulseCoherent) {
                    in.user.pulseCoherentMode = 1;
                    in.user.averagingInterval = 7;
                    in.user.profilingInterval = 605;
                    in.user.waveInterval = 0;
                    in.user.numberOfCells = 1;
                    in.user.coordinateSystem = 0;
                    const ProfileBounds pc = ProfileLimits(frequency, 1);
                    in.user.cellSize =
                        static_cast<std::uint16_t>(std::lround(pc.minCellSize * 100));
                    in.user.blankingDistance =
                        static_cast<std::uint16_t>(std::lround(pc.minBlanking * 100));
                }
                in.user.defaultTemperature = 203;
                if (frequency == 1 && !pulseCoherent) {
                    in.user.cellSize = 35; // the float nearest 0.35 m truncates to 34 cm
                }
                DeploymentPlanner p = Opened(in);
                const AdvancedSettings advanced = p.advancedSettings();
                p.advancedSettingsClosed(advanced.ok().value);
                p.wavesSettingsClosed(p.wavesSettings().ok().value);
                const auto result = p.deploy();
                ASSERT_TRUE(result.value)
                    << frequency << units << pulseCoherent << ": " << result.message->text;
                EXPECT_EQ(result.value->cellSize,
                          qpx::model::CentimetresToMetres(in.user.cellSize));
                // The boxes show the metres handed back as the dialog closes.
                EXPECT_EQ(p.blankingText(), qpx::model::FormatGeneral(result.value->blanking));
                const auto changes = qpx::operations::DetectChanges(*result.value, in.user);
                EXPECT_EQ(changes.changedCount(), 1) << frequency << units << pulseCoherent;
            }
        }
    }
}

// The range text sums the float values in double: in float, 0.1 + 0.31 x 0.5 comes to 0.2549999
// and showed as 0.25.
TEST(DeploymentPlanner, RangeTextRoundsTheSumsOfWhatTheBoxesShow) {
    struct Case {
        int units;
        const char* blanking;
        const char* cellSize;
        const char* expected;
    };
    for (const Case& c : {Case{1, "0.1", "0.31", "Profiling Range:   0.26 -   3.36 m"},
                          Case{0, "1", "0.55", "Profiling Range:   1.28 -   6.78 ft"}}) {
        DeploymentPlanner p = Opened(Connected(1, c.units));
        EXPECT_FALSE(p.cellsChanged("10"));
        EXPECT_FALSE(p.blankingChanged(c.blanking));
        EXPECT_FALSE(p.cellSizeChanged(c.cellSize));
        EXPECT_EQ(p.rangeText(), c.expected);
    }
}

TEST(DeploymentPlanner, CoordinateBoxShowsWhatTheInstrumentHolds) {
    struct Case {
        int compass;
        int held;
        int pulseCoherent;
        std::size_t offered; // what a plan may newly choose
        std::size_t shown;
        int selection;
    };
    for (const Case& c : {Case{0, 2, 0, 2, 3, 2}, Case{0, 0, 0, 2, 2, 0}, Case{1, 2, 0, 3, 3, 2},
                          Case{0, 2, 1, 2, 2, 0}}) {
        PlannerInputs in = Connected(1);
        in.system.compassInstalled = static_cast<std::uint8_t>(c.compass);
        in.user.coordinateSystem = static_cast<std::uint8_t>(c.held);
        in.user.pulseCoherentMode = static_cast<std::uint8_t>(c.pulseCoherent);
        const DeploymentPlanner p = Opened(in);
        EXPECT_EQ(p.coordinateList().size(), c.offered) << c.compass << c.held;
        const auto shown = p.coordinateEntries();
        ASSERT_EQ(shown.size(), c.shown) << c.compass << c.held;
        EXPECT_EQ(shown.back(), c.shown == 3 ? "     ENU" : "     XYZ");
        EXPECT_EQ(p.coordinateSelection(), c.selection) << c.compass << c.held;
    }
}

// Without a compass the held ENU is shown but only another pick changes it on the instrument.
TEST(DeploymentPlanner, HeldCoordinateSystemIsUploadedOnlyWhenChanged) {
    const PlannerInputs in = Connected(1);
    ASSERT_EQ(in.system.compassInstalled, 0);
    ASSERT_EQ(in.user.coordinateSystem, 2);
    using qpx::operations::ChangeItem;
    const auto coordinateChanged = [&](DeploymentPlanner& p) {
        const auto result = p.deploy();
        EXPECT_TRUE(result.value);
        return result.value && qpx::operations::DetectChanges(*result.value, in.user)
                                   .flags.marked(ChangeItem::CoordinateSystem);
    };
    DeploymentPlanner p = Opened(in);
    EXPECT_FALSE(coordinateChanged(p));
    p.coordinateSelected(0);
    EXPECT_TRUE(coordinateChanged(p));
    p.coordinateSelected(2); // back to the held entry
    EXPECT_FALSE(coordinateChanged(p));
    p.coordinateSelected(3); // no such entry
    EXPECT_EQ(p.coordinateSelection(), 2);
}

} // namespace
