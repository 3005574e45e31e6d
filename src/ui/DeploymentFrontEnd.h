#pragma once

#include "instrument/DeploymentRecord.h"
#include "link/Clock.h"
#include "link/MessageSink.h"
#include "operations/ConnectedSetup.h"
#include "planning/DeploymentPlanner.h"
#include "platform/RecordFiles.h"
#include "ui/DialogHook.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

namespace qpx::ui {

// Where a deployment record was kept: STEM.txt and STEM.json in `folder`.
struct KeptRecord {
    std::filesystem::path folder;
    std::string stem;
};

// The main window's box after a run that made a record: "The deployment record is in\n
// <folder>\n<stem>.txt and .json".
QString KeptRecordText(const KeptRecord& kept);

// The windows of the connected sequence: the planner on the run's one DeploymentPlanner (with
// its review), then the deployment display. Both are modal; the planner is owned by `parent`,
// the display by no window. Every run that reaches the upload leaves a deployment record: in the
// records folder, else in one the user picks, else in the first fallback folder that takes it.
class DeploymentFrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    DeploymentFrontEnd(QWidget* parent, planning::DeploymentPlanner& planner, link::Clock& clock,
                       link::MessageSink& messages);

    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& inputs,
                                                     link::Link& link) override;
    void uploadFinished(const operations::UploadRun& run) override;
    void runDisplay(operations::DeploymentDisplay& display) override;

    void setHooks(PlannerHooks hooks) { hooks_ = std::move(hooks); }
    // For this run only (the review's "Change &Folder..." changes it too); never a setting.
    void setRecordsFolder(std::filesystem::path folder) { recordsFolder_ = std::move(folder); }
    const std::filesystem::path& recordsFolder() const { return recordsFolder_; }
    // Where the record of the run went; nothing before the upload, or when no folder took it.
    const std::optional<KeptRecord>& keptRecord() const { return kept_; }

private:
    // Saves the finished record, asking for another folder when the records folder refuses it.
    void keep(const platform::RecordTexts& texts);

    QPointer<QWidget> parent_;
    planning::DeploymentPlanner& planner_;
    link::Clock& clock_;
    link::MessageSink& messages_;
    PlannerHooks hooks_;
    std::filesystem::path recordsFolder_;
    // Made as the review is passed, finished by the upload.
    std::optional<instrument::DeploymentRecord> record_;
    std::optional<KeptRecord> kept_;
};

} // namespace qpx::ui
