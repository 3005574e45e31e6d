#include "ui/DeploymentDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "planning/DeploymentValidation.h"
#include "support/RecordingMessageSink.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using qpx::test::Control;
using qpx::test::PasteText;
using qpx::test::RecordingMessageSink;
using qpx::ui::DeploymentDialog;
using Planner = qpx::planning::DeploymentPlanner;
using Edits = std::function<void(DeploymentDialog&)>;

const qpx::link::CalendarTime kNow{2026, 12, 7, 16, 45, 30};

// One planner window on connected inputs, shown so that focus moves as it does for a user.
struct Fixture {
    explicit Fixture(const qpx::planning::PlannerInputs& inputs = qpx::test::ConnectedInputs())
        : dialog(std::make_unique<DeploymentDialog>(nullptr, planner, messages)) {
        dialog->load(inputs, kNow);
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QLineEdit* box(int id) { return Control<QLineEdit>(dialog.get(), id); }
    QString label(int id) { return Control<QLabel>(dialog.get(), id)->text(); }
    void deploy() {
        QTest::mouseClick(Control<QPushButton>(dialog.get(), Planner::kDeployId), Qt::LeftButton);
    }

    Planner planner;
    RecordingMessageSink messages;
    std::unique_ptr<DeploymentDialog> dialog;
};

} // namespace

Q_DECLARE_METATYPE(Edits)

class DeploymentDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheInstrumentsValues() {
        Fixture f;
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("System Deployment"));
        QCOMPARE(f.box(qpx::planning::kFileNameBoxId)->text(), QStringLiteral("DEF"));
        QCOMPARE(f.box(qpx::planning::kAveragingBoxId)->text(), QStringLiteral("120"));
        QCOMPARE(f.box(qpx::planning::kProfilingBoxId)->text(), QStringLiteral("1200"));
        QCOMPARE(f.box(qpx::planning::kCellsBoxId)->text(), QStringLiteral("20"));
        QCOMPARE(f.box(qpx::planning::kCellSizeBoxId)->text(), QStringLiteral("1"));
        QCOMPARE(f.box(qpx::planning::kBlankingBoxId)->text(), QStringLiteral("0.4"));
        QCOMPARE(f.label(Planner::kCellSizeLabelId), QStringLiteral("Cell Size (m):"));
        QCOMPARE(f.label(Planner::kRangeTextId),
                 QStringLiteral("Profiling Range:   0.90 -  20.90 m"));
        auto* start = Control<QDateTimeEdit>(f.dialog.get(), Planner::kStartDateTimeId);
        QCOMPARE(start->displayFormat(), QStringLiteral("yyyy'/'MM'/'dd',  'HH':'mm':'ss"));
        // The default UserSetup's start, 1995/01/01 00:00:00.
        QCOMPARE(start->text(), QStringLiteral("1995/01/01,  00:00:00"));
        auto* recorder = Control<QComboBox>(f.dialog.get(), Planner::kRecorderEnabledId);
        QCOMPARE(recorder->currentText(), QStringLiteral("Enabled"));
        QVERIFY(!recorder->isEnabled());
        // No compass, so ENU is not offered; the instrument holds it all the same, and the box
        // shows so.
        auto* coordinate = Control<QComboBox>(f.dialog.get(), Planner::kCoordinateId);
        QCOMPARE(coordinate->currentText(), QStringLiteral("     ENU"));
        QCOMPARE(coordinate->count(), 3);
        QCOMPARE(Control<QPushButton>(f.dialog.get(), Planner::kAssistantButtonId)->text(),
                 QStringLiteral("<<<        Show Profile Assistant"));
        QVERIFY(Control<QPushButton>(f.dialog.get(), Planner::kDeployId)->isEnabled());
        // Waves option 1: the waves button is offered; not a PC-QPX: no PC-QPX settings.
        QVERIFY(Control<QPushButton>(f.dialog.get(), Planner::kWavesButtonId)->isEnabled());
        QVERIFY(!Control<QPushButton>(f.dialog.get(), Planner::kPcQpxButtonId)->isEnabled());
    }

    void pulseCoherentIntervalsAndEnglishLengths() {
        auto inputs = qpx::test::ConnectedInputs(0);
        inputs.user.pulseCoherentMode = 1;
        inputs.user.averagingInterval = 10;
        inputs.user.profilingInterval = 600;
        inputs.user.cellSize = 50;
        Fixture f(inputs);
        QCOMPARE(f.box(qpx::planning::kAveragingBoxId)->text(), QStringLiteral("1"));
        QCOMPARE(f.box(qpx::planning::kProfilingBoxId)->text(), QStringLiteral("60"));
        auto* coordinate = Control<QComboBox>(f.dialog.get(), Planner::kCoordinateId);
        QVERIFY(!coordinate->isEnabled());
        QCOMPARE(coordinate->currentText(), QStringLiteral("    Beam"));
        // 50 cm = 1.64042 ft, cut (not rounded) to 1.64.
        QCOMPARE(f.box(qpx::planning::kCellSizeBoxId)->text(), QStringLiteral("1.64"));
        QCOMPARE(f.label(Planner::kCellSizeLabelId), QStringLiteral("Cell Size (ft):"));
        QCOMPARE(f.label(Planner::kBlankingLabelId), QStringLiteral("Blanking Distance (ft):"));
        QVERIFY(Control<QPushButton>(f.dialog.get(), Planner::kPcQpxButtonId)->isEnabled());
    }

    void liveCheckKeepsTheTypedText_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("averaging") << qpx::planning::kAveragingBoxId << "0"
                                   << "Averaging Interval must be greater than 0.";
        QTest::newRow("profiling") << qpx::planning::kProfilingBoxId << "-"
                                   << "Profiling Interval must be greater than 0.";
        QTest::newRow("cells") << qpx::planning::kCellsBoxId << "0"
                               << "Number of Cells must be greater than 0.";
        QTest::newRow("cell size") << qpx::planning::kCellSizeBoxId << "."
                                   << "Cell Size must be greater than 0.";
        QTest::newRow("blanking") << qpx::planning::kBlankingBoxId << "0"
                                  << "Blanking Distance must be greater than 0.";
        QTest::newRow("battery packs") << qpx::planning::kBatteryPacksBoxId << "0"
                                       << "Number of Battery Packs must be greater than 0.";
    }
    void liveCheckKeepsTheTypedText() {
        QFETCH(int, id);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Fixture f;
        const QString range = f.label(Planner::kRangeTextId);
        QLineEdit* box = f.box(id);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QCOMPARE(f.messages.texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(box->text(), typed);
        QCOMPARE(f.label(Planner::kRangeTextId), range);
        // The refused text is what "&Deploy" judges, not the value the planner kept.
        f.deploy();
        QCOMPARE(f.messages.entries.size(), std::size_t{2});
        QVERIFY(!f.dialog->acceptedPlan().has_value());
        QCOMPARE(qpx::ui::TemplateIdOf(f.dialog->focusWidget()), id);
    }

    void clearedBoxIsNoMessage() {
        Fixture f;
        PasteText(f.box(qpx::planning::kCellSizeBoxId), QString());
        QVERIFY(f.messages.entries.empty());
        QCOMPARE(f.label(Planner::kRangeTextId),
                 QStringLiteral("Profiling Range:   0.90 -  20.90 m"));
    }

    void estimatesFollowEveryEdit() {
        Fixture f(qpx::test::ConnectedInputs(1, 1, 0));
        PasteText(f.box(qpx::planning::kAveragingBoxId), QStringLiteral("60"));
        PasteText(f.box(qpx::planning::kProfilingBoxId), QStringLiteral("600"));
        // 1500 kHz, no waves, duty 0.1, 2.5 W, one Alkaline pack of 604.8 Wh: 100.8 days.
        QCOMPARE(f.box(Planner::kCapacityId)->text(), QStringLiteral("604.8"));
        QCOMPARE(f.box(Planner::kPowerDrawId)->text(), QStringLiteral("2.50"));
        QCOMPARE(f.label(Planner::kPowerTextId),
                 QStringLiteral("Power is sufficient for 101 days of operation"));
        PasteText(f.box(qpx::planning::kBatteryPacksBoxId), QStringLiteral("2"));
        QCOMPARE(f.box(Planner::kCapacityId)->text(), QStringLiteral("1209.6"));
        QCOMPARE(f.label(Planner::kPowerTextId),
                 QStringLiteral("Power is sufficient for 202 days of operation"));
        Control<QComboBox>(f.dialog.get(), Planner::kBatteryTypeId)->setCurrentIndex(1);
        QCOMPARE(f.box(Planner::kCapacityId)->text(), QStringLiteral("2903.0"));
        // A wave series of 1024 samples at 1 Hz every 4 profiles of 600 s adds 0.64 W.
        Fixture waves;
        PasteText(waves.box(qpx::planning::kProfilingBoxId), QStringLiteral("600"));
        PasteText(waves.box(qpx::planning::kAveragingBoxId), QStringLiteral("60"));
        QCOMPARE(waves.label(Planner::kPowerTextId),
                 QStringLiteral("Power is sufficient for 28 days of operation"));

        const QString freeSpace = f.label(Planner::kFreeSpaceTextId);
        QVERIFY(freeSpace.endsWith(QStringLiteral(" of Data Collection remaining.")));
        PasteText(f.box(qpx::planning::kCellsBoxId), QStringLiteral("40"));
        QCOMPARE(f.label(Planner::kRangeTextId),
                 QStringLiteral("Profiling Range:   0.90 -  40.90 m"));
        QVERIFY(f.label(Planner::kFreeSpaceTextId) != freeSpace);
    }

    void failedDeployFocusesTheOffendingBox_data() {
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focusId");
        QTest::addColumn<QString>("selected");
        const auto paste = [](int id, const char* text) {
            return [id, text](DeploymentDialog& d) {
                PasteText(Control<QLineEdit>(&d, id), QString::fromUtf8(text));
            };
        };
        QTest::newRow("averaging range")
            << Edits(paste(qpx::planning::kAveragingBoxId, "0.5"))
            << "The averaging interval should be between 1 and 43200 seconds"
            << qpx::planning::kAveragingBoxId << "0.5";
        QTest::newRow("averaging longer than profiling")
            << Edits(paste(qpx::planning::kAveragingBoxId, "1300"))
            << "The averaging interval should be less than the profiling interval"
            << qpx::planning::kAveragingBoxId << "1300";
        QTest::newRow("blank file name")
            << Edits(paste(qpx::planning::kFileNameBoxId, ""))
            << "The File Name must not be left blank." << qpx::planning::kFileNameBoxId << "";
        QTest::newRow("too many cells")
            << Edits(paste(qpx::planning::kCellsBoxId, "101"))
            << "Number of Cells is out of range.\n\nValue must be between 1 and 100"
            << qpx::planning::kCellsBoxId << "101";
        QTest::newRow("cell size below the limit")
            << Edits(paste(qpx::planning::kCellSizeBoxId, "0.24999"))
            << "Cell Size should be in the range of  0.25 to  4.00 m."
            << qpx::planning::kCellSizeBoxId << "0.24999";
        QTest::newRow("total range")
            << Edits(paste(qpx::planning::kCellsBoxId, "30"))
            << "Total profile range of  30.4 meters exceeds/equals the maximum range of this "
               "system.\nValue must be below  30.0 meters\nYou may want to consider reducing the "
               "number of cells"
            << qpx::planning::kCellsBoxId << "30";
        QTest::newRow("not a number") << Edits(paste(qpx::planning::kProfilingBoxId, "600x"))
                                      << "Please enter a number for the Profiling Interval."
                                      << qpx::planning::kProfilingBoxId << "600x";
    }
    void failedDeployFocusesTheOffendingBox() {
        QFETCH(Edits, edits);
        QFETCH(QString, message);
        QFETCH(int, focusId);
        QFETCH(QString, selected);
        Fixture f;
        edits(*f.dialog);
        // Focus elsewhere first, so the check is seen to move it.
        Control<QDateTimeEdit>(f.dialog.get(), Planner::kStartDateTimeId)->setFocus();
        f.messages.entries.clear();
        f.deploy();
        QCOMPARE(f.messages.texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(f.dialog->isVisible());
        QVERIFY(!f.dialog->acceptedPlan());
        QWidget* focused = f.dialog->focusWidget();
        QCOMPARE(qpx::ui::TemplateIdOf(focused), focusId);
        QCOMPARE(qobject_cast<QLineEdit*>(focused)->selectedText(), selected);
    }

    void deployHandsThePlanBack() {
        Fixture f;
        PasteText(f.box(qpx::planning::kCellsBoxId), QStringLiteral("25"));
        PasteText(f.box(qpx::planning::kFileNameBoxId), QStringLiteral("BAY1"));
        Control<QDateTimeEdit>(f.dialog.get(), Planner::kStartDateTimeId)
            ->setDateTime(QDateTime(QDate(2027, 3, 14), QTime(6, 30, 15)));
        f.deploy();
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        QVERIFY(f.messages.entries.empty());
        const auto& plan = f.dialog->acceptedPlan();
        QVERIFY(plan.has_value());
        QCOMPARE(plan->cells, 25);
        QCOMPARE(plan->cellSize, 1.0f);
        QCOMPARE(plan->blanking, 0.4f);
        QCOMPARE(plan->fileName, std::string("BAY1"));
        QVERIFY((plan->start == qpx::link::CalendarTime{2027, 3, 14, 6, 30, 15}));
        QCOMPARE(plan->averagingInterval, 120.0f);
    }

    void englishDeployShowsMetres() {
        Fixture f(qpx::test::ConnectedInputs(0));
        QCOMPARE(f.box(qpx::planning::kCellSizeBoxId)->text(), QStringLiteral("3.28"));
        f.deploy();
        QVERIFY(f.dialog->acceptedPlan().has_value());
        // The untouched lengths go back exactly as they came.
        QCOMPARE(f.dialog->acceptedPlan()->cellSize, 1.0f);
        QCOMPARE(f.box(qpx::planning::kCellSizeBoxId)->text(), QStringLiteral("1"));
    }

    void startNoCalendarHasBecomesTheComputersTime() {
        auto inputs = qpx::test::ConnectedInputs();
        inputs.user.startDate.month = 13;
        Fixture f(inputs);
        QCOMPARE(Control<QDateTimeEdit>(f.dialog.get(), Planner::kStartDateTimeId)->text(),
                 QStringLiteral("2026/12/07,  16:45:30"));
        f.deploy();
        QVERIFY(f.dialog->acceptedPlan().has_value());
        QVERIFY(f.dialog->acceptedPlan()->start == kNow);
    }

    void cancelHandsNothingBack() {
        Fixture f;
        PasteText(f.box(qpx::planning::kCellsBoxId), QStringLiteral("25"));
        QTest::mouseClick(Control<QPushButton>(f.dialog.get(), DeploymentDialog::kCancelId),
                          Qt::LeftButton);
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QVERIFY(!f.dialog->acceptedPlan());
    }
};

QPX_GUI_TEST(DeploymentDialogTest)
#include "DeploymentDialogTest.moc"
