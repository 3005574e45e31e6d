#include "cli/SettingApplication.h"
#include "link/ProgressView.h"
#include "operations/ChangeDetection.h"
#include "operations/SettingsTable.h"
#include "operations/Upload.h"
#include "planning/DeploymentPlanner.h"
#include "planning/PlanDeployment.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::SettingId;
using operations::SettingRow;

constexpr int kMetric = 1;
constexpr int kEnglish = 2;

planning::PlannerInputs Connected(int unitSystem, bool pulseCoherent) {
    planning::SystemChoice choice;
    choice.wavesOption = 2;
    choice.recorderSizeMegabytes = 32;
    auto inputs = planning::PlanDeployment(unitSystem, choice);
    inputs.planning = false;
    inputs.recorder = {64 << 20, 0};
    inputs.user.pulseCoherentMode = pulseCoherent ? 1 : 0;
    // An hour between profiles leaves room for the default wave series.
    inputs.user.profilingInterval = pulseCoherent ? 36000 : 3600;
    // A short profile, within a PC-QPX's range whatever one row changes.
    inputs.user.numberOfCells = 5;
    inputs.user.cellSize = 25;
    // Waves off until a row turns them on, with a short series.
    inputs.user.waveInterval = 0;
    inputs.user.waveSamples = 256;
    return inputs;
}

// What typing `value` into a row's box must send. A PC-QPX expectation, where given, holds in
// both unit systems (the rows it differs for have no length or temperature). "!" starts the
// refusal the box gives instead.
struct RoundTrip {
    SettingId id;
    std::vector<std::string> before; // what must be typed first for the box to be enabled
    std::string value;
    std::string metric;
    std::string english;
    std::string pulseCoherent;
};

const std::vector<RoundTrip>& RoundTrips() {
    static const std::vector<RoundTrip> trips{
        {SettingId::AveragingInterval,
         {"wave-every=0"},
         "3",
         "ai         3",
         "ai         3",
         "ai        30"},
        {SettingId::ProfilingInterval,
         {},
         "600",
         "pri       600",
         "pri       600",
         "pri      6000"},
        {SettingId::CoordinateSystem,
         {},
         "xyz",
         "Cy XYZ",
         "Cy XYZ",
         "!A PC-QPX always profiles in beam coordinates."},
        {SettingId::Cells, {}, "30", "nc 30", "nc 30", ""},
        // Feet become centimetres through metres: 1 ft is 30.48 cm, sent as 0.30 m.
        {SettingId::CellSize, {}, "1", "cs 1.00", "cs 0.30", ""},
        {SettingId::Blanking, {}, "2", "bd 2.00", "bd 0.61", ""},
        {SettingId::OutputMode, {}, "polled", "om Polled", "om Polled", ""},
        {SettingId::TemperatureMode, {}, "measured", "TempMode Measured", "TempMode Measured", ""},
        {SettingId::Temperature,
         {"temperature-mode=user"},
         "50",
         "Temp     50.00",
         "Temp     10.00",
         ""},
        {SettingId::Salinity, {}, "35", "Sal     35.00", "Sal     35.00", ""},
        {SettingId::BurstMode, {}, "enabled", "bm Enabled", "bm Enabled", ""},
        {SettingId::BurstInterval,
         {"burst-mode=enabled"},
         "600",
         "bi       600",
         "bi       600",
         ""},
        {SettingId::ProfilesPerBurst,
         {"burst-mode=enabled"},
         "20",
         "sb        20",
         "sb        20",
         ""},
        {SettingId::WaveEvery, {}, "3", "rws 3", "rws 3", ""},
        {SettingId::WaveRate, {"wave-every=3"}, "2", "wsr 2", "wsr 2", ""},
        {SettingId::WaveLength, {"wave-every=3"}, "1024", "wsl 1024", "wsl 1024", ""},
        {SettingId::WaveType, {"wave-every=3"}, "puv", "wst PUV_SERIES", "wst PUV_SERIES", ""},
    };
    return trips;
}

cli::SettingOutcome Type(planning::DeploymentPlanner& planner, const std::string& text) {
    const auto parsed = cli::ParseSettingArgument(text);
    EXPECT_TRUE(parsed.setting) << text << ": " << parsed.error;
    return parsed.setting ? cli::ApplySetting(planner, *parsed.setting) : cli::SettingOutcome{};
}

struct Mode {
    int unitSystem;
    bool pulseCoherent;
};

class EveryRow : public ::testing::TestWithParam<Mode> {};

// Typed into the planner through the row's box, accepted, compared with a downloaded setup that
// holds none of the values, and sent as exactly the row's command under the row's label.
TEST_P(EveryRow, RoundTripsFromItsBoxToItsCommand) {
    const Mode mode = GetParam();
    for (const SettingRow& row : operations::SettingsTable()) {
        if (row.command == nullptr || row.key.empty()) {
            continue;
        }
        const auto trip = std::find_if(RoundTrips().begin(), RoundTrips().end(),
                                       [&](const RoundTrip& t) { return t.id == row.id; });
        ASSERT_NE(trip, RoundTrips().end()) << row.key << " has no round trip";
        std::string expected = mode.unitSystem == kMetric ? trip->metric : trip->english;
        if (mode.pulseCoherent && !trip->pulseCoherent.empty()) {
            expected = trip->pulseCoherent;
        }
        SCOPED_TRACE(std::string(row.key));

        planning::DeploymentPlanner planner;
        planner.open(Connected(mode.unitSystem, mode.pulseCoherent));
        for (const auto& first : trip->before) {
            ASSERT_TRUE(Type(planner, first).accepted) << first;
        }
        const auto outcome = Type(planner, std::string(row.key) + "=" + trip->value);
        if (expected.starts_with('!')) {
            EXPECT_FALSE(outcome.accepted);
            EXPECT_EQ(outcome.message, expected.substr(1));
            continue;
        }
        ASSERT_TRUE(outcome.accepted) << outcome.message;
        const auto deploy = planner.deploy();
        ASSERT_TRUE(deploy.value) << deploy.message->text;

        model::UserSetup downloaded{};
        downloaded.pulseCoherentMode = mode.pulseCoherent ? 1 : 0;
        const auto changes = operations::DetectChanges(*deploy.value, downloaded);
        EXPECT_TRUE(changes.flags.marked(*row.item));
        const auto commands = operations::SettingsCommands(changes);
        const operations::UploadCommand sent{link::StepLabel(row.stepName), expected,
                                             std::string(row.stepName)};
        EXPECT_NE(std::find(commands.begin(), commands.end(), sent), commands.end()) << expected;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, EveryRow,
                         ::testing::Values(Mode{kMetric, false}, Mode{kEnglish, false},
                                           Mode{kMetric, true}, Mode{kEnglish, true}));

// The rows that go out by steps of their own, or not at all, store what was typed.
TEST(SettingsTable, RowsWithoutACommandKeepWhatWasTyped) {
    planning::DeploymentPlanner planner;
    planner.open(Connected(kMetric, false));
    for (const char* text : {"file-name=ABCD", "comment2=Mooring 4", "start=2002/01/02 03:04:05",
                             "battery-type=lithium", "battery-packs=2"}) {
        EXPECT_TRUE(Type(planner, text).accepted) << text;
    }
    const auto deploy = planner.deploy();
    ASSERT_TRUE(deploy.value) << deploy.message->text;
    const auto changes = operations::DetectChanges(*deploy.value, model::UserSetup{});
    EXPECT_TRUE(changes.flags.marked(operations::ChangeItem::DeploymentName));
    EXPECT_TRUE(changes.flags.marked(operations::ChangeItem::Comments));
    EXPECT_TRUE(changes.flags.marked(operations::ChangeItem::StartDateTime));
    EXPECT_EQ(std::string(changes.userSetup.deploymentName.data()), "ABCD");
    EXPECT_EQ(std::string(changes.userSetup.comment2.data()), "Mooring 4");
    EXPECT_EQ(deploy.value->start, (link::CalendarTime{2002, 1, 2, 3, 4, 5}));
    for (SettingId battery : {SettingId::BatteryType, SettingId::BatteryPacks}) {
        EXPECT_FALSE(operations::SettingRowOf(battery).item);
    }
}

// Every row is found under its own id, only the recorder box has no command-line key, every keyed
// row reaches the planner through exactly one event, and every row can be shown.
TEST(SettingsTable, RowsStandInTheirOwnPlaces) {
    const auto rows = operations::SettingsTable();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(rows[i].id), i);
        EXPECT_EQ(rows[i].key.empty(), rows[i].id == SettingId::RecorderEnabled);
        EXPECT_EQ(rows[i].stepName.empty(), rows[i].command == nullptr) << rows[i].key;
        const operations::SettingEntry& entry = rows[i].entry;
        const int events = int{entry.planner != nullptr} + int{entry.advanced != nullptr} +
                           int{entry.waves != nullptr};
        EXPECT_EQ(events, rows[i].key.empty() ? 0 : 1) << rows[i].key;
        EXPECT_TRUE(rows[i].shown.label != nullptr && rows[i].shown.text != nullptr);
        EXPECT_FALSE(operations::ReportName(rows[i]).empty());
    }
}

} // namespace
} // namespace qpx::test
