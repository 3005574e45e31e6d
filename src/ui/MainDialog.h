#pragma once

#include "link/Clock.h"
#include "link/MessageSink.h"
#include "link/Port.h"
#include "link/PortOpener.h"
#include "link/ProgressView.h"
#include "operations/ConnectedSetup.h"
#include "operations/Connection.h"
#include "planning/DeploymentPlanner.h"
#include "ui/ColourControl.h"
#include "ui/GuardedDialog.h"

#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qpx::ui {

class CommunicationsDialog;
class MessageBoxSink;
class ProgressWindowFactory;

// The windows of the connected sequence, made for one run on the run's one planner.
using FrontEndMaker = std::function<std::unique_ptr<operations::ConnectedSetupFrontEnd>(
    QWidget* parent, planning::DeploymentPlanner& planner, link::Clock& clock,
    link::MessageSink& messages)>;
// Planning mode: the system's properties asked, then the planner as a calculator.
using PlanningRunner =
    std::function<void(QWidget* parent, planning::DeploymentPlanner& planner,
                       model::UnitSystem unitSystem, link::MessageSink& messages)>;

// What the main window works with. Left empty, the messages are boxes owned by the window, the
// progress views are ProgressWindows over it and help opens the guide beside the program.
struct MainDialogSetup {
    std::optional<std::filesystem::path> logDirectory;
    // Shown in the connection window's log (see ConnectionServices::logNotice).
    std::string logNotice;
    link::MessageSink* messages = nullptr;
    link::ProgressViewFactory* progress = nullptr;
    FrontEndMaker makeFrontEnd;
    PlanningRunner runPlanning;
    std::function<void()> help;
    // Called with the connection window each time it is shown (tests drive it from here).
    std::function<void(CommunicationsDialog&)> onCommunicationsShown;
    // Called before every port scan (the program refreshes its list of serial devices).
    std::function<void()> beforeScan;
    // "Open &Folder" of the record's box; unset: the desktop's file manager opens the folder.
    std::function<void(const std::filesystem::path&)> openFolder;
};

// The main window (template 102): the choice between a connected system and planning, the unit
// system, help, and "&About DeployQpx...". It owns for the whole run the port, the last search's
// port number and baud rate, the one planner and the connection window once made.
class MainDialog final : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;
    static constexpr int kConnectedId = 1013;
    static constexpr int kPlanningId = 1014;
    static constexpr int kEnglishId = 1008;
    static constexpr int kMetricId = 1007;
    static constexpr int kUnitGroupId = 1009;
    static constexpr int kCloseId = 1;
    static constexpr int kHelpId = 57670;
    static constexpr int kAboutCommand = 16;

    MainDialog(link::PortOpener& opener, link::Clock& clock, MainDialogSetup setup = {});
    ~MainDialog() override;

    // "Set up a Connected System" (also Enter anywhere in the window).
    void setUpConnectedSystem();
    // "Plan a Deployment (No System is required)".
    void planDeployment();
    void showHelp();
    void showAbout();

    model::UnitSystem unitSystem() const { return unitSystem_; }
    int planningFlag() const { return planning_; }
    const operations::ConnectionSettings& connection() const { return connection_; }
    CommunicationsDialog* communicationsDialog() const;
    planning::DeploymentPlanner& planner() { return planner_; }
    link::MessageSink& messages() { return *messages_; }
    // The window's own progress windows; null when the setup brought its own views.
    ProgressWindowFactory* progressWindows() const { return ownProgress_.get(); }
    // How the last connected run ended; nothing before the first.
    std::optional<operations::ConnectedSetupOutcome> lastOutcome() const { return lastOutcome_; }
    // The folder that holds the last connected run's deployment record; nothing when that run
    // made none (it ended before the upload).
    const std::optional<std::filesystem::path>& lastRecordFolder() const {
        return lastRecordFolder_;
    }
    // Called with each About box once shown (tests close it from here).
    std::function<void(QDialog&)> onAboutShown;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
#ifdef _WIN32
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void readControls();
    void onConnected();
    // After the run (and its disconnect message): where the record is, with "Open &Folder".
    void showRecordPlace(const std::filesystem::path& folder, const QString& text);

    link::PortOpener& opener_;
    link::Clock& clock_;
    MainDialogSetup setup_;
    std::unique_ptr<MessageBoxSink> ownMessages_;
    std::unique_ptr<ProgressWindowFactory> ownProgress_;
    link::MessageSink* messages_ = nullptr;
    link::ProgressViewFactory* progress_ = nullptr;

    // In the order the window keeps them for the run.
    int planning_ = 0;
    std::unique_ptr<link::Port> port_;
    operations::ConnectionSettings connection_;
    planning::DeploymentPlanner planner_;
    QPointer<CommunicationsDialog> communications_;
    std::array<ColourControl, 5> colours_;
    model::UnitSystem unitSystem_ = model::kMetricUnits;
    std::optional<operations::ConnectedSetupOutcome> lastOutcome_;
    std::optional<std::filesystem::path> lastRecordFolder_;

    QPushButton* connectedButton_ = nullptr;
    QPushButton* planningButton_ = nullptr;
    QRadioButton* english_ = nullptr;
    QRadioButton* metric_ = nullptr;
    QGroupBox* unitGroup_ = nullptr;
};

} // namespace qpx::ui
