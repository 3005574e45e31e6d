#pragma once

#include "link/CommandJournal.h"
#include "link/FetchStructure.h"
#include "link/Link.h"
#include "link/ProgressView.h"
#include "operations/DeploymentDisplay.h"
#include "operations/Recorder.h"
#include "planning/DeploymentValues.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The connected-mode sequence: download what the planner needs, let the user plan, upload the
// changes, start the deployment, show its output, tell the user to disconnect.
namespace qpx::operations {

enum class ConnectedSetupOutcome {
    NoPort,         // nothing done
    DownloadFailed, // a download step failed; the planner was not shown
    Cancelled,      // the planner was cancelled; nothing sent
    UploadFailed,   // the upload stopped; "deploy" not sent
    DeployRefused,  // "deploy" was not taken; no display, no disconnect message
    Deployed,       // the display was shown and closed, the user told to disconnect
};

// How a run that reached the upload went, for its record.
struct UploadRun {
    ConnectedSetupOutcome outcome = ConnectedSetupOutcome::UploadFailed;
    // Every line sent after the planner, "deploy" included, in order.
    std::vector<link::JournalEntry> sent;
    // Where it stopped and what was said then; empty once deployed.
    std::string failedStep;
    std::string failureMessage;
};

// "deployed", "upload failed", "deploy refused", ...
std::string_view OutcomeName(ConnectedSetupOutcome outcome);

// What the sequence needs from the front end. The GUI shows its dialogs here; the command-line
// tool applies its settings and ticks the display itself.
class ConnectedSetupFrontEnd {
public:
    virtual ~ConnectedSetupFrontEnd() = default;
    // The planner, shown modally, with the open connection its instrument windows talk over.
    // Nothing: the user cancelled.
    virtual std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& inputs,
                                                             link::Link& link) = 0;
    // The deployment display, until the user closes it; it calls tick() every 200 ms meanwhile.
    virtual void runDisplay(DeploymentDisplay& display) = 0;
    // After every run that reached the upload, before the display: the record is made here.
    virtual void uploadFinished(const UploadRun& run) { (void)run; }
};

using link::kOperFailedMessage;
inline constexpr std::string_view kDisconnectTitle = "QPX deployment";
inline constexpr std::string_view kDisconnectMessage =
    "Now disconnect the communication cable from \nthe system for deployment.";

// 0 none, 1 non-directional ("YES", "BASIC" or "FREQUENCY", any case), 2 "DIRECTIONAL" alone.
int DecodeWavesOption(std::string_view reply);

// The download's result: the planner's inputs and the recorder directory they were taken from.
struct Download {
    planning::PlannerInputs inputs;
    RecorderDirectory recorder;
};

// The six download steps, each logged as its label and "Success" or "Failed" in `view` (none:
// shown nowhere). True when all succeeded. On failure the port has been closed and nothing more
// was sent.
bool DownloadConfiguration(link::Link& link, link::ProgressView* view, int unitSystem,
                           Download& download);

// Runs the whole sequence over the port `link` holds. The port is closed when it returns,
// whatever the outcome.
ConnectedSetupOutcome RunConnectedSetup(link::Link& link, link::ProgressViewFactory& views,
                                        ConnectedSetupFrontEnd& frontEnd, int unitSystem);

} // namespace qpx::operations
