#include "instrument/DeploymentReview.h"

#include "instrument/HardwareConfigView.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/CalendarMath.h"
#include "link/SystemType.h"
#include "model/TextFormat.h"
#include "operations/ChangeDetection.h"
#include "operations/UploadPreview.h"
#include "planning/Endurance.h"

#include <algorithm>
#include <cstdlib>

namespace qpx::instrument {
namespace {

std::string DurationText(std::int64_t seconds) {
    const std::int64_t days = seconds / 86400;
    const auto rest = static_cast<int>(seconds % 86400);
    const std::string clock =
        model::FormatText("%02d:%02d:%02d", rest / 3600, rest / 60 % 60, rest % 60);
    return days > 0 ? model::FormatText("%lld d ", static_cast<long long>(days)) + clock : clock;
}

std::string DaysText(std::optional<float> days) {
    return days ? model::FormatText("%.1f days", static_cast<double>(*days))
                : std::string("not available");
}

std::string PlannedText(double days) {
    return model::FormatGeneral(days) + " days";
}

std::string BytesText(std::int64_t bytes) {
    return model::FormatText("%.2f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
}

} // namespace

ReviewFacts FactsOf(const planning::DeploymentPlanner& planner, const planning::AcceptedPlan& plan,
                    const link::CalendarTime& now) {
    ReviewFacts facts;
    facts.now = now;
    facts.start = plan.start;
    facts.batteryDays = planning::PowerEndurance(planner.powerInputs()).days.days;
    facts.recorderDays = planner.freeSpaceDays();
    facts.plannedDays = planner.plannedDays();
    facts.recorderUsedBytes = planner.planning() ? 0 : planner.recorder().usedBytes;
    if (const auto& reading = planner.clockReading()) {
        facts.clockOffsetSeconds = ClockOffsetSeconds(*reading);
    }
    facts.waveSeriesEvery = plan.waves.recordEvery;
    facts.wavesOption = planner.wavesOption();
    return facts;
}

std::vector<ReviewWarning> ReviewWarnings(const ReviewFacts& facts) {
    std::vector<ReviewWarning> warnings;
    const auto warn = [&](ReviewWarningId id, std::string text) {
        warnings.push_back({id, std::move(text)});
    };
    const std::int64_t ahead =
        link::SecondsFromCalendar(facts.start) - link::SecondsFromCalendar(facts.now);
    if (ahead < 0) {
        warn(ReviewWarningId::StartInPast, "The start time is in the past (" +
                                               DurationText(-ahead) +
                                               " ago): the instrument starts recording at once.");
    } else if (ahead > static_cast<std::int64_t>(kFarAheadDays) * 86400) {
        warn(ReviewWarningId::StartFarAhead,
             model::FormatText("The start time is more than %d days ahead (in ", kFarAheadDays) +
                 DurationText(ahead) + "): the instrument waits that long before it records.");
    }
    if (facts.plannedDays) {
        const double planned = *facts.plannedDays;
        const bool batteryShort = facts.batteryDays && *facts.batteryDays < planned;
        const bool recorderShort = facts.recorderDays && *facts.recorderDays < planned;
        if (batteryShort && recorderShort) {
            warn(ReviewWarningId::DurationTooLong, "The planned duration (" + PlannedText(planned) +
                                                       ") is longer than both estimates (battery " +
                                                       DaysText(facts.batteryDays) + ", recorder " +
                                                       DaysText(facts.recorderDays) + ").");
        } else if (batteryShort) {
            warn(ReviewWarningId::BatteryLimits,
                 "The battery estimate (" + DaysText(facts.batteryDays) +
                     ") is shorter than the recorder estimate and the planned " +
                     PlannedText(planned) + ": the deployment ends on the battery.");
        } else if (recorderShort) {
            warn(ReviewWarningId::RecorderLimits,
                 "The recorder estimate (" + DaysText(facts.recorderDays) +
                     ") is shorter than the battery estimate and the planned " +
                     PlannedText(planned) + ": the deployment ends when the recorder is full.");
        }
    }
    if (facts.recorderUsedBytes > 0) {
        warn(ReviewWarningId::RecorderNotEmpty, "The recorder already holds files (" +
                                                    BytesText(facts.recorderUsedBytes) +
                                                    " used): the new data come after them.");
    }
    if (facts.clockOffsetSeconds && std::llabs(*facts.clockOffsetSeconds) > kClockOffLimitSeconds) {
        warn(ReviewWarningId::ClockOff,
             "The instrument clock differs from the computer's by " +
                 ClockOffsetText(*facts.clockOffsetSeconds) +
                 model::FormatText(", more than %lld s.",
                                   static_cast<long long>(kClockOffLimitSeconds)));
    }
    if (facts.waveSeriesEvery != 0 && facts.wavesOption == 0) {
        warn(ReviewWarningId::WavesWithoutOption,
             model::FormatText("A wave series is recorded every %d profiles although the "
                               "instrument has no waves option.",
                               facts.waveSeriesEvery));
    }
    return warnings;
}

std::int64_t ClockOffsetSeconds(const planning::ClockReading& reading) {
    return link::SecondsFromCalendar(reading.instrument) -
           link::SecondsFromCalendar(reading.computer);
}

std::string ClockOffsetText(std::int64_t seconds) {
    if (seconds == 0) {
        return "0 s";
    }
    return model::FormatText("%+lld s", static_cast<long long>(seconds)) +
           (seconds > 0 ? " (the instrument is ahead)" : " (the instrument is behind)");
}

std::string FromNowText(const link::CalendarTime& now, const link::CalendarTime& start) {
    const std::int64_t ahead = link::SecondsFromCalendar(start) - link::SecondsFromCalendar(now);
    if (ahead == 0) {
        return "now";
    }
    return ahead > 0 ? "in " + DurationText(ahead) : DurationText(-ahead) + " ago";
}

DeploymentReview MakeDeploymentReview(const planning::DeploymentPlanner& planner,
                                      const planning::AcceptedPlan& plan,
                                      const link::InstrumentIdentity& identity,
                                      const link::CalendarTime& now) {
    DeploymentReview review;
    const ReviewFacts facts = FactsOf(planner, plan, now);
    review.warnings = ReviewWarnings(facts);

    const HardwareConfigView view =
        MakeHardwareConfigView(planner.systemConfiguration(), planner.wavesOption());
    review.instrument = {
        {"serialNumber", "Serial number", view.text(kSerialNumberId)},
        {"frequency", "Frequency", view.text(kFrequencyId)},
        {"cpuVersion", "CPU software", view.text(kCpuVersionId)},
        {"dspVersion", "DSP software", view.text(kDspVersionId)},
        {"systemType", "System type", std::string(link::SystemName(identity.systemType))},
    };

    const link::CalendarTime& s = plan.start;
    review.start = {
        {"start", "Start", CalendarText(s)},
        {"fromNow", "From now", FromNowText(now, s)},
    };

    const auto limit = [&]() -> std::string {
        if (!facts.batteryDays || !facts.recorderDays) {
            return "not known";
        }
        return *facts.batteryDays <= *facts.recorderDays ? "the battery" : "the recorder";
    };
    review.estimates = {
        {"recorderDays", "Recorder", DaysText(facts.recorderDays)},
        {"batteryDays", "Battery", DaysText(facts.batteryDays)},
        {"limitedBy", "Limited by", limit()},
        {"plannedDays", "Planned duration",
         facts.plannedDays ? PlannedText(*facts.plannedDays) : std::string("not given")},
    };
    if (const auto& reading = planner.clockReading()) {
        review.estimates.push_back(
            {"clockOffset", "Clock offset", ClockOffsetText(ClockOffsetSeconds(*reading))});
    }

    const operations::ChangeDetection changes =
        operations::DetectChanges(plan, planner.userSetup());
    review.commands = operations::UploadCommandLines(changes, plan.start);
    return review;
}

std::string FormatReviewText(const DeploymentReview& review) {
    std::string out = std::string(kReviewTitle) + '\n';
    for (const auto& warning : review.warnings) {
        out += "  Warning: " + warning.text + '\n';
    }
    const auto section = [&](std::string_view title, const std::vector<ReviewLine>& lines) {
        std::size_t width = 0;
        for (const auto& line : lines) {
            width = std::max(width, line.label.size());
        }
        out += std::string(title) + '\n';
        for (const auto& line : lines) {
            out += "  " + line.label + ':' + std::string(width - line.label.size() + 1, ' ') +
                   line.text + '\n';
        }
    };
    section("Instrument", review.instrument);
    section("Start", review.start);
    section("Estimates", review.estimates);
    out += "Commands\n";
    for (std::size_t i = 0; i < review.commands.size(); ++i) {
        out += model::FormatText("  %2d  ", static_cast<int>(i + 1)) + review.commands[i] + '\n';
    }
    return out;
}

} // namespace qpx::instrument
