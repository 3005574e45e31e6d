#pragma once

#include "link/Clock.h"
#include "link/Link.h"
#include "link/MessageSink.h"
#include "model/UserSetup.h"
#include "planning/DeploymentPlanner.h"
#include "ui/DialogHook.h"
#include "ui/GuardedDialog.h"

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QDateTimeEdit;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qpx::operations {
enum class SettingId;
struct PlanError;
} // namespace qpx::operations

namespace qpx::ui {

class PlanViewsWindow;
class ProfileAssistantDialog;

// The planner window (template 162, "System Deployment"), bound to the run's one
// DeploymentPlanner. It forwards the user's edits to the model, shows what the model says
// (texts, estimates, which controls are enabled) and shows the model's messages through the
// sink. "&Deploy" accepts the dialog once the model's checks pass; acceptedPlan() then holds
// what it handed back.
//
// A live check that fails shows its message and leaves the box as the user typed it; the
// planner keeps the value it last accepted until the box reads as a valid one again.
//
// The plan buttons write the planner's values to a plan file and enter one back (all or
// nothing, through the same events as typing), and write the command lines "&Deploy" would send;
// only the files the user names are written or read.
class DeploymentDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 162;
    static constexpr int kCancelId = 2;
    static constexpr int kHelpId = 57670;
    // The plan and command-file buttons have no template of their own; their ids are the
    // window's, clear of every control it and its assistant carry.
    static constexpr int kSavePlanId = 1400;
    static constexpr int kOpenPlanId = 1401;
    static constexpr int kSaveCommandsId = 1402;
    static constexpr int kPlanViewsId = 1403;

    DeploymentDialog(QWidget* parent, planning::DeploymentPlanner& planner,
                     link::MessageSink& messages);
    ~DeploymentDialog() override;

    // Opens the model on `inputs` and shows everything. `now` is the date-time control's own
    // default, kept in planning mode.
    // `inputs.user` is also what "Save Commands..." compares the plan with, as the upload
    // compares with what it downloaded.
    void load(const planning::PlannerInputs& inputs, const link::CalendarTime& now);
    void setHelp(std::function<void()> help) { help_ = std::move(help); }
    // The open connection the recorder, system time and PC-QPX windows talk over (none in
    // planning mode, where their buttons are disabled or work on the copies alone).
    void setLink(link::Link* link) { link_ = link; }
    // Where the run keeps the deployment record; the review shows it and may change it (none:
    // the review shows no folder).
    void setRecordsFolder(std::filesystem::path* folder) { recordsFolder_ = folder; }
    // Called with each sub-dialog once it shows (tests drive them through it).
    void setDialogHook(DialogHook hook) { dialogHook_ = std::move(hook); }

    const std::optional<planning::AcceptedPlan>& acceptedPlan() const { return plan_; }
    ProfileAssistantDialog& assistant() { return *assistant_; }

private:
    struct CheckedEntry {
        QLineEdit* box;
        planning::CheckedBox check;
    };

    void build();
    // build()'s parts, in the order it calls them.
    QGroupBox* buildPlainFields(); // file name, start, comments; gives the comments group
    QFormLayout* buildSettingsFields();
    QGroupBox* buildPowerGroup();
    void buildButtons();
    void arrange(QFormLayout* settings, QGroupBox* commentsGroup, QGroupBox* powerGroup,
                 QGroupBox* summaryGroup);
    void buildAssistant();
    QLineEdit* addCheckedBox(planning::CheckedBox check);
    void boxEdited(const CheckedEntry& entry, const QString& text);
    // Every control from the planner: values, labels, estimates and which controls are enabled.
    void refresh();
    void showValues();
    void showEstimates();
    void showProfileBoxes();
    void deployClicked();
    // Connected, "&Deploy" shows the review first: its checks and texts on a copy of the
    // planner, so that going back finds every value as it was. True: deploy.
    bool reviewPassed();
    void showPlanViews();
    // A refusal of "&Deploy"'s checks: its message, then the focus on its box.
    void showRefusal(const planning::DialogMessage& message);
    // The plan files and the command file, in DeploymentDialogPlans.cpp.
    void savePlan();
    void openPlan();
    void saveCommands();
    void refusePlan(const QString& fileName, const operations::PlanError& error);
    // The control that shows a setting: its box or list, or the button of the sub-dialog that
    // holds it.
    QWidget* controlFor(operations::SettingId id) const;
    // The six sub-dialog buttons. The settings windows (advanced, waves, hardware) live in
    // DeploymentDialogSettings.cpp, the ones that talk to the instrument (PC-QPX, recorder,
    // system time) in DeploymentDialogInstrument.cpp.
    void openAdvancedSettings();
    void openWavesSettings();
    void openHardwareConfiguration();
    void openPcQpxSettings();
    void openRecorderDetails();
    void openSystemTime();
    void takeStartTime();
    QLineEdit* boxById(int id) const;

    planning::DeploymentPlanner& planner_;
    link::MessageSink& messages_;
    std::function<void()> help_;
    link::Link* link_ = nullptr;
    std::filesystem::path* recordsFolder_ = nullptr;
    DialogHook dialogHook_;
    std::optional<planning::AcceptedPlan> plan_;
    // What the planner was opened on, before any change of the user's.
    model::UserSetup downloaded_{};
    // Filled once in build(); entries are never added later, so pointers into it stay valid.
    std::vector<CheckedEntry> checked_;

    QLineEdit* fileName_ = nullptr;
    QDateTimeEdit* start_ = nullptr;
    QLineEdit* comments_[3] = {nullptr, nullptr, nullptr};
    QLineEdit* averaging_ = nullptr;
    QLineEdit* profiling_ = nullptr;
    QComboBox* coordinate_ = nullptr;
    QLineEdit* cells_ = nullptr;
    QLabel* cellSizeLabel_ = nullptr;
    QLineEdit* cellSize_ = nullptr;
    QLabel* blankingLabel_ = nullptr;
    QLineEdit* blanking_ = nullptr;
    QLabel* rangeText_ = nullptr;
    QComboBox* outputMode_ = nullptr;
    QComboBox* recorderEnabled_ = nullptr;
    QComboBox* batteryType_ = nullptr;
    QLineEdit* batteryPacks_ = nullptr;
    QLineEdit* capacity_ = nullptr;
    QLineEdit* powerDraw_ = nullptr;
    QLabel* powerText_ = nullptr;
    QLabel* freeSpaceText_ = nullptr;
    QPushButton* advanced_ = nullptr;
    QPushButton* waves_ = nullptr;
    QPushButton* pcQpx_ = nullptr;
    QPushButton* hardware_ = nullptr;
    QPushButton* recorder_ = nullptr;
    QPushButton* systemTime_ = nullptr;
    QPushButton* assistantButton_ = nullptr;
    QPushButton* savePlan_ = nullptr;
    QPushButton* openPlan_ = nullptr;
    QPushButton* saveCommands_ = nullptr;
    QPushButton* planViews_ = nullptr;
    // Made on the first "Show Plan &Views..."; it follows every renewal of the estimates.
    PlanViewsWindow* planViewsWindow_ = nullptr;
    QPushButton* deploy_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    ProfileAssistantDialog* assistant_ = nullptr;
};

// The date-time control's reading and setting, field by field.
link::CalendarTime CalendarFromDateTime(const QDateTime& dateTime);
QDateTime DateTimeFromCalendar(const link::CalendarTime& time);

} // namespace qpx::ui
