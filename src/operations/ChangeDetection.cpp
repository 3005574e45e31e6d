#include "operations/ChangeDetection.h"

#include "model/FieldText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qpx::operations {
namespace {

using model::FieldText;

// A plan value in its field's integer unit, to the nearest integer; nothing when the field cannot
// hold it.
template <typename Field>
std::optional<Field> NearestField(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double nearest = std::round(value);
    if (nearest < static_cast<double>(std::numeric_limits<Field>::min()) ||
        nearest > static_cast<double>(std::numeric_limits<Field>::max())) {
        return std::nullopt;
    }
    return static_cast<Field>(nearest);
}

// A list position or count that must fit its field and (for lists) the list.
template <typename Field>
std::optional<Field> IndexField(int value, int listSize) {
    if (value < 0 || value >= listSize) {
        return std::nullopt;
    }
    return static_cast<Field>(value);
}

template <typename Field>
std::optional<Field> CountField(int value) {
    if (value < 0 || value > static_cast<int>(std::numeric_limits<Field>::max())) {
        return std::nullopt;
    }
    return static_cast<Field>(value);
}

// Marks the item and rewrites the field when the plan's value differs from it.
template <typename Field>
void Compare(ChangeFlags& flags, ChangeItem item, Field& field, std::optional<Field> planned) {
    if (planned && *planned != field) {
        field = *planned;
        flags.mark(item);
    }
}

// The plan's text as the instrument would compare it: up to an embedded NUL.
std::string_view PlanText(const std::string& text) {
    return std::string_view(text).substr(0, text.find('\0'));
}

// Writes a text into a fixed field, always terminated, the rest of the field zero.
template <std::size_t N>
void StoreText(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

int RateIndexOf(std::uint8_t waveOptions) {
    return (waveOptions >> 2) & 0x3;
}
int WaveTypeOf(std::uint8_t waveOptions) {
    return ((waveOptions >> 4) & 0x3) + 1;
}

// Only these types have a command word ("P_SERIES", "PUV_SERIES").
bool SendableWaveType(int waveType) {
    return waveType == 1 || waveType == 2;
}
constexpr int kWaveRateCount = 3;

} // namespace

ChangeDetection DetectChanges(const planning::AcceptedPlan& plan,
                              const model::UserSetup& downloaded) {
    ChangeDetection result;
    ChangeFlags& flags = result.flags;
    model::UserSetup& user = result.userSetup;
    user = downloaded;

    if (PlanText(plan.fileName) != FieldText(user.deploymentName)) {
        StoreText(user.deploymentName, PlanText(plan.fileName));
        flags.mark(ChangeItem::DeploymentName);
    }

    flags.mark(ChangeItem::StartDateTime);

    const std::array<std::array<char, 60>*, 3> commentFields{&user.comment1, &user.comment2,
                                                             &user.comment3};
    bool commentsDiffer = false;
    for (std::size_t i = 0; i < commentFields.size(); ++i) {
        commentsDiffer =
            commentsDiffer || PlanText(plan.comments[i]) != FieldText(*commentFields[i]);
    }
    if (commentsDiffer) {
        for (std::size_t i = 0; i < commentFields.size(); ++i) {
            StoreText(*commentFields[i], PlanText(plan.comments[i]));
        }
        flags.mark(ChangeItem::Comments);
    }

    const double intervalUnitsPerSecond = downloaded.pulseCoherentMode != 0 ? 10.0 : 1.0;
    Compare(flags, ChangeItem::AveragingInterval, user.averagingInterval,
            NearestField<std::uint16_t>(plan.averagingInterval * intervalUnitsPerSecond));
    Compare(flags, ChangeItem::ProfilingInterval, user.profilingInterval,
            NearestField<std::uint16_t>(plan.profilingInterval * intervalUnitsPerSecond));
    Compare(flags, ChangeItem::CellSize, user.cellSize,
            NearestField<std::uint16_t>(plan.cellSize * 100.0));
    Compare(flags, ChangeItem::NumberOfCells, user.numberOfCells,
            CountField<std::uint16_t>(plan.cells));
    Compare(flags, ChangeItem::BlankingDistance, user.blankingDistance,
            NearestField<std::uint16_t>(plan.blanking * 100.0));
    Compare(flags, ChangeItem::CoordinateSystem, user.coordinateSystem,
            IndexField<std::uint8_t>(plan.coordinateIndex, 3));
    Compare(flags, ChangeItem::OutputMode, user.outputMode,
            IndexField<std::uint8_t>(plan.outputIndex, 2));
    Compare(flags, ChangeItem::RecorderEnabled, user.recorderEnabled,
            IndexField<std::uint8_t>(plan.recorderEnabledIndex, 2));

    const planning::AdvancedBlock& advanced = plan.advanced;
    Compare(flags, ChangeItem::TemperatureMode, user.temperatureMode,
            IndexField<std::uint8_t>(advanced.temperatureMode, 2));
    Compare(flags, ChangeItem::DefaultTemperature, user.defaultTemperature,
            NearestField<std::int16_t>(advanced.temperatureC * 10.0));
    Compare(flags, ChangeItem::DefaultSalinity, user.salinity,
            NearestField<std::int16_t>(advanced.salinity * 10.0));
    Compare(flags, ChangeItem::BurstMode, user.burstMode,
            IndexField<std::uint16_t>(advanced.burstMode, 2));
    Compare(flags, ChangeItem::BurstInterval, user.burstInterval,
            NearestField<std::uint16_t>(advanced.burstInterval));
    Compare(flags, ChangeItem::ProfilesPerBurst, user.profilesPerBurst,
            CountField<std::uint16_t>(advanced.profilesPerBurst));

    // Rate and type go to the instrument as commands of their own; waveOptions stays as
    // downloaded.
    const planning::WaveBlock& waves = plan.waves;
    result.waveRateIndex = RateIndexOf(downloaded.waveOptions);
    if (waves.rateIndex != result.waveRateIndex && waves.rateIndex >= 0 &&
        waves.rateIndex < kWaveRateCount) {
        result.waveRateIndex = waves.rateIndex;
        flags.mark(ChangeItem::WaveSeriesRate);
    }
    result.waveType = WaveTypeOf(downloaded.waveOptions);
    if (waves.waveType != result.waveType && SendableWaveType(waves.waveType)) {
        result.waveType = waves.waveType;
        flags.mark(ChangeItem::WaveSeriesType);
    }
    Compare(flags, ChangeItem::WaveSeriesLength, user.waveSamples,
            CountField<std::uint16_t>(waves.length));
    Compare(flags, ChangeItem::RecordWaveSeriesEvery, user.waveInterval,
            CountField<std::uint8_t>(waves.recordEvery));

    return result;
}

} // namespace qpx::operations
