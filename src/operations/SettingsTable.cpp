#include "operations/SettingsTable.h"

#include "model/FieldTexts.h"
#include "model/TextFormat.h"
#include "operations/SettingFields.h"
#include "planning/SystemLimits.h"

#include <algorithm>
#include <vector>

namespace qpx::operations {
namespace {

using planning::AcceptedPlan;
using planning::DeploymentPlanner;
using Detection = ChangeDetection;
using Setup = model::UserSetup;
using Text = std::optional<std::string>;

constexpr std::array<std::string_view, 3> kCoordinateWords{"beam", "xyz", "enu"};
constexpr std::array<std::string_view, 2> kOutputModeWords{"auto", "polled"};
constexpr std::array<std::string_view, 2> kBatteryWords{"alkaline", "lithium"};
constexpr std::array<std::string_view, 2> kTemperatureModeWords{"user", "measured"};
constexpr std::array<std::string_view, 2> kBurstModeWords{"disabled", "enabled"};
constexpr std::array<std::string_view, 3> kWaveRateWords{"1", "2", "4"};
constexpr std::array<std::string_view, 3> kWaveTypeWords{"none", "p", "puv"};

// The instrument's own words for the list settings, by the stored index.
constexpr std::array<std::string_view, 3> kCoordinateCommandWords{"BEAM", "XYZ", "ENU"};
constexpr std::array<std::string_view, 2> kOutputModeCommandWords = model::kOutputModeTexts;
constexpr std::array<std::string_view, 2> kTemperatureModeCommandWords =
    model::kTemperatureModeTexts;
constexpr std::array<std::string_view, 2> kBurstModeCommandWords{"Disabled", "Enabled"};
// A list index without a word never goes out as a command the instrument would refuse.
template <std::size_t N>
Text Named(const char* format, const std::array<std::string_view, N>& words, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N || words[index].empty()) {
        return std::nullopt;
    }
    return model::FormatText(format, std::string(words[index]).c_str());
}

Text Unsigned(const char* format, unsigned value) {
    return model::FormatText(format, value);
}
Text Signed(const char* format, int value) {
    return model::FormatText(format, value);
}
// A field in hundredths or tenths, sent through a float as the instrument's own firmware does.
Text Scaled(const char* format, int value, float scale) {
    return model::FormatText(format, static_cast<double>(static_cast<float>(value) * scale));
}

double IntervalUnitsPerSecond(const Setup& downloaded) {
    return downloaded.pulseCoherentMode != 0 ? 10.0 : 1.0;
}

void DetectName(const AcceptedPlan& plan, const Setup&, Detection& out) {
    if (PlanText(plan.fileName) != FieldText(out.userSetup.deploymentName)) {
        StoreText(out.userSetup.deploymentName, PlanText(plan.fileName));
        out.flags.mark(ChangeItem::DeploymentName);
    }
}

// The three comments go out together: one differing stores all three.
void DetectComments(const AcceptedPlan& plan, const Setup&, Detection& out) {
    Setup& user = out.userSetup;
    const std::array<std::array<char, 60>*, 3> fields{&user.comment1, &user.comment2,
                                                      &user.comment3};
    if (out.flags.marked(ChangeItem::Comments)) {
        return;
    }
    bool differ = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        differ = differ || PlanText(plan.comments[i]) != FieldText(*fields[i]);
    }
    if (differ) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            StoreText(*fields[i], PlanText(plan.comments[i]));
        }
        out.flags.mark(ChangeItem::Comments);
    }
}

// Rate and type go to the instrument as commands of their own; waveOptions stays as downloaded.
void DetectWaveRate(const AcceptedPlan& plan, const Setup& downloaded, Detection& out) {
    const int planned = plan.waves.rateIndex;
    out.waveRateIndex = RateIndexOf(downloaded.waveOptions);
    if (planned != out.waveRateIndex && planned >= 0 &&
        planned < static_cast<int>(kWaveRateWords.size())) {
        out.waveRateIndex = planned;
        out.flags.mark(ChangeItem::WaveSeriesRate);
    }
}

void DetectWaveType(const AcceptedPlan& plan, const Setup& downloaded, Detection& out) {
    const int planned = plan.waves.waveType;
    out.waveType = WaveTypeOf(downloaded.waveOptions);
    // Types 0, 3 and 4 have no command word: the instrument keeps its own.
    if (planned != out.waveType && planning::WaveTypeCommandWord(planned)) {
        out.waveType = planned;
        out.flags.mark(ChangeItem::WaveSeriesType);
    }
}

bool PlainFields(const DeploymentPlanner& p) {
    return p.plainFieldsEnabled();
}
bool WavesOption(const DeploymentPlanner& p) {
    return p.wavesEnabled();
}
bool WaveDetails(const DeploymentPlanner& p) {
    return p.wavesSettings().detailsEnabled();
}

constexpr SettingGate kPlainGate{PlainFields, "", true};
constexpr SettingGate kWavesGate{WavesOption,
                                 "This system has no waves option: there are no waves settings."};
constexpr SettingGate kWaveDetailsGate{
    WaveDetails, "Wave recording is off: set wave-every to a number of profiles first."};

using planning::AdvancedSettings;
using planning::WavesSettings;
using Value = SettingValue;
using Message = EntryMessage;

// The entry events of the rows. Events that cannot refuse give no message.
constexpr SettingEntry OnPlanner(Message (*event)(DeploymentPlanner&, const Value&)) {
    return SettingEntry{event};
}
constexpr SettingEntry OnAdvanced(Message (*event)(AdvancedSettings&, const Value&)) {
    return SettingEntry{nullptr, event};
}
constexpr SettingEntry OnWaves(Message (*event)(WavesSettings&, const Value&)) {
    return SettingEntry{nullptr, nullptr, event};
}

template <int Index>
Message EnterComment(DeploymentPlanner& p, const Value& v) {
    p.commentChanged(Index, v.text);
    return std::nullopt;
}

constexpr SettingEntry kFileNameEntry = OnPlanner([](DeploymentPlanner& p, const Value& v) {
    p.fileNameChanged(v.text);
    return Message{};
});
constexpr SettingEntry kStartEntry = OnPlanner([](DeploymentPlanner& p, const Value& v) {
    p.setStartTime(v.start);
    return Message{};
});
constexpr SettingEntry kCoordinateEntry{
    [](DeploymentPlanner& p, const Value& v) {
        p.coordinateSelected(v.choice);
        return Message{};
    },
    nullptr, nullptr, [](const DeploymentPlanner& p) { return p.coordinateList().size(); },
    "ENU coordinates need a compass, and this system has none."};
constexpr SettingEntry kWaveTypeEntry{
    nullptr, nullptr,
    [](WavesSettings& d, const Value& v) {
        d.typeSelected(v.choice);
        return Message{};
    },
    [](const DeploymentPlanner& p) { return p.wavesSettings().typeList().size(); },
    "PUV Series needs the directional waves option."};

// The boxes whose live check answers the typed text.
#define QPX_LIVE_CHECK(event)                                                                      \
    OnPlanner([](DeploymentPlanner& p, const Value& v) { return p.event(v.text); })
#define QPX_SELECT(dialog, event)                                                                  \
    dialog([](auto& d, const Value& v) {                                                           \
        d.event(v.choice);                                                                         \
        return Message{};                                                                          \
    })
#define QPX_TYPE(dialog, event)                                                                    \
    dialog([](auto& d, const Value& v) {                                                           \
        d.event(v.text);                                                                           \
        return Message{};                                                                          \
    })

// The text of the chosen list entry; empty when none is chosen.
template <typename List>
std::string ListEntry(const List& list, int selection) {
    if (selection < 0 || static_cast<std::size_t>(selection) >= list.size()) {
        return {};
    }
    return EntryText(list[static_cast<std::size_t>(selection)]);
}

#define QPX_SHOW(section, labelText, shownText)                                                    \
    SettingShown {                                                                                 \
        SettingSection::section,                                                                   \
            [](const DeploymentPlanner& p) {                                                       \
                static_cast<void>(p);                                                              \
                return std::string(labelText);                                                     \
            },                                                                                     \
            [](const DeploymentPlanner& p) { return std::string(shownText); }                      \
    }
// A list setting: its entry's text and its list index.
#define QPX_SHOW_LIST(section, labelText, list, chosen)                                            \
    SettingShown {                                                                                 \
        SettingSection::section, [](const DeploymentPlanner&) { return std::string(labelText); },  \
            [](const DeploymentPlanner& p) { return ListEntry(list, chosen); }, {},                \
            [](const DeploymentPlanner& p) { return chosen; }                                      \
    }
#define QPX_SHOW_NAMED(section, labelText, shownText, reportName)                                  \
    SettingShown {                                                                                 \
        SettingSection::section, [](const DeploymentPlanner&) { return std::string(labelText); },  \
            [](const DeploymentPlanner& p) { return std::string(shownText); }, reportName          \
    }

#define QPX_DETECT(expr)                                                                           \
    [](const AcceptedPlan& plan, const Setup& downloaded, Detection& out) {                        \
        static_cast<void>(plan);                                                                   \
        static_cast<void>(downloaded);                                                             \
        Setup& user = out.userSetup;                                                               \
        static_cast<void>(user);                                                                   \
        expr;                                                                                      \
    }

// clang-format off
const std::array<SettingRow, kSettingRowCount> kRows{{
    {SettingId::FileName, "file-name", ChangeItem::DeploymentName, "", {},
     kFileNameEntry,
     QPX_SHOW(Deployment, "File Name:", p.fileNameText()), DetectName, nullptr,
     {kPlainGate}},
    {SettingId::Start, "start", ChangeItem::StartDateTime, "", {}, kStartEntry,
     QPX_SHOW(Deployment, "Start Date/Time:", p.startDateTimeText()),
     QPX_DETECT(out.flags.mark(ChangeItem::StartDateTime)), nullptr, {kPlainGate}},
    {SettingId::Comment1, "comment1", ChangeItem::Comments, "", {},
     OnPlanner(EnterComment<0>),
     QPX_SHOW(Deployment, "Comment 1:", p.commentText(0)), DetectComments, nullptr,
     {kPlainGate}},
    {SettingId::Comment2, "comment2", ChangeItem::Comments, "", {},
     OnPlanner(EnterComment<1>),
     QPX_SHOW(Deployment, "Comment 2:", p.commentText(1)), DetectComments, nullptr,
     {kPlainGate}},
    {SettingId::Comment3, "comment3", ChangeItem::Comments, "", {},
     OnPlanner(EnterComment<2>),
     QPX_SHOW(Deployment, "Comment 3:", p.commentText(2)), DetectComments, nullptr,
     {kPlainGate}},
    {SettingId::AveragingInterval, "averaging-interval", ChangeItem::AveragingInterval,
     "Update Averaging Interval", {}, QPX_LIVE_CHECK(averagingIntervalChanged),
     QPX_SHOW(Deployment, "Averaging Interval (s):", p.averagingText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::AveragingInterval, user.averagingInterval,
                        NearestField<std::uint16_t>(plan.averagingInterval *
                                                    IntervalUnitsPerSecond(downloaded)))),
     [](const Detection& c) { return Unsigned("ai %9u", c.userSetup.averagingInterval); }},
    {SettingId::ProfilingInterval, "profiling-interval", ChangeItem::ProfilingInterval,
     "Update Profiling Interval", {}, QPX_LIVE_CHECK(profilingIntervalChanged),
     QPX_SHOW(Deployment, "Profiling Interval (s):", p.profilingText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::ProfilingInterval, user.profilingInterval,
                        NearestField<std::uint16_t>(plan.profilingInterval *
                                                    IntervalUnitsPerSecond(downloaded)))),
     [](const Detection& c) { return Unsigned("pri %9u", c.userSetup.profilingInterval); }},
    {SettingId::CoordinateSystem, "coordinate-system", ChangeItem::CoordinateSystem,
     "Update Coordinate System", kCoordinateWords, kCoordinateEntry,
     QPX_SHOW_LIST(Deployment, "Coordinate System:", p.coordinateEntries(),
                   p.coordinateSelection()),
     QPX_DETECT(Compare(out.flags, ChangeItem::CoordinateSystem, user.coordinateSystem,
                        IndexField<std::uint8_t>(plan.coordinateIndex, 3))),
     [](const Detection& c) {
         return Named("Cy %s", kCoordinateCommandWords, c.userSetup.coordinateSystem);
     },
     {SettingGate{[](const DeploymentPlanner& p) { return p.coordinateEnabled(); },
                  "A PC-QPX always profiles in beam coordinates.", true}}},
    {SettingId::Cells, "cells", ChangeItem::NumberOfCells, "Update Number of Cells", {},
     QPX_LIVE_CHECK(cellsChanged),
     QPX_SHOW(Deployment, "Number of Cells:", p.cellsText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::NumberOfCells, user.numberOfCells,
                        CountField<std::uint16_t>(plan.cells))),
     [](const Detection& c) { return Signed("nc %d", c.userSetup.numberOfCells); }},
    {SettingId::CellSize, "cell-size", ChangeItem::CellSize, "Update Cell Size", {},
     QPX_LIVE_CHECK(cellSizeChanged),
     QPX_SHOW(Deployment, p.cellSizeLabel(), p.cellSizeText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::CellSize, user.cellSize,
                        NearestField<std::uint16_t>(plan.cellSize * 100.0))),
     [](const Detection& c) { return Scaled("cs %.2f", c.userSetup.cellSize, 0.01f); }},
    {SettingId::Blanking, "blanking", ChangeItem::BlankingDistance, "Update Blanking Distance",
     {}, QPX_LIVE_CHECK(blankingChanged),
     QPX_SHOW(Deployment, p.blankingLabel(), p.blankingText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::BlankingDistance, user.blankingDistance,
                        NearestField<std::uint16_t>(plan.blanking * 100.0))),
     [](const Detection& c) { return Scaled("bd %.2f", c.userSetup.blankingDistance, 0.01f); }},
    {SettingId::OutputMode, "output-mode", ChangeItem::OutputMode, "Update Output Mode",
     kOutputModeWords, QPX_SELECT(OnPlanner, outputModeSelected),
     QPX_SHOW_LIST(Deployment, "Output Mode:", DeploymentPlanner::kOutputModeList,
                   p.outputModeSelection()),
     QPX_DETECT(Compare(out.flags, ChangeItem::OutputMode, user.outputMode,
                        IndexField<std::uint8_t>(plan.outputIndex, 2))),
     [](const Detection& c) {
         return Named("om %s", kOutputModeCommandWords, c.userSetup.outputMode);
     },
     {SettingGate{[](const DeploymentPlanner& p) { return p.outputModeEnabled(); }, "", true}}},
    // No command carries it: the planner's recorder box is never enabled.
    {SettingId::RecorderEnabled, "", ChangeItem::RecorderEnabled, "", {}, {},
     QPX_SHOW_NAMED(Deployment, "Recorder Enabled:",
                    ListEntry(DeploymentPlanner::kRecorderEnabledList,
                        p.recorderEnabledSelection()), "recorder-enabled"),
     QPX_DETECT(Compare(out.flags, ChangeItem::RecorderEnabled, user.recorderEnabled,
                        IndexField<std::uint8_t>(plan.recorderEnabledIndex, 2)))},
    // The battery is the planner's alone: it sizes the plan and never reaches the instrument.
    {SettingId::BatteryType, "battery-type", std::nullopt, "", kBatteryWords,
     QPX_SELECT(OnPlanner, batteryTypeSelected),
     QPX_SHOW_LIST(Deployment, "Battery Pack Type:", DeploymentPlanner::batteryTypeList(),
                   p.batteryTypeSelection())},
    {SettingId::BatteryPacks, "battery-packs", std::nullopt, "", {},
     QPX_LIVE_CHECK(batteryPacksChanged),
     QPX_SHOW(Deployment, "Number of Battery Packs:", p.batteryPacksText())},
    {SettingId::TemperatureMode, "temperature-mode", ChangeItem::TemperatureMode,
     "Set Temperature Mode", kTemperatureModeWords, QPX_SELECT(OnAdvanced, temperatureModeSelected),
     QPX_SHOW_LIST(Advanced, "Temperature Mode:", AdvancedSettings::kTemperatureModeList,
                   p.advancedSettings().temperatureModeSelection()),
     QPX_DETECT(Compare(out.flags, ChangeItem::TemperatureMode, user.temperatureMode,
                        IndexField<std::uint8_t>(plan.advanced.temperatureMode, 2))),
     [](const Detection& c) {
         return Named("TempMode %s", kTemperatureModeCommandWords, c.userSetup.temperatureMode);
     }},
    {SettingId::Temperature, "temperature", ChangeItem::DefaultTemperature,
     "Update Default Temperature", {}, OnAdvanced([](AdvancedSettings& d, const Value& v) {
         d.temperatureTextChanged(v.text);
         return d.temperatureFocusLost();
     }),
     QPX_SHOW(Advanced, p.advancedSettings().temperatureLabel(),
              p.advancedSettings().temperatureText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::DefaultTemperature, user.defaultTemperature,
                        NearestField<std::int16_t>(plan.advanced.temperatureC * 10.0))),
     [](const Detection& c) {
         return Scaled("Temp %9.2f", c.userSetup.defaultTemperature, 0.1f);
     },
     {SettingGate{[](const DeploymentPlanner& p) {
                      return !p.advancedSettings().temperatureReadOnly();
                  },
                  "The water temperature is measured: set temperature-mode=user to type one."}}},
    {SettingId::Salinity, "salinity", ChangeItem::DefaultSalinity, "Update Default Salinity", {},
     OnAdvanced([](AdvancedSettings& d, const Value& v) {
         d.salinityTextChanged(v.text);
         return d.salinityFocusLost();
     }),
     QPX_SHOW(Advanced, AdvancedSettings::salinityLabel(), p.advancedSettings().salinityText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::DefaultSalinity, user.salinity,
                        NearestField<std::int16_t>(plan.advanced.salinity * 10.0))),
     [](const Detection& c) { return Scaled("Sal %9.2f", c.userSetup.salinity, 0.1f); }},
    {SettingId::BurstMode, "burst-mode", ChangeItem::BurstMode, "Update Burst Mode",
     kBurstModeWords, OnAdvanced([](AdvancedSettings& d, const Value& v) {
         return d.burstModeSelected(v.choice);
     }),
     QPX_SHOW_LIST(Advanced, "Burst Mode:", AdvancedSettings::kBurstModeList,
                   p.advancedSettings().burstModeSelection()),
     QPX_DETECT(Compare(out.flags, ChangeItem::BurstMode, user.burstMode,
                        IndexField<std::uint16_t>(plan.advanced.burstMode, 2))),
     [](const Detection& c) {
         return Named("bm %s", kBurstModeCommandWords, c.userSetup.burstMode);
     }},
    {SettingId::BurstInterval, "burst-interval", ChangeItem::BurstInterval,
     "Update Burst Interval", {}, QPX_TYPE(OnAdvanced, burstIntervalTextChanged),
     QPX_SHOW(Advanced, AdvancedSettings::burstIntervalLabel(),
              p.advancedSettings().burstIntervalText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::BurstInterval, user.burstInterval,
                        NearestField<std::uint16_t>(plan.advanced.burstInterval))),
     [](const Detection& c) { return Unsigned("bi %9u", c.userSetup.burstInterval); },
     {SettingGate{[](const DeploymentPlanner& p) {
                      return p.advancedSettings().burstEditsEnabled();
                  },
                  "Burst mode is disabled: set burst-mode=enabled first."}}},
    {SettingId::ProfilesPerBurst, "profiles-per-burst", ChangeItem::ProfilesPerBurst,
     "Update Profiles Per Burst", {}, QPX_TYPE(OnAdvanced, profilesPerBurstTextChanged),
     QPX_SHOW(Advanced, AdvancedSettings::profilesPerBurstLabel(),
              p.advancedSettings().profilesPerBurstText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::ProfilesPerBurst, user.profilesPerBurst,
                        CountField<std::uint16_t>(plan.advanced.profilesPerBurst))),
     [](const Detection& c) { return Unsigned("sb %9u", c.userSetup.profilesPerBurst); },
     {SettingGate{[](const DeploymentPlanner& p) {
                      return p.advancedSettings().burstEditsEnabled();
                  },
                  "Burst mode is disabled: set burst-mode=enabled first."}}},
    {SettingId::WaveEvery, "wave-every", ChangeItem::RecordWaveSeriesEvery,
     "Update Record Wave Series", {}, QPX_TYPE(OnWaves, recordEveryTextChanged),
     QPX_SHOW(Waves, "Record Wave Series every (profiles):", p.wavesSettings().recordEveryText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::RecordWaveSeriesEvery, user.waveInterval,
                        CountField<std::uint8_t>(plan.waves.recordEvery))),
     [](const Detection& c) { return Signed("rws %d", c.userSetup.waveInterval); },
     {kWavesGate}},
    {SettingId::WaveRate, "wave-rate", ChangeItem::WaveSeriesRate, "Update Wave Series Rate",
     kWaveRateWords, OnWaves([](WavesSettings& d, const Value& v) {
         return d.rateSelected(v.choice);
     }),
     QPX_SHOW_LIST(Waves, "Wave Series Rate:", WavesSettings::kRateList,
                   p.wavesSettings().rateSelection()),
                  DetectWaveRate,
     [](const Detection& c) { return Named("wsr %s", kWaveRateWords, c.waveRateIndex); },
     {kWavesGate, kWaveDetailsGate}},
    {SettingId::WaveLength, "wave-length", ChangeItem::WaveSeriesLength,
     "Update Wave Series Length", {}, OnWaves([](WavesSettings& d, const Value& v) {
         return d.lengthTextChanged(v.text);
     }),
     QPX_SHOW(Waves, "Wave Series Length:", p.wavesSettings().lengthText()),
     QPX_DETECT(Compare(out.flags, ChangeItem::WaveSeriesLength, user.waveSamples,
                        CountField<std::uint16_t>(plan.waves.length))),
     [](const Detection& c) { return Signed("wsl %d", c.userSetup.waveSamples); },
     {kWavesGate, kWaveDetailsGate}},
    {SettingId::WaveType, "wave-type", ChangeItem::WaveSeriesType, "Update Wave Series Type",
     kWaveTypeWords, kWaveTypeEntry,
     QPX_SHOW_LIST(Waves, "Wave Series Type:", p.wavesSettings().typeList(),
                   p.wavesSettings().typeSelection()),
                  DetectWaveType,
     [](const Detection& c) -> Text {
         const auto word = planning::WaveTypeCommandWord(c.waveType);
         if (!word) {
             return std::nullopt;
         }
         return model::FormatText("wst %s", std::string(*word).c_str());
     },
     {kWavesGate, kWaveDetailsGate}},
}};
// clang-format on

#undef QPX_DETECT
#undef QPX_LIVE_CHECK
#undef QPX_SELECT
#undef QPX_TYPE
#undef QPX_SHOW
#undef QPX_SHOW_NAMED
#undef QPX_SHOW_LIST

} // namespace

std::string EntryText(std::string_view entry) {
    const auto first = entry.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(entry.substr(first));
}

std::string_view ReportName(const SettingRow& row) {
    return row.key.empty() ? row.shown.name : row.key;
}

std::span<const SettingRow* const> KeyedRows() {
    static const std::vector<const SettingRow*> rows = [] {
        std::vector<const SettingRow*> keyed;
        for (const SettingRow& row : kRows) {
            if (!row.key.empty()) {
                keyed.push_back(&row);
            }
        }
        return keyed;
    }();
    return rows;
}

std::span<const SettingRow> SettingsTable() {
    return kRows;
}

const SettingRow& SettingRowOf(SettingId id) {
    return kRows[static_cast<std::size_t>(id)];
}

std::span<const SettingRow* const> CommandRows() {
    static const std::vector<const SettingRow*> rows = [] {
        std::vector<const SettingRow*> sent;
        for (const SettingRow& row : kRows) {
            if (row.command != nullptr) {
                sent.push_back(&row);
            }
        }
        std::stable_sort(sent.begin(), sent.end(), [](const SettingRow* a, const SettingRow* b) {
            return static_cast<int>(*a->item) < static_cast<int>(*b->item);
        });
        return sent;
    }();
    return rows;
}

} // namespace qpx::operations
