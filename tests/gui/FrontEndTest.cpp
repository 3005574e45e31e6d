#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "gui/ReviewAnswer.h"
#include "operations/ConnectedSetup.h"
#include "operations/Connection.h"
#include "planning/DeploymentValidation.h"
#include "support/KeptProgressViews.h"
#include "support/RecordingMessageSink.h"
#include "support/SimulatedPortOpener.h"
#include "support/TempDir.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentFrontEnd.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

namespace {

using qpx::operations::ConnectedSetupOutcome;
using qpx::test::Control;
using qpx::test::PasteText;
using qpx::ui::DeploymentDialog;
using qpx::ui::DeploymentDisplayDialog;
using Planner = qpx::planning::DeploymentPlanner;
using Lines = std::vector<std::string>;

// A QPX on the in-process simulator behind COM1, connected as "Go!" leaves it, and the front end
// of the windows on the same virtual clock.
struct Connected {
    Connected() {
        opener.instruments[0] = qpx::sim::QpxScenario();
        qpx::operations::ConnectionSettings settings;
        connected =
            qpx::operations::ConnectInstrument(opener, clock, slot, settings, 0, 9600, messages,
                                               std::nullopt, [](std::string_view) {});
    }
    ConnectedSetupOutcome run(const qpx::ui::DialogHook& onShown) {
        qpx::link::Link link{*slot, messages, std::nullopt};
        qpx::ui::DeploymentFrontEnd front(nullptr, planner, clock, messages);
        front.setHooks({[&onShown](QDialog& shown) {
                            if (!qpx::test::DeployFromReview(shown))
                                onShown(shown);
                        },
                        {}});
        front.setRecordsFolder(records.path());
        return qpx::operations::RunConnectedSetup(link, views, front, 1);
    }
    const Lines& received() { return opener.lastInstrument().transcript(); }

    qpx::link::VirtualClock clock;
    qpx::test::SimulatedPortOpener opener{clock};
    std::unique_ptr<qpx::link::Port> slot;
    qpx::test::RecordingMessageSink messages;
    qpx::test::KeptProgressViews views;
    Planner planner;
    qpx::test::TempDir records;
    bool connected = false;
};

} // namespace

class FrontEndTest : public QObject {
    Q_OBJECT
private slots:
    void cancelInThePlannerSendsNothing() {
        Connected c;
        QVERIFY(c.connected);
        int planners = 0;
        const auto outcome = c.run([&](QDialog& dialog) {
            auto* planner = qobject_cast<DeploymentDialog*>(&dialog);
            QVERIFY(planner != nullptr);
            ++planners;
            // An edit that would be uploaded, had the plan gone out.
            PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                      QStringLiteral("25"));
            Control<QPushButton>(planner, DeploymentDialog::kCancelId)->click();
        });
        QCOMPARE(outcome, ConnectedSetupOutcome::Cancelled);
        QCOMPARE(planners, 1);
        // The download's last command is the last the instrument heard.
        QCOMPARE(c.received().back(), std::string("bdir"));
        QCOMPARE(c.slot->closeCount(), 1);
        QVERIFY(c.messages.entries.empty());
    }

    void deployedPlanGoesOutAndTheDisplayShowsTheOutput() {
        Connected c;
        QVERIFY(c.connected);
        QString shownInterval;
        QString output;
        std::size_t messagesDuringDisplay = 99;
        const auto outcome = c.run([&](QDialog& dialog) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&dialog)) {
                PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                          QStringLiteral("25"));
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                return;
            }
            auto* display = qobject_cast<DeploymentDisplayDialog*>(&dialog);
            QVERIFY(display != nullptr);
            QVERIFY(display->tickTimer().isActive());
            messagesDuringDisplay = c.messages.entries.size();
            shownInterval = Control<QWidget>(display, DeploymentDisplayDialog::kIntervalTextId)
                                ->property("text")
                                .toString();
            for (int tick = 0; tick < 10; ++tick) {
                c.clock.sleepMs(200);
                display->tick();
            }
            output =
                Control<QPlainTextEdit>(display, DeploymentDisplayDialog::kOutputId)->toPlainText();
            Control<QPushButton>(display, DeploymentDisplayDialog::kOkId)->click();
        });
        QCOMPARE(outcome, ConnectedSetupOutcome::Deployed);
        const Lines& lines = c.received();
        QVERIFY(std::find(lines.begin(), lines.end(), "nc 25") != lines.end());
        QCOMPARE(lines.back(), std::string("deploy"));
        QCOMPARE(lines[lines.size() - 2], std::string("SaveSetup"));
        QCOMPARE(shownInterval,
                 QStringLiteral("Time between Profiles: %1 seconds")
                     .arg(c.opener.lastInstrument().savedStructures().userSetup.profilingInterval));
        QVERIFY2(output.contains(QStringLiteral("Deployment started")), qPrintable(output));
        QCOMPARE(messagesDuringDisplay, std::size_t{0});
        QCOMPARE(c.messages.texts(),
                 (Lines{"Now disconnect the communication cable from \nthe system for "
                        "deployment."}));
        QCOMPARE(c.slot->closeCount(), 1);
        QCOMPARE(c.opener.lastInstrument().savedStructures().userSetup.numberOfCells, 25);
    }
};

QPX_GUI_TEST(FrontEndTest)
#include "FrontEndTest.moc"
