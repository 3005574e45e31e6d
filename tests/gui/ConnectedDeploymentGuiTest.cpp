#include "gui/ConnectedProgram.h"
#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "link/VirtualClock.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentValidation.h"
#include "support/SimulatedPortOpener.h"
#include "ui/AdvancedSettingsDialog.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/HardwareConfigDialog.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/PcQpxSettingsDialog.h"
#include "ui/ProgressWindow.h"
#include "ui/ProgressWindowFactory.h"
#include "ui/RecorderDialog.h"
#include "ui/SystemTimeDialog.h"
#include "ui/WavesSettingsDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <string>
#include <vector>

namespace {

using qpx::test::Control;
using qpx::test::PasteText;
using qpx::ui::DeploymentDialog;
using qpx::ui::DeploymentDisplayDialog;
using qpx::ui::MainDialog;
using Planner = qpx::planning::DeploymentPlanner;
using qpx::test::Program;

const QString kDownloadLog = QStringLiteral("Waking up System............... Success\n"
                                            "Get System Configuration....... Success\n"
                                            "Get Sensor Operation Config.... Success\n"
                                            "Get User Setup................. Success\n"
                                            "Get Waves Option............... Success\n"
                                            "Get Recorder Settings.......... Success\n");

class ConnectedDeploymentGuiTest : public QObject {
    Q_OBJECT
private slots:
    void wholeDeploymentThroughTheWindows() {
        Program p;
        MainDialog& main = *p.dialog;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));

        int plannersShown = 0;
        int displaysShown = 0;
        QString plannerUnitsText;
        QString output;
        QString interval;
        std::size_t boxesBeforeDisplayClosed = 99;
        p.onShown = [&](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                ++plannersShown;
                QVERIFY(planner->isModal());
                QVERIFY(Control<QPushButton>(planner, Planner::kDeployId)->isEnabled());
                PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                          QStringLiteral("25"));
                PasteText(Control<QLineEdit>(planner, qpx::planning::kProfilingBoxId),
                          QStringLiteral("1800"));
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                return;
            }
            auto* display = qobject_cast<DeploymentDisplayDialog*>(&shown);
            QVERIFY(display != nullptr);
            ++displaysShown;
            interval = Control<QWidget>(display, DeploymentDisplayDialog::kIntervalTextId)
                           ->property("text")
                           .toString();
            for (int tick = 0; tick < 10; ++tick) {
                p.clock.sleepMs(200);
                display->tick();
            }
            output =
                Control<QPlainTextEdit>(display, DeploymentDisplayDialog::kOutputId)->toPlainText();
            boxesBeforeDisplayClosed = p.boxes.size();
            Control<QPushButton>(display, DeploymentDisplayDialog::kOkId)->click();
        };
        int windowsOverMain = 0;
        p.progress->onOpened = [&](qpx::ui::ProgressWindow& window) {
            if (window.isVisible() && window.parentWidget() == &main &&
                QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor)
                ++windowsOverMain;
        };

        // Enter in the main window opens the connection window; "Go!" on COM2.
        QTest::keyClick(&main, Qt::Key_Return);
        qpx::ui::CommunicationsDialog* communications = main.communicationsDialog();
        QVERIFY(communications != nullptr && communications->isVisible());
        QCOMPARE(communications->selectedPort(), 1);
        QTest::mouseClick(qobject_cast<QPushButton*>(qpx::ui::FindByTemplateId(communications, 1)),
                          Qt::LeftButton);

        QCOMPARE(main.lastOutcome(), qpx::operations::ConnectedSetupOutcome::Deployed);
        QVERIFY(!communications->isVisible());
        QCOMPARE(communications->logBox()->toPlainText(),
                 QStringLiteral("Open Port........................ Success\n"
                                "Waking up System................. Success\n"
                                "QPX found on COM2\n"));
        QCOMPARE(plannersShown, 1);
        QCOMPARE(displaysShown, 1);

        // Two progress windows: the download, then the upload of the two changes.
        const QStringList& transcripts = p.progress->transcripts();
        QCOMPARE(transcripts.size(), 2);
        QCOMPARE(transcripts[0], kDownloadLog);
        QCOMPARE(transcripts[1], QStringLiteral("Waking up System............... Success\n"
                                                "Transmit System Variables..............\n"
                                                "Update Deployment Start Time... Success\n"
                                                "Update Profiling Interval...... Success\n"
                                                "Update Number of Cells......... Success\n"
                                                "Set Output Format.............. Success\n"
                                                "Set AutoSleep.................. Success\n"
                                                "Save Setup..................... Success\n"));
        QCOMPARE(windowsOverMain, 2);

        const auto& lines = p.received();
        QVERIFY(std::find(lines.begin(), lines.end(), "nc 25") != lines.end());
        QCOMPARE(lines[lines.size() - 2], std::string("SaveSetup"));
        QCOMPARE(lines.back(), std::string("deploy"));
        QCOMPARE(p.opener.lastInstrument().savedStructures().userSetup.numberOfCells, 25);

        QCOMPARE(interval, QStringLiteral("Time between Profiles: 1800 seconds"));
        QVERIFY2(!output.isEmpty(), "the display showed nothing");
        // The boxes come after the display: the disconnect message, as information, then where
        // the deployment record is.
        QCOMPARE(boxesBeforeDisplayClosed, std::size_t{0});
        QCOMPARE(p.boxes.size(), std::size_t{2});
        QCOMPARE(p.boxes[0].icon, QMessageBox::Information);
        QCOMPARE(p.boxes[0].title, QStringLiteral("QPX deployment"));
        QCOMPARE(p.boxes[0].text, QStringLiteral("Now disconnect the communication cable from "
                                                 "\nthe system for deployment."));
        QCOMPARE(p.opener.lines.back().closes, 1);
        QCOMPARE(main.connection().portIndex, 1);
        QCOMPARE(main.connection().baudRate, 9600);
        QVERIFY(main.isVisible());
    }

    void deploymentThroughTheInstrumentWindows() {
        Program p;
        // A PC-QPX with waves, so that every sub-dialog button is offered.
        qpx::sim::Scenario s = qpx::sim::QpxScenario();
        s.wavesOption = 1;
        s.systemConfiguration = qpx::planning::MakeDefaultSystemConfiguration(1);
        s.systemConfiguration->cpuSoftwareVersion = 17;
        s.userSetup = qpx::planning::MakeDefaultUserSetup(1);
        s.userSetup->pulseCoherentMode = 1;
        // A wave series set up by the waves option, short enough for the 120 s profiling interval
        // the default setup gives in pulse-coherent mode.
        qpx::planning::ApplyWavesOption(*s.userSetup, 1);
        s.userSetup->waveSamples = 64;
        s.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50}};
        p.opener.instruments[1] = s;
        p.dialog->show();

        QStringList visited;
        p.onShown = [&](QDialog& shown) {
            if (auto* planner = qobject_cast<DeploymentDialog*>(&shown)) {
                for (int id : {Planner::kAdvancedButtonId, Planner::kWavesButtonId,
                               Planner::kPcQpxButtonId, Planner::kHardwareButtonId,
                               Planner::kRecorderButtonId, Planner::kSystemTimeButtonId}) {
                    QVERIFY(Control<QPushButton>(planner, id)->isEnabled());
                }
                for (int id : {Planner::kAdvancedButtonId, Planner::kWavesButtonId,
                               Planner::kHardwareButtonId, Planner::kPcQpxButtonId,
                               Planner::kRecorderButtonId, Planner::kSystemTimeButtonId}) {
                    Control<QPushButton>(planner, id)->click();
                }
                // A PC-QPX reaches less far than the 20 cells of the defaults.
                PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                          QStringLiteral("5"));
                Control<QPushButton>(planner, Planner::kDeployId)->click();
                if (planner->isVisible()) {
                    visited << QStringLiteral("Planner stayed open: %1")
                                   .arg(p.boxes.empty() ? QString() : p.boxes.back().text);
                    planner->reject();
                }
                return;
            }
            if (auto* advanced = qobject_cast<qpx::ui::AdvancedSettingsDialog*>(&shown)) {
                visited << QStringLiteral("Advanced");
                auto* salinity =
                    Control<QLineEdit>(advanced, qpx::planning::AdvancedSettings::kSalinityId);
                QCOMPARE(salinity->text(), QStringLiteral("34.5"));
                PasteText(salinity, QStringLiteral("30"));
                Control<QPushButton>(advanced, qpx::ui::AdvancedSettingsDialog::kOkId)->click();
                if (advanced->isVisible()) {
                    advanced->reject();
                    visited << QStringLiteral("Advanced stayed open");
                }
                return;
            }
            if (auto* waves = qobject_cast<qpx::ui::WavesSettingsDialog*>(&shown)) {
                visited << QStringLiteral("Waves");
                Control<QPushButton>(waves, qpx::ui::WavesSettingsDialog::kOkId)->click();
                if (waves->isVisible()) {
                    waves->reject();
                    visited << QStringLiteral("Waves stayed open");
                }
                return;
            }
            if (auto* hardware = qobject_cast<qpx::ui::HardwareConfigDialog*>(&shown)) {
                visited << QStringLiteral("Hardware");
                Control<QPushButton>(hardware, qpx::ui::HardwareConfigDialog::kCloseId)->click();
                if (hardware->isVisible()) {
                    hardware->reject();
                    visited << QStringLiteral("Hardware stayed open");
                }
                return;
            }
            if (auto* pcQpx = qobject_cast<qpx::ui::PcQpxSettingsDialog*>(&shown)) {
                visited << QStringLiteral("PC-QPX");
                auto* box = Control<QLineEdit>(pcQpx, qpx::instrument::kPulseLengthEditId);
                PasteText(box, QStringLiteral("0.5"));
                PasteText(Control<QLineEdit>(pcQpx, qpx::instrument::kUserPulseLagEditId),
                          QStringLiteral("0.4"));
                PasteText(Control<QLineEdit>(pcQpx, qpx::instrument::kUserResLagEditId),
                          QStringLiteral("0"));
                Control<QPushButton>(pcQpx, qpx::instrument::kUpdatePcQpxButtonId)->click();
                QCOMPARE(box->text(), QStringLiteral("0.5"));
                QTest::keyClick(box, Qt::Key_Return);
                if (pcQpx->isVisible()) {
                    pcQpx->reject();
                    visited << QStringLiteral("PC-QPX stayed open");
                }
                return;
            }
            if (auto* recorder = qobject_cast<qpx::ui::RecorderDialog*>(&shown)) {
                visited << QStringLiteral("Recorder");
                QCOMPARE(recorder->list()->topLevelItemCount(), 1);
                recorder->accept();
                return;
            }
            if (auto* time = qobject_cast<qpx::ui::SystemTimeDialog*>(&shown)) {
                visited << QStringLiteral("System Time");
                time->reject();
                return;
            }
            if (auto* display = qobject_cast<DeploymentDisplayDialog*>(&shown)) {
                Control<QPushButton>(display, DeploymentDisplayDialog::kOkId)->click();
                return;
            }
            QFAIL("an unexpected window");
        };
        p.dialog->setUpConnectedSystem();
        QVERIFY(p.dialog->communicationsDialog()->go());
        QCOMPARE(visited.join(QStringLiteral(", ")),
                 QStringLiteral("Advanced, Waves, Hardware, PC-QPX, Recorder, System Time"));
        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::Deployed);
        // The download; the advanced, waves and hardware windows talk to nobody; the PC-QPX
        // update with its read-back; the recorder's directory; the clock read (closed with
        // Cancel: nothing set); then the upload, the new salinity among it, and "deploy".
        const std::vector<std::string> expected{"Ver",
                                                "Ver",
                                                "Get CONF",
                                                "Get OPER",
                                                "Get USER",
                                                "enablewaves",
                                                "bdir",
                                                "Ver",
                                                "pl   0.50",
                                                "pg   0.40",
                                                "rpg   0.00",
                                                "SaveSetup",
                                                "Get OPER",
                                                "Ver",
                                                "bdir",
                                                "Ver",
                                                "Date",
                                                "Time",
                                                "Ver",
                                                "StartDate 1995/01/01",
                                                "StartTime 00:00:00",
                                                "nc 5",
                                                "Cy BEAM",
                                                "Sal     30.00",
                                                "of ascii",
                                                "AutoSleep on",
                                                "SaveSetup",
                                                "deploy"};
        QVERIFY(p.received() == expected);
        // The disconnect message after the display, then the record's place.
        QCOMPARE(p.boxes.size(), std::size_t{2});
        const auto& saved = p.opener.lastInstrument().savedStructures();
        QCOMPARE(saved.operationConfiguration.pulseLength, 50u);
        QCOMPARE(static_cast<int>(saved.userSetup.salinity), 300);
    }

    void cancelInThePlannerSendsNothing() {
        Program p;
        p.dialog->show();
        p.onShown = [](QDialog& shown) {
            auto* planner = qobject_cast<DeploymentDialog*>(&shown);
            QVERIFY(planner != nullptr);
            PasteText(Control<QLineEdit>(planner, qpx::planning::kCellsBoxId),
                      QStringLiteral("25"));
            Control<QPushButton>(planner, DeploymentDialog::kCancelId)->click();
        };
        p.dialog->setUpConnectedSystem();
        QVERIFY(p.dialog->communicationsDialog()->go());
        QCOMPARE(p.dialog->lastOutcome(), qpx::operations::ConnectedSetupOutcome::Cancelled);
        QCOMPARE(p.received().back(), std::string("bdir"));
        QCOMPARE(p.progress->transcripts().size(), 1);
        QVERIFY(p.boxes.empty());
        QCOMPARE(p.opener.lines.back().closes, 1);
    }
};

} // namespace

QPX_GUI_TEST(ConnectedDeploymentGuiTest)
#include "ConnectedDeploymentGuiTest.moc"
