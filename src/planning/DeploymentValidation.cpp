#include "planning/DeploymentValidation.h"

#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/CheckRange.h"
#include "planning/SystemLimits.h"
#include "planning/WavesSettings.h"

#include <climits>
#include <cmath>
#include <utility>

namespace qpx::planning {
namespace {

// The file header the recorder writes in front of the deployment, and the least room a
// deployment needs after it.
constexpr std::int64_t kRecorderHeaderBytes = 418;
constexpr std::int64_t kRecorderMinimumFree = 64535;

DialogMessage Focused(std::string text, int boxId) {
    return {std::move(text), boxId, true};
}

ScreenReading Refused(std::string text, int boxId) {
    return {std::nullopt, Focused(std::move(text), boxId)};
}

ValidationResult Failed(std::string text, int boxId, bool selectText = true) {
    return {std::nullopt, DialogMessage{std::move(text), boxId, selectText}};
}

double Feet(float metres) {
    return static_cast<double>(metres) * model::kFeetPerMetre;
}

int Whole(float value) {
    return static_cast<int>(std::trunc(value));
}

bool InInterval(float value, IntervalLimits limits) {
    return limits.min <= value && value <= limits.max;
}

std::string LengthRangeMessage(const char* name, float min, float max, bool metric) {
    if (metric) {
        return model::FormatText("%s should be in the range of %5.2f to %5.2f m.", name,
                                 static_cast<double>(min), static_cast<double>(max));
    }
    return model::FormatText("%s should be in the range of %5.2f to %5.2f ft.", name, Feet(min),
                             Feet(max));
}

} // namespace

ScreenReading ReadDeploymentScreen(const DeploymentScreen& screen) {
    if (screen.fileName.size() > kFileNameMaxChars) {
        return Refused("The File Name must not be longer than 5 characters.", kFileNameBoxId);
    }
    const std::array<int, 3> commentBoxes{kComment1BoxId, kComment2BoxId, kComment3BoxId};
    for (std::size_t i = 0; i < screen.comments.size(); ++i) {
        if (screen.comments[i].size() > kCommentMaxChars) {
            return Refused("Each comment must not be longer than 59 characters.", commentBoxes[i]);
        }
    }

    DeploymentEntries entries;
    entries.fileName = screen.fileName;
    struct FloatBox {
        const std::string& text;
        float& value;
        const char* label;
        int boxId;
    };
    const std::array<FloatBox, 2> intervals{{
        {screen.averagingText, entries.averagingInterval, "Averaging Interval", kAveragingBoxId},
        {screen.profilingText, entries.profilingInterval, "Profiling Interval", kProfilingBoxId},
    }};
    for (const FloatBox& box : intervals) {
        const auto value = model::ParseFloat(box.text);
        if (!value) {
            return Refused(model::FormatText("Please enter a number for the %s.", box.label),
                           box.boxId);
        }
        box.value = *value;
    }

    const auto cells = model::ParseInteger(screen.cellsText);
    if (!cells || *cells < INT_MIN || *cells > INT_MAX) {
        return Refused("Please enter a whole number for the Number of Cells.", kCellsBoxId);
    }
    entries.cells = static_cast<int>(*cells);

    const std::array<FloatBox, 2> lengths{{
        {screen.cellSizeText, entries.cellSize, "Cell Size", kCellSizeBoxId},
        {screen.blankingText, entries.blanking, "Blanking Distance", kBlankingBoxId},
    }};
    for (const FloatBox& box : lengths) {
        const auto value = model::ParseFloat(box.text);
        if (!value) {
            return Refused(model::FormatText("Please enter a number for the %s.", box.label),
                           box.boxId);
        }
        box.value = *value;
    }
    entries.cellSizeExactMetres = screen.cellSizeExactMetres;
    entries.blankingExactMetres = screen.blankingExactMetres;

    const auto packs = model::ParseInteger(screen.batteryPacksText);
    if (!packs) {
        return Refused("Please enter a whole number for the Number of Battery Packs.",
                       kBatteryPacksBoxId);
    }
    if (*packs < kBatteryPacksMin || *packs > kBatteryPacksMax) {
        return Refused("Number of Battery Packs should be in the range of 1 to 999.",
                       kBatteryPacksBoxId);
    }
    entries.batteryPacks = static_cast<int>(*packs);
    return {entries, std::nullopt};
}

ValidationResult ValidateDeployment(const DeploymentEntries& entries,
                                    const ValidationContext& context) {
    const bool metric = context.metric;

    // Lengths in metres from here on. A box nobody typed into gives back its exact value.
    float cellSize = entries.cellSizeExactMetres.value_or(
        metric ? entries.cellSize : model::FeetToMetres(entries.cellSize));
    float blanking = entries.blankingExactMetres.value_or(
        metric ? entries.blanking : model::FeetToMetres(entries.blanking));

    const std::int64_t free = context.recorderSpaceBytes - kRecorderHeaderBytes;
    if (free < kRecorderMinimumFree) {
        return Failed("Recorder is FULL or NEARLY FULL\nRetrieve data from recorder and then "
                      "Format it before proceeding",
                      0, false);
    }

    const IntervalLimits limits = SamplingIntervalLimits(context.pulseCoherent);
    const float averaging = entries.averagingInterval;
    const float profiling = entries.profilingInterval;
    if (!InInterval(averaging, limits)) {
        return Failed(model::FormatText("The averaging interval should be between %d and %d "
                                        "seconds",
                                        Whole(limits.min), Whole(limits.max)),
                      kAveragingBoxId);
    }
    if (!InInterval(profiling, limits)) {
        return Failed(model::FormatText("The profiling interval should be between %d and %d "
                                        "seconds",
                                        Whole(limits.min), Whole(limits.max)),
                      kProfilingBoxId);
    }
    if (profiling < averaging) {
        return Failed("The averaging interval should be less than the profiling interval",
                      kAveragingBoxId);
    }
    if (const auto waveMessage = CheckWaveDuration(context.waves, averaging, profiling,
                                                   context.wavesOption, context.planning)) {
        return Failed(*waveMessage, kProfilingBoxId);
    }
    if (entries.fileName.empty()) {
        return Failed("The File Name must not be left blank.", kFileNameBoxId, false);
    }
    if (entries.cells < 1 || entries.cells > 100) {
        return Failed("Number of Cells is out of range.\n\nValue must be between 1 and 100",
                      kCellsBoxId);
    }

    const ProfileBounds bounds =
        ProfileLimits(context.systemFrequency, context.pulseCoherent ? 1 : 0);
    if (!CheckRange(cellSize, bounds.minCellSize, bounds.maxCellSize, kPlannerTolerance, metric)) {
        return Failed(
            LengthRangeMessage("Cell Size", bounds.minCellSize, bounds.maxCellSize, metric),
            kCellSizeBoxId);
    }
    if (!CheckRange(blanking, bounds.minBlanking, bounds.maxBlanking, kPlannerTolerance, metric)) {
        return Failed(
            LengthRangeMessage("Blanking Distance", bounds.minBlanking, bounds.maxBlanking, metric),
            kBlankingBoxId);
    }
    float total = static_cast<float>(entries.cells) * cellSize + blanking;
    if (!CheckRange(total, 0.0f, bounds.maxRange, kPlannerTolerance, metric)) {
        // The message's total is summed in double from the float values, so it reads as the
        // sum of what the boxes show.
        const double shownTotal = static_cast<double>(cellSize) * entries.cells + blanking;
        if (metric) {
            return Failed(model::FormatText("Total profile range of %5.1f meters exceeds/equals "
                                            "the maximum range of this system.\nValue must be "
                                            "below %5.1f meters\nYou may want to consider "
                                            "reducing the number of cells",
                                            shownTotal, static_cast<double>(bounds.maxRange)),
                          kCellsBoxId);
        }
        return Failed(model::FormatText("Total profile range of %5.1f feet exceeds/equals the "
                                        "maximum range of this system.\nValue must be below "
                                        "%5.1f feet\nYou may want to consider reducing the "
                                        "number of cells",
                                        shownTotal * model::kFeetPerMetre, Feet(bounds.maxRange)),
                      kCellsBoxId);
    }
    return {ValidatedValues{averaging, profiling, entries.cells, cellSize, blanking}, std::nullopt};
}

IntervalLimits SamplingIntervalLimits(bool pulseCoherent) {
    return pulseCoherent ? IntervalLimits{0.5f, 3600.0f} : IntervalLimits{1.0f, 43200.0f};
}

} // namespace qpx::planning
