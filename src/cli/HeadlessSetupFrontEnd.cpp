#include "cli/HeadlessSetupFrontEnd.h"

#include "cli/Commands.h"
#include "cli/ReportSections.h"
#include "cli/UploadPreview.h"
#include "instrument/DeploymentReview.h"
#include "operations/ChangeDetection.h"
#include "operations/ClockSync.h"
#include "planning/DeploymentPlanner.h"
#include "platform/RecordFiles.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cmath>

namespace qpx::cli {

HeadlessSetupFrontEnd::HeadlessSetupFrontEnd(CliEnvironment& env,
                                             std::vector<SettingArgument> settings,
                                             HeadlessPlan plan)
    : env_(env), settings_(std::move(settings)), plan_(std::move(plan)) {}

int HeadlessSetupFrontEnd::refuse(int code, std::string message) {
    plannerExitCode_ = code;
    refusal_ = std::move(message);
    return code;
}

std::optional<planning::AcceptedPlan>
HeadlessSetupFrontEnd::runPlanner(const planning::PlannerInputs& inputs, link::Link& link) {
    serialNumber_ = SerialNumberText(inputs.system);
    planning::DeploymentPlanner planner;
    planner.open(inputs, env_.clock.localTime());
    std::string refusal;
    if (const int code = EnterPlanAndSettings(planner, plan_.plan, plan_.planPath, settings_,
                                              env_.err, &refusal);
        code != kExitSuccess) {
        refuse(code, refusal);
        return std::nullopt;
    }
    if (plan_.plannedDays) {
        planner.plannedDurationChanged(*plan_.plannedDays); // checked with the command line
    }
    if (!plan_.remarks.empty()) {
        planner.setOperatorRemarks(plan_.remarks);
    }
    // The boxes as typed, before "&Deploy" shows English lengths in metres as it closes.
    Report report;
    AddPlannerSections(report, planner);
    PrintReport(env_, report, false);
    auto result = planner.deploy();
    if (!result.value) {
        refusal = result.message ? result.message->text : std::string();
        env_.err << refusal << '\n' << std::flush;
        refuse(kExitRefused, refusal);
        return std::nullopt;
    }
    // The one exchange the review may add, and only when asked for.
    if (plan_.checkClock) {
        if (const auto instrument = operations::ReadInstrumentClock(link)) {
            planner.noteClockReading(
                {env_.clock.localTime(), env_.clock.utcOffsetSeconds(), *instrument});
        } else {
            env_.err << "The instrument clock could not be read.\n";
        }
    }
    const instrument::DeploymentReview review = instrument::MakeDeploymentReview(
        planner, *result.value, link.identity, env_.clock.localTime());
    env_.err << '\n' << instrument::FormatReviewText(review) << std::flush;
    if (plan_.strict && !review.warnings.empty()) {
        refuse(kExitRefused, "--strict: the review gave a warning; nothing was sent");
        env_.err << refusal_ << '\n' << std::flush;
        return std::nullopt;
    }
    if (plan_.dryRun) {
        const operations::ChangeDetection changes =
            operations::DetectChanges(*result.value, inputs.user);
        const std::vector<std::string> lines = UploadCommandLines(changes, result.value->start);
        env_.out << "\nThe upload would send, after waking the instrument:\n";
        for (const auto& line : lines) {
            env_.out << line << '\n';
        }
        env_.out << std::flush;
        dryRunDone_ = true;
        if (plan_.saveCommands) {
            const std::string file =
                operations::FormatCommandFile(lines, {*serialNumber_, platform::LocalTimeStamp()});
            if (const int code = SaveDocument(*plan_.saveCommands, file, "command file", env_.err);
                code != kExitSuccess) {
                refuse(code, "the command file could not be saved");
            }
        }
        return std::nullopt;
    }
    record_ = instrument::StartDeploymentRecord(planner, inputs, *result.value, link.identity,
                                                operations::InstantNow(env_.clock));
    return result.value;
}

void HeadlessSetupFrontEnd::uploadFinished(const operations::UploadRun& run) {
    if (!record_) {
        return;
    }
    instrument::FinishDeploymentRecord(*record_, run);
    const platform::RecordTexts texts = instrument::DeploymentRecordTexts(*record_);
    const std::vector<std::filesystem::path> folders =
        platform::RecordFolders(plan_.recordFolder, env_.currentFolder);
    const platform::RecordSaved saved = platform::SaveRecord(texts, folders);
    for (const std::string& problem : saved.problems) {
        env_.err << "The deployment record could not be written to " << problem << '\n';
    }
    if (saved.folder) {
        // The folder as the user named it, when it took the record.
        const std::filesystem::path shown = *saved.folder == folders.front()
                                                ? std::filesystem::path(plan_.recordFolder)
                                                : *saved.folder;
        env_.err << "Deployment record: " << (shown / (texts.stem + ".txt")).string()
                 << " and .json\n";
    } else {
        recordLost_ = true;
        env_.err << "The deployment record could not be written anywhere.\n";
    }
    env_.err << std::flush;
}

void HeadlessSetupFrontEnd::runDisplay(operations::DeploymentDisplay& display) {
    env_.err << display.intervalText() << '\n' << std::flush;
    display.setOutput([this](std::string_view text) {
        for (const char c : text) {
            if (c != '\r') {
                env_.out.put(c);
            }
        }
        env_.out.flush();
    });
    // Ticks on a fixed 200 ms schedule: a tick's own read time does not stretch the period.
    link::Clock& clock = env_.clock;
    const std::int64_t start = clock.nowMs();
    const auto watchMs = static_cast<std::int64_t>(std::llround(plan_.watchSeconds * 1000.0));
    for (std::int64_t next = start + operations::DeploymentDisplay::kTickMs;
         next <= start + watchMs; next += operations::DeploymentDisplay::kTickMs) {
        clock.sleepMs(static_cast<int>(std::max<std::int64_t>(0, next - clock.nowMs())));
        display.tick();
    }
    display.setOutput({});
}

} // namespace qpx::cli
