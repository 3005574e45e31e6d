#include "planning/DeploymentPlanner.h"

#include "link/CalendarMath.h"
#include "model/DisplayConversions.h"
#include "model/FieldText.h"
#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/EditReading.h"
#include "planning/Endurance.h"
#include "planning/SystemLimits.h"
#include "planning/WavesSettings.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace qpx::planning {
namespace {

// English display values are cut, not rounded, to two decimals: 1.64042 ft shows as 1.64.
float TruncateToHundredths(float value) {
    return std::trunc(value * 100.0f) / 100.0f;
}

std::string FloatText(float value) {
    return model::FormatGeneral(static_cast<double>(value));
}

std::string IntText(int value) {
    return model::FormatText("%d", value);
}

DialogMessage LiveMessage(const char* text) {
    return DialogMessage{text, 0, false};
}

constexpr std::array<std::string_view, 3> kCoordinateList{"    Beam", "     XYZ", "     ENU"};

int Selection(int index, std::size_t entries) {
    return index >= 0 && static_cast<std::size_t>(index) < entries ? index : -1;
}

} // namespace

void DeploymentPlanner::open(const PlannerInputs& inputs, const link::CalendarTime& now) {
    inputs_ = inputs;
    const model::UserSetup& user = inputs_.user;
    const model::SystemConfiguration& system = inputs_.system;

    assistant_.setUnitSystem(inputs_.unitSystem);
    pulseCoherent_ = user.pulseCoherentMode != 0;

    loadLength(cellSize_, user.cellSize);
    loadLength(blanking_, user.blankingDistance);

    const AssistantLimits assistantLimits =
        AssistantLimitsFor(system.systemFrequency, inputs_.unitSystem);
    assistant_.setLimits(assistantLimits);

    averaging_.value = model::IntervalSeconds(user.averagingInterval, user.pulseCoherentMode);
    profiling_.value = model::IntervalSeconds(user.profilingInterval, user.pulseCoherentMode);
    coordinate_ = pulseCoherent_ ? 0 : user.coordinateSystem;
    heldCoordinate_ = coordinate_;

    fileName_ = std::string(model::FieldText(user.deploymentName));
    if (inputs_.planning) {
        start_ = now;
    } else {
        start_ =
            link::CalendarTime{user.startDate.year, user.startDate.month,  user.startDate.day,
                               user.startTime.hour, user.startTime.minute, user.startTime.second};
        // An instrument can hold a start no calendar has (day 0, 31 February); sending it back
        // would be a wrong command, so the plan starts from the computer's time instead, in every
        // front end.
        if (!link::IsCalendarTime(start_)) {
            start_ = now;
        }
    }

    comments_ = {std::string(model::FieldText(user.comment1)),
                 std::string(model::FieldText(user.comment2)),
                 std::string(model::FieldText(user.comment3))};

    recorderEnabled_ = user.recorderEnabled;
    cells_.value = user.numberOfCells;
    outputMode_ = user.outputMode;

    advanced_ = AdvancedBlock{user.temperatureMode,
                              model::TenthsToUnits(user.defaultTemperature),
                              model::TenthsToUnits(user.salinity),
                              user.burstMode,
                              static_cast<float>(user.burstInterval),
                              user.profilesPerBurst};
    waves_ = WaveBlock{user.waveInterval, (user.waveOptions >> 2) & 0x3,
                       ((user.waveOptions >> 4) & 0x3) + 1, user.waveSamples};

    // Whatever the instrument holds, a deployment records.
    recorderEnabled_ = 1;
    averaging_.text = FloatText(averaging_.value);
    profiling_.text = FloatText(profiling_.value);
    cells_.text = IntText(cells_.value);

    assistant_.open(inputs_.unitSystem, assistantLimits, profileEnd());
    updateRangeText();

    // A new window: the estimate boxes start empty.
    capacityText_.clear();
    powerDrawText_.clear();
    powerText_.clear();
    computeFreeSpace();
    computePower();
}

void DeploymentPlanner::loadLength(LengthEdit& edit, std::uint16_t centimetres) const {
    const float metres = model::CentimetresToMetres(centimetres);
    edit.exactMetres = metres;
    edit.value = metric() ? metres : TruncateToHundredths(model::MetresToFeet(metres));
    edit.text = FloatText(edit.value);
}

void DeploymentPlanner::fileNameChanged(std::string text) {
    fileName_ = std::move(text);
}

void DeploymentPlanner::commentChanged(int index, std::string text) {
    if (index >= 0 && static_cast<std::size_t>(index) < comments_.size()) {
        comments_[static_cast<std::size_t>(index)] = std::move(text);
    }
}

const std::string& DeploymentPlanner::commentText(int index) const {
    return comments_[static_cast<std::size_t>(std::clamp(index, 0, 2))];
}

std::optional<DialogMessage> DeploymentPlanner::averagingIntervalChanged(std::string text) {
    if (text == averaging_.text) {
        return std::nullopt;
    }
    averaging_.text = std::move(text);
    if (averaging_.text.empty()) {
        return std::nullopt;
    }
    const float value = DecimalReading(averaging_.text);
    if (!(value > 0.0f)) {
        return LiveMessage("Averaging Interval must be greater than 0.");
    }
    averaging_.value = value;
    computePower();
    // The free-space estimate depends on the averaging interval too (when it is the longer one,
    // and through the burst rule), so it follows it rather than going stale.
    computeFreeSpace();
    return std::nullopt;
}

std::optional<DialogMessage> DeploymentPlanner::profilingIntervalChanged(std::string text) {
    if (text == profiling_.text) {
        return std::nullopt;
    }
    profiling_.text = std::move(text);
    if (profiling_.text.empty()) {
        return std::nullopt;
    }
    const float value = DecimalReading(profiling_.text);
    if (!(value > 0.0f)) {
        return LiveMessage("Profiling Interval must be greater than 0.");
    }
    profiling_.value = value;
    computePower();
    computeFreeSpace();
    return std::nullopt;
}

std::optional<DialogMessage> DeploymentPlanner::cellsChanged(std::string text) {
    if (text == cells_.text) {
        return std::nullopt;
    }
    return applyCells(std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::applyCells(std::string text) {
    cells_.text = std::move(text);
    if (cells_.text.empty()) {
        return std::nullopt;
    }
    const int value = IntegerReading(cells_.text);
    if (value <= 0) {
        return LiveMessage("Number of Cells must be greater than 0.");
    }
    cells_.value = value;
    updateRangeText();
    computeFreeSpace();
    return std::nullopt;
}

std::optional<DialogMessage> DeploymentPlanner::cellSizeChanged(std::string text) {
    if (text == cellSize_.text) {
        return std::nullopt;
    }
    return applyCellSize(std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::applyCellSize(std::string text) {
    cellSize_.text = std::move(text);
    cellSize_.exactMetres.reset();
    if (cellSize_.text.empty()) {
        return std::nullopt;
    }
    const float value = DecimalReading(cellSize_.text);
    if (!(value > 0.0f)) {
        return LiveMessage("Cell Size must be greater than 0.");
    }
    cellSize_.value = value;
    updateRangeText();
    computePower();
    computeFreeSpace();
    return std::nullopt;
}

std::optional<DialogMessage> DeploymentPlanner::blankingChanged(std::string text) {
    if (text == blanking_.text) {
        return std::nullopt;
    }
    return applyBlanking(std::move(text));
}

std::optional<DialogMessage> DeploymentPlanner::applyBlanking(std::string text) {
    blanking_.text = std::move(text);
    blanking_.exactMetres.reset();
    if (blanking_.text.empty()) {
        return std::nullopt;
    }
    const float value = DecimalReading(blanking_.text);
    if (!(value > 0.0f)) {
        return LiveMessage("Blanking Distance must be greater than 0.");
    }
    blanking_.value = value;
    updateRangeText();
    return std::nullopt;
}

std::optional<DialogMessage> DeploymentPlanner::batteryPacksChanged(std::string text) {
    if (text == batteryPacks_.text) {
        return std::nullopt;
    }
    batteryPacks_.text = std::move(text);
    if (batteryPacks_.text.empty()) {
        return std::nullopt;
    }
    const int value = IntegerReading(batteryPacks_.text);
    if (value < 1) {
        return LiveMessage("Number of Battery Packs must be greater than 0.");
    }
    batteryPacks_.value = value;
    computePower();
    return std::nullopt;
}

void DeploymentPlanner::batteryTypeSelected(int index) {
    if (Selection(index, kBatteryRatings.size()) < 0) {
        return;
    }
    batteryType_ = index;
    computePower();
}

void DeploymentPlanner::coordinateSelected(int index) {
    if (coordinateEnabled() && Selection(index, coordinateEntries().size()) >= 0) {
        coordinate_ = index;
    }
}

void DeploymentPlanner::outputModeSelected(int index) {
    if (Selection(index, kOutputModeList.size()) >= 0) {
        outputMode_ = index;
    }
}

void DeploymentPlanner::setStartTime(const link::CalendarTime& start) {
    start_ = start;
}

void DeploymentPlanner::advancedSettingsClosed(const std::optional<AdvancedBlock>& accepted) {
    if (accepted) {
        advanced_ = *accepted;
    }
    computeFreeSpace();
    computePower();
}

void DeploymentPlanner::wavesSettingsClosed(const std::optional<WaveBlock>& accepted) {
    if (accepted) {
        waves_ = *accepted;
    }
    computeFreeSpace();
    computePower();
}

void DeploymentPlanner::pcQpxSettingsClosed(const model::SystemConfiguration& system,
                                            const model::UserSetup& user,
                                            const model::OperationConfiguration& operation) {
    inputs_.system = system;
    inputs_.user = user;
    inputs_.operation = operation;
}

void DeploymentPlanner::recorderDetailsClosed(const RecorderSpace& recorder) {
    inputs_.recorder = recorder;
    computeFreeSpace();
}

int DeploymentPlanner::toggleAssistant() {
    return assistant_.toggle();
}

std::optional<DialogMessage> DeploymentPlanner::transferFromAssistant() {
    const ProfileAssistant::TransferResult result = assistant_.transferValues();
    if (!result.transfer) {
        return result.message;
    }
    const ProfileTransfer& transfer = *result.transfer;
    applyCells(IntText(transfer.cells));
    applyCellSize(FloatText(transfer.cellSize));
    applyBlanking(FloatText(transfer.blanking));
    // In English units the assistant's limits are feet cut to two decimals, and the blanking it
    // suggests is always the min blanking: 1.31 ft at 1500 kHz, which converts to 0.39929 m and
    // would fail the very limit it came from. A suggestion on a limit stands for the limit itself.
    if (!metric()) {
        const SystemLimits& row = SystemLimitsFor(inputs_.system.systemFrequency);
        const AssistantLimits& limits = assistant_.limits();
        // Compared as the assistant's boxes show them, two decimals.
        const auto onLimit = [](const std::string& shown, float limit) {
            return shown == model::FormatText("%4.2f", static_cast<double>(limit));
        };
        if (onLimit(transfer.cellSizeText, limits.minCellSize)) {
            cellSize_.exactMetres = row.minCellSize;
        }
        if (onLimit(transfer.blankingText, limits.minBlanking)) {
            blanking_.exactMetres = row.minBlanking;
        }
    }
    return std::nullopt;
}

DeploymentScreen DeploymentPlanner::screen() const {
    return DeploymentScreen{fileName_,
                            comments_,
                            averaging_.text,
                            profiling_.text,
                            cells_.text,
                            cellSize_.text,
                            blanking_.text,
                            batteryPacks_.text,
                            cellSize_.exactMetres,
                            blanking_.exactMetres};
}

void DeploymentPlanner::takeEntries(const DeploymentEntries& entries) {
    averaging_.value = entries.averagingInterval;
    profiling_.value = entries.profilingInterval;
    cells_.value = entries.cells;
    cellSize_.value = entries.cellSize;
    blanking_.value = entries.blanking;
    batteryPacks_.value = entries.batteryPacks;
}

std::int64_t DeploymentPlanner::recorderSpace() const {
    if (inputs_.planning) {
        return inputs_.planningRecorderBytes;
    }
    return inputs_.recorder.capacityBytes - inputs_.recorder.usedBytes;
}

DeploymentPlanner::DeployResult DeploymentPlanner::deploy() {
    const ScreenReading reading = ReadDeploymentScreen(screen());
    if (!reading.entries) {
        return {std::nullopt, reading.message};
    }
    takeEntries(*reading.entries);

    ValidationContext context;
    context.metric = metric();
    context.pulseCoherent = pulseCoherent_;
    context.systemFrequency = inputs_.system.systemFrequency;
    context.recorderSpaceBytes = recorderSpace();
    context.waves = waves_;
    context.wavesOption = inputs_.wavesOption;
    context.planning = inputs_.planning;
    const ValidationResult result = ValidateDeployment(*reading.entries, context);
    if (!result.ok()) {
        return {std::nullopt, result.message};
    }
    const ValidatedValues& values = *result.values;

    // The boxes show what is handed back, in metres, as the dialog closes.
    for (auto [edit, metres] : {std::pair{&cellSize_, values.cellSizeMetres},
                                std::pair{&blanking_, values.blankingMetres}}) {
        edit->text = FloatText(metres);
        edit->exactMetres = metres;
    }

    AcceptedPlan plan;
    plan.fileName = fileName_;
    plan.start = start_;
    plan.comments = comments_;
    plan.averagingInterval = values.averagingInterval;
    plan.profilingInterval = values.profilingInterval;
    plan.coordinateIndex = coordinate_;
    plan.cells = values.cells;
    plan.cellSize = values.cellSizeMetres;
    plan.blanking = values.blankingMetres;
    plan.outputIndex = outputMode_;
    plan.recorderEnabledIndex = recorderEnabled_;
    plan.advanced = advanced_;
    plan.waves = waves_;
    plan.pulseCoherent = pulseCoherent_;
    return {plan, std::nullopt};
}

std::string DeploymentPlanner::startDateTimeText() const {
    return model::FormatText("%04d/%02d/%02d,  %02d:%02d:%02d", start_.year, start_.month,
                             start_.day, start_.hour, start_.minute, start_.second);
}

std::string DeploymentPlanner::cellSizeLabel() const {
    return metric() ? "Cell Size (m):" : "Cell Size (ft):";
}

std::string DeploymentPlanner::blankingLabel() const {
    return metric() ? "Blanking Distance (m):" : "Blanking Distance (ft):";
}

float DeploymentPlanner::profileEnd() const {
    // Summed in double, as the range text is, so the assistant opens on the end that text shows.
    return static_cast<float>(static_cast<double>(blanking_.value) + cellSize_.value * 0.5 +
                              static_cast<double>(cellSize_.value) * cells_.value);
}

void DeploymentPlanner::updateRangeText() {
    // Summed in double from the float values: in float, blanking 0.1 m plus half of 0.31 m
    // comes to 0.2549999 and would show as 0.25.
    const double first = cellSize_.value * 0.5 + static_cast<double>(blanking_.value);
    const double last = first + static_cast<double>(cellSize_.value) * cells_.value;
    if (!std::isfinite(first) || !std::isfinite(last)) {
        rangeText_ = std::string(kUnavailableText);
        return;
    }
    rangeText_ = model::FormatText(metric() ? "Profiling Range: %6.2f - %6.2f m"
                                            : "Profiling Range: %6.2f - %6.2f ft",
                                   first, last);
}

void DeploymentPlanner::computeFreeSpace() {
    const model::SystemConfiguration& system = inputs_.system;
    const model::UserSetup& user = inputs_.user;
    FreeSpaceInputs in;
    in.bytesPerProfile = BytesPerProfile({cells_.value, system.numberOfBeams, user.userByte245,
                                          user.pulseCoherentMode, system.ctdSensorInstalled,
                                          system.extSensorInstalled});
    in.waves = waves_;
    in.waveSeriesRecorded =
        WaveSeriesRecorded(waves_.recordEvery, inputs_.wavesOption, inputs_.planning);
    in.sampling = {averaging_.value, profiling_.value, advanced_.burstMode, advanced_.burstInterval,
                   advanced_.profilesPerBurst};
    in.freeBytes = RecorderFreeBytes(inputs_.planning, inputs_.planningRecorderBytes,
                                     inputs_.recorder, system.structureVersion);
    DaysEstimate estimate = FreeSpaceEndurance(in);
    freeSpaceDays_ = estimate.days;
    freeSpaceText_ = std::move(estimate.text);
}

void DeploymentPlanner::computePower() {
    PowerInputs in;
    in.sampling = {averaging_.value, profiling_.value, advanced_.burstMode, advanced_.burstInterval,
                   advanced_.profilesPerBurst};
    in.waves = waves_;
    in.wavesOption = inputs_.wavesOption;
    in.batteryType = batteryType_;
    in.batteryPacks = batteryPacks_.value;
    in.systemFrequency = inputs_.system.systemFrequency;
    PowerEstimate estimate = PowerEndurance(in);
    if (estimate.boxesUpdated) {
        capacityText_ = std::move(estimate.capacityText);
        powerDrawText_ = std::move(estimate.drawText);
    }
    powerText_ = std::move(estimate.days.text);
}

std::vector<std::string_view> DeploymentPlanner::coordinateList() const {
    const std::size_t count = inputs_.system.compassInstalled != 0 ? 3 : 2;
    return {kCoordinateList.begin(), kCoordinateList.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::vector<std::string_view> DeploymentPlanner::coordinateEntries() const {
    std::vector<std::string_view> entries = coordinateList();
    const std::size_t held = static_cast<std::size_t>(std::max(heldCoordinate_, 0));
    if (held == entries.size() && held < kCoordinateList.size()) {
        entries.push_back(kCoordinateList[held]);
    }
    return entries;
}

int DeploymentPlanner::coordinateSelection() const {
    return Selection(coordinate_, coordinateEntries().size());
}

int DeploymentPlanner::outputModeSelection() const {
    return Selection(outputMode_, kOutputModeList.size());
}

int DeploymentPlanner::recorderEnabledSelection() const {
    return Selection(recorderEnabled_, kRecorderEnabledList.size());
}

std::vector<std::string_view> DeploymentPlanner::batteryTypeList() {
    std::vector<std::string_view> list;
    for (const BatteryRating& rating : kBatteryRatings) {
        list.push_back(rating.listText);
    }
    return list;
}

} // namespace qpx::planning
