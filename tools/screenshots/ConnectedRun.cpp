#include "screenshots/ConnectedRun.h"

#include "link/VirtualClock.h"
#include "planning/DeploymentPlanner.h"
#include "screenshots/FixedTime.h"
#include "screenshots/ShowcasePorts.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/ProfileAssistantDialog.h"
#include "ui/ProgressWindow.h"
#include "ui/ProgressWindowFactory.h"
#include "ui/TemplateId.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <array>
#include <memory>

namespace qpx::screenshots {

namespace {

using Planner = planning::DeploymentPlanner;

struct SubDialog {
    int buttonId;
    const char* name;
};

constexpr std::array<SubDialog, 6> kSubDialogs = {{
    {Planner::kAdvancedButtonId, "advanced-settings"},
    {Planner::kWavesButtonId, "waves-settings"},
    {Planner::kPcQpxButtonId, "pcqpx-settings"},
    {Planner::kHardwareButtonId, "hardware-configuration"},
    {Planner::kRecorderButtonId, "recorder"},
    {Planner::kSystemTimeButtonId, "system-time"},
}};

void Paste(QWidget* root, int id, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(ui::FindByTemplateId(root, id));
    if (box == nullptr)
        return;
    box->setFocus();
    box->selectAll();
    box->insert(text);
}

// Everything one run needs, wired as Main.cpp wires the program, on the simulator and the
// virtual clock; message boxes are drawn for real but answered at once.
class Session {
public:
    Session(const ConnectedRun& run, ShotWriter& writer)
        : run_(run), writer_(writer), clock_(kComputerTime), ports_(clock_, run.instrument),
          messages_(nullptr, [this](QWidget* parent, const ui::MessageBoxRequest& request) {
              return present(parent, request);
          }) {
        ui::MainDialogSetup setup;
        setup.messages = &messages_;
        setup.makeFrontEnd = [this](QWidget* parent, Planner& planner, link::Clock& runClock,
                                    link::MessageSink& sink) {
            auto front = std::make_unique<ui::DeploymentFrontEnd>(parent, planner, runClock, sink);
            front->setHooks({[this](QDialog& shown) { onShown(shown); }, {}});
            // The run's record stays out of the user's documents.
            front->setRecordsFolder(records_.path().toStdU16String());
            return front;
        };
        main_ = std::make_unique<ui::MainDialog>(ports_, clock_, std::move(setup));
        messages_.setParentWidget(main_.get());
        main_->progressWindows()->onOpened = [this](ui::ProgressWindow&) { onProgress(); };
    }

    bool run() {
        main_->show();
        if (run_.unitSystem != 1) {
            if (auto* english = qobject_cast<QRadioButton*>(
                    ui::FindByTemplateId(main_.get(), ui::MainDialog::kEnglishId)))
                english->click();
        }
        main_->setUpConnectedSystem();
        ui::CommunicationsDialog* communications = main_->communicationsDialog();
        if (communications == nullptr)
            return false;
        communications_ = communications;
        communications->go();
        if (run_.wholeSequence)
            saveProgressWindows();
        main_->hide();
        return plannerShown_ && (!run_.wholeSequence || displayShown_);
    }

private:
    QMessageBox::StandardButton present(QWidget* parent, const ui::MessageBoxRequest& request) {
        if (!pendingBox_.isEmpty()) {
            QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
            box.setDefaultButton(request.defaultButton);
            box.show();
            writer_.save(box, pendingBox_);
            pendingBox_.clear();
        }
        return QMessageBox::Ok;
    }

    // The connection window as the first progress window opens: the scan's markers and the
    // log of "Go!" are both still in it.
    void onProgress() {
        if (run_.wholeSequence && communications_ != nullptr && !communicationsSaved_) {
            communicationsSaved_ = true;
            writer_.save(*communications_, QStringLiteral("communications"));
        }
    }

    void onShown(QDialog& shown) {
        if (auto* planner = qobject_cast<ui::DeploymentDialog*>(&shown)) {
            onPlanner(*planner);
        } else if (auto* review = qobject_cast<ui::DeploymentReviewDialog*>(&shown)) {
            // Saved on its own (SaveReviews), with fixed texts.
            review->deployButton()->click();
        } else if (auto* display = qobject_cast<ui::DeploymentDisplayDialog*>(&shown)) {
            onDisplay(*display);
        } else {
            onSubDialog(shown);
        }
    }

    void onPlanner(ui::DeploymentDialog& planner) {
        plannerShown_ = true;
        if (run_.wholeSequence) {
            // What a technician types before a harbour mooring.
            Paste(&planner, planning::kFileNameBoxId, QStringLiteral("HARB1"));
            Paste(&planner, planning::kComment1BoxId, QStringLiteral("Harbour mouth, 12 m"));
            Paste(&planner, planning::kCellsBoxId, QStringLiteral("25"));
            Paste(&planner, planning::kProfilingBoxId, QStringLiteral("1800"));
        }
        writer_.save(planner, run_.plannerName);
        for (const SubDialog& sub : kSubDialogs) {
            if (run_.onlySubDialog != 0 && run_.onlySubDialog != sub.buttonId)
                continue;
            auto* button =
                qobject_cast<QAbstractButton*>(ui::FindByTemplateId(&planner, sub.buttonId));
            if (button == nullptr || !button->isEnabled())
                continue;
            currentSub_ = QString::fromLatin1(sub.name);
            button->click(); // runs the sub-dialog's own loop; onSubDialog closes it
            currentSub_.clear();
        }
        if (!run_.wholeSequence) {
            planner.reject();
            return;
        }
        ui::ProfileAssistantDialog& assistant = planner.assistant();
        assistant.toggle();
        for (int step = 0; step < 500 && assistant.slideTimer().isActive(); ++step)
            assistant.slideStep();
        writer_.save(assistant, QStringLiteral("profile-assistant"));
        assistant.toggle();
        for (int step = 0; step < 500 && assistant.slideTimer().isActive(); ++step)
            assistant.slideStep();

        // A live check refusing a value: the warning box. The box keeps what was typed, so the
        // plan's own value is typed again before "&Deploy".
        pendingBox_ = QStringLiteral("message-warning");
        Paste(&planner, planning::kCellsBoxId, QStringLiteral("0"));
        pendingBox_.clear();
        Paste(&planner, planning::kCellsBoxId, QStringLiteral("25"));

        if (auto* deploy =
                qobject_cast<QAbstractButton*>(ui::FindByTemplateId(&planner, Planner::kDeployId)))
            deploy->click();
    }

    void onSubDialog(QDialog& shown) {
        if (!currentSub_.isEmpty()) {
            const QString name = currentSub_ + run_.subDialogSuffix;
            if (run_.onlyWhereDifferent)
                writer_.saveIfDifferent(shown, name, currentSub_);
            else
                writer_.save(shown, name);
        }
        shown.reject();
    }

    void onDisplay(ui::DeploymentDisplayDialog& display) {
        displayShown_ = true;
        // Six seconds of the instrument's output, on the display's own 200 ms tick.
        for (int tick = 0; tick < 30; ++tick) {
            clock_.sleepMs(200);
            display.tick();
        }
        writer_.save(display, QStringLiteral("deployment-display"));
        pendingBox_ = QStringLiteral("message-information");
        display.accept();
    }

    // The two sequences' windows, filled with what they showed during the run.
    void saveProgressWindows() {
        const QStringList& transcripts = main_->progressWindows()->transcripts();
        const std::array<const char*, 2> names = {"progress-download", "progress-upload"};
        for (int i = 0; i < transcripts.size() && i < static_cast<int>(names.size()); ++i) {
            ui::ProgressWindow window(main_.get(), clock_);
            window.present();
            const QByteArray text = transcripts[i].toLatin1();
            window.appendText(
                std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
            window.setRange(0, 100);
            window.setPosition(100);
            writer_.save(window, QString::fromLatin1(names[static_cast<std::size_t>(i)]));
        }
    }

    const ConnectedRun& run_;
    ShotWriter& writer_;
    QTemporaryDir records_;
    link::VirtualClock clock_;
    ShowcasePorts ports_;
    ui::MessageBoxSink messages_;
    std::unique_ptr<ui::MainDialog> main_;
    ui::CommunicationsDialog* communications_ = nullptr;
    QString currentSub_;
    QString pendingBox_;
    bool communicationsSaved_ = false;
    bool plannerShown_ = false;
    bool displayShown_ = false;
};

} // namespace

sim::Scenario ShowcaseInstrument() {
    sim::Scenario scenario = sim::QpxScenario(1);
    scenario.wavesOption = 2;
    scenario.recorderCapacity = 64u * 1024u * 1024u;
    scenario.recorderFiles = {
        {"DEF00001.QPX", 4718592, 2026, 1, 12, 8, 15, 0, 0},
        {"DEF00002.QPX", 9437184, 2026, 2, 3, 14, 40, 30, 0},
        {"TEST0001.QPX", 131072, 2026, 3, 13, 16, 5, 12, 50},
    };
    scenario.recorderUsed = 4718592u + 9437184u + 131072u;
    scenario.clockYear = kInstrumentTime.year;
    scenario.clockMonth = kInstrumentTime.month;
    scenario.clockDay = kInstrumentTime.day;
    scenario.clockHour = kInstrumentTime.hour;
    scenario.clockMinute = kInstrumentTime.minute;
    scenario.clockSecond = kInstrumentTime.second;
    scenario.deploy.outputIntervalMs = 1000;
    return scenario;
}

bool Run(const ConnectedRun& run, ShotWriter& writer) {
    Session session(run, writer);
    return session.run();
}

} // namespace qpx::screenshots
