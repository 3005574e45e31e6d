#include "ui/PlanningMode.h"

#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "planning/DeploymentValidation.h"
#include "support/RecordingMessageSink.h"
#include "ui/DeploymentDialog.h"
#include "ui/SystemInformationDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using qpx::test::Control;
using qpx::test::RecordingMessageSink;
using qpx::ui::DeploymentDialog;
using qpx::ui::SystemInformationDialog;
using Planner = qpx::planning::DeploymentPlanner;

// What the planner showed first in planning mode.
struct FirstTexts {
    QString cells, cellSize, blanking, cellSizeLabel, range, capacity, draw, power;
    bool deployEnabled = true;
    bool fileNameEnabled = true;
    bool recorderButtonEnabled = true;
    bool wavesButtonEnabled = true;
};

// Runs planning mode: `frequency` chosen in the System Information dialog, then the planner's
// first texts are read and it is left with "&Cancel".
FirstTexts Plan(int unitSystem, int frequency, int dialogsShown = 2, bool cancelFirst = false) {
    Planner planner;
    RecordingMessageSink messages;
    FirstTexts first;
    int shown = 0;
    qpx::ui::PlannerHooks hooks;
    hooks.onShown = [&](QDialog& dialog) {
        ++shown;
        if (auto* info = qobject_cast<SystemInformationDialog*>(&dialog)) {
            Control<QComboBox>(info, qpx::planning::kFrequencyListId)->setCurrentIndex(frequency);
            Control<QPushButton>(info, cancelFirst ? SystemInformationDialog::kCancelId
                                                   : SystemInformationDialog::kOkId)
                ->click();
            return;
        }
        auto* window = qobject_cast<DeploymentDialog*>(&dialog);
        QVERIFY(window != nullptr);
        const auto box = [&](int id) { return Control<QLineEdit>(window, id)->text(); };
        const auto label = [&](int id) { return Control<QLabel>(window, id)->text(); };
        const auto button = [&](int id) { return Control<QPushButton>(window, id); };
        first.cells = box(qpx::planning::kCellsBoxId);
        first.cellSize = box(qpx::planning::kCellSizeBoxId);
        first.blanking = box(qpx::planning::kBlankingBoxId);
        first.cellSizeLabel = label(Planner::kCellSizeLabelId);
        first.range = label(Planner::kRangeTextId);
        first.capacity = box(Planner::kCapacityId);
        first.draw = box(Planner::kPowerDrawId);
        first.power = label(Planner::kPowerTextId);
        first.deployEnabled = button(Planner::kDeployId)->isEnabled();
        first.fileNameEnabled =
            Control<QLineEdit>(window, qpx::planning::kFileNameBoxId)->isEnabled();
        first.recorderButtonEnabled = button(Planner::kRecorderButtonId)->isEnabled();
        first.wavesButtonEnabled = button(Planner::kWavesButtonId)->isEnabled();
        // Enter with "&Deploy" disabled deploys nothing and closes nothing.
        QTest::keyClick(window, Qt::Key_Return);
        QVERIFY(window->isVisible());
        button(DeploymentDialog::kCancelId)->click();
    };
    qpx::ui::RunPlanningMode(nullptr, planner, unitSystem, messages, hooks);
    [&] {
        QCOMPARE(shown, dialogsShown);
        QVERIFY(messages.entries.empty());
    }();
    return first;
}

} // namespace

class PlanningModeTest : public QObject {
    Q_OBJECT
private slots:
    void plannerFirstTexts_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("cellSize");
        QTest::addColumn<QString>("blanking");
        QTest::addColumn<QString>("cellSizeLabel");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("draw");
        QTest::addColumn<QString>("power");
        const QString metre = QStringLiteral("Cell Size (m):");
        const QString foot = QStringLiteral("Cell Size (ft):");
        // Averaging 120 s of 1200 s: duty 0.1; 604.8 Wh over 0.25 W (1500 kHz) or 0.3 W.
        QTest::newRow("1500 kHz metric") << 1 << 1 << "20"
                                         << "1"
                                         << "0.4" << metre << "Profiling Range:   0.90 -  20.90 m"
                                         << "2.50"
                                         << "Power is sufficient for 101 days of operation";
        QTest::newRow("1500 kHz English") << 0 << 1 << "20"
                                          << "3.28"
                                          << "1.31" << foot << "Profiling Range:   2.95 -  68.55 ft"
                                          << "2.50"
                                          << "Power is sufficient for 101 days of operation";
        QTest::newRow("3000 kHz metric") << 1 << 0 << "12"
                                         << "0.5"
                                         << "0.2" << metre << "Profiling Range:   0.45 -   6.45 m"
                                         << "3.00"
                                         << "Power is sufficient for 84 days of operation";
        QTest::newRow("3000 kHz English") << 0 << 0 << "12"
                                          << "1.64"
                                          << "0.65" << foot << "Profiling Range:   1.47 -  21.15 ft"
                                          << "3.00"
                                          << "Power is sufficient for 84 days of operation";
    }
    void plannerFirstTexts() {
        QFETCH(int, unitSystem);
        QFETCH(int, frequency);
        const FirstTexts first = Plan(unitSystem, frequency);
        QFETCH(QString, cells);
        QFETCH(QString, cellSize);
        QFETCH(QString, blanking);
        QFETCH(QString, cellSizeLabel);
        QFETCH(QString, range);
        QFETCH(QString, draw);
        QFETCH(QString, power);
        QCOMPARE(first.cells, cells);
        QCOMPARE(first.cellSize, cellSize);
        QCOMPARE(first.blanking, blanking);
        QCOMPARE(first.cellSizeLabel, cellSizeLabel);
        QCOMPARE(first.range, range);
        QCOMPARE(first.capacity, QStringLiteral("604.8"));
        QCOMPARE(first.draw, draw);
        QCOMPARE(first.power, power);
        QVERIFY(!first.deployEnabled);
        QVERIFY(!first.fileNameEnabled);
        QVERIFY(!first.recorderButtonEnabled);
        // Waves option "None".
        QVERIFY(!first.wavesButtonEnabled);
    }

    void cancelledSystemInformationShowsNoPlanner() {
        const FirstTexts first = Plan(1, 1, 1, true);
        QVERIFY(first.cells.isEmpty());
    }

    void systemInformationLists() {
        SystemInformationDialog dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("System Information"));
        auto* frequency = Control<QComboBox>(&dialog, qpx::planning::kFrequencyListId);
        auto* recorder = Control<QComboBox>(&dialog, qpx::planning::kRecorderSizeListId);
        auto* waves = Control<QComboBox>(&dialog, qpx::planning::kWavesOptionListId);
        QCOMPARE(frequency->count(), 7);
        QCOMPARE(frequency->currentText(), QStringLiteral("1500 kHz"));
        QCOMPARE(recorder->currentText(), QStringLiteral("   5 MB"));
        QCOMPARE(waves->currentText(), QStringLiteral("None"));
        QVERIFY(!frequency->isEditable());
        recorder->setCurrentIndex(9);
        waves->setCurrentIndex(2);
        frequency->setCurrentIndex(6);
        QCOMPARE(dialog.choice(), (qpx::planning::SystemChoice{6, 880, 2}));
    }
};

QPX_GUI_TEST(PlanningModeTest)
#include "PlanningModeTest.moc"
