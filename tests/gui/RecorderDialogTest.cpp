#include "ui/RecorderDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "sim/SimulatedLine.h"
#include "support/RecordingMessageSink.h"
#include "ui/DeploymentDialog.h"
#include "ui/ProgressWindowFactory.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

namespace {

using qpx::test::Control;
using qpx::ui::RecorderDialog;
using Planner = qpx::planning::DeploymentPlanner;
namespace ops = qpx::instrument;

qpx::sim::Scenario CardScenario() {
    qpx::sim::Scenario s = qpx::sim::QpxScenario();
    s.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50},
                       {"DEF00002.QPX", 4096, 2001, 3, 6, 0, 0, 0, 0}};
    s.recorderUsed = 16u * 65536u;
    s.format.asksTwice = true;
    return s;
}

struct Bench {
    explicit Bench(bool connected = true) {
        inputs.planning = !connected;
        dialog.setLink(connected ? &link : nullptr);
        dialog.setDialogHook([this](QDialog& shown) {
            if (auto* recorder = qobject_cast<RecorderDialog*>(&shown)) {
                ++shownCount;
                if (act)
                    act(*recorder);
            }
            if (shown.isVisible())
                shown.accept();
        });
        dialog.load(inputs, {});
    }
    QString label(QWidget* root, int id) { return Control<QLabel>(root, id)->text(); }

    qpx::sim::SimulatedLine line{CardScenario()};
    qpx::test::RecordingMessageSink messages;
    qpx::link::Link link = line.link(messages);
    Planner planner;
    qpx::ui::DeploymentDialog dialog{nullptr, planner, messages};
    qpx::planning::PlannerInputs inputs = qpx::test::ConnectedInputs();
    std::function<void(RecorderDialog&)> act;
    int shownCount = 0;
};

} // namespace

class RecorderDialogTest : public QObject {
    Q_OBJECT
private slots:
    void disabledInPlanningMode() {
        Bench b(false);
        QVERIFY(!Control<QPushButton>(&b.dialog, Planner::kRecorderButtonId)->isEnabled());
        Bench connected;
        QVERIFY(Control<QPushButton>(&connected.dialog, Planner::kRecorderButtonId)->isEnabled());
    }

    void listsTheCardAndRecomputesTheFreeSpace() {
        Bench b;
        const QString before = b.label(&b.dialog, Planner::kFreeSpaceTextId);
        b.act = [&](RecorderDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Recorder"));
            QTreeWidget* list = d.list();
            QCOMPARE(list->headerItem()->text(0), QStringLiteral("Name"));
            QCOMPARE(list->headerItem()->text(3), QStringLiteral("Time"));
            QCOMPARE(list->columnWidth(1), 80);
            QCOMPARE(list->topLevelItemCount(), 2);
            QTreeWidgetItem* first = list->topLevelItem(0);
            QCOMPARE(first->text(0), QStringLiteral("DEF00001.QPX"));
            QCOMPARE(first->text(1), QStringLiteral("2048"));
            QCOMPARE(first->text(2), QStringLiteral("2001/03/05"));
            QCOMPARE(first->text(3), QStringLiteral("14:02:09"));
            // Names and dates are shown whole, and every column fits beside the others.
            for (int column : {0, 2}) {
                QVERIFY(list->columnWidth(column) >
                        list->fontMetrics().horizontalAdvance(first->text(column)));
            }
            QVERIFY(list->header()->length() <= list->viewport()->width());
            QCOMPARE(b.label(&d, ops::kFileCountTextId),
                     QStringLiteral("2 Files found in Recorder"));
            QCOMPARE(b.label(&d, ops::kUsedSpaceTextId), QStringLiteral("1.00M"));
            QCOMPARE(b.label(&d, ops::kFreeSpaceTextId), QStringLiteral("63.00M"));
        };
        QTest::mouseClick(Control<QPushButton>(&b.dialog, Planner::kRecorderButtonId),
                          Qt::LeftButton);
        QCOMPARE(b.shownCount, 1);
        // The card's used space went from the inputs' 1 MB to what the instrument reports.
        QCOMPARE(b.planner.recorder().usedBytes, std::int64_t{16 * 65536});
        QVERIFY(!b.label(&b.dialog, Planner::kFreeSpaceTextId).isEmpty());
        Q_UNUSED(before);
    }

    void formatAnswersBothQuestionsThroughTheWindow() {
        Bench b;
        QString transcript;
        b.act = [&](RecorderDialog& d) {
            Control<QPushButton>(&d, ops::kFormatButtonId)->click();
            QCOMPARE(d.list()->topLevelItemCount(), 0);
            QCOMPARE(b.label(&d, ops::kFileCountTextId),
                     QStringLiteral("0 Files found in Recorder"));
            QVERIFY(d.list()->hasFocus() || !d.isActiveWindow());
            transcript = d.progressWindows().transcripts().value(0);
        };
        QTest::mouseClick(Control<QPushButton>(&b.dialog, Planner::kRecorderButtonId),
                          Qt::LeftButton);
        QCOMPARE(b.messages.entries.size(), std::size_t{1});
        QCOMPARE(b.messages.entries[0].text, std::string(ops::kFormatWarning));
        const auto& lines = b.line.instrument().transcript();
        QCOMPARE(std::count(lines.begin(), lines.end(), std::string("yes")), 2);
        QCOMPARE(transcript, QStringLiteral("Waking up System............... Success\n"
                                            "Formatting memory card......... Success\n\n"
                                            "Reading Recorder Directory..... Success\n"));
    }

    void formatCancelledSendsNothing() {
        Bench b;
        b.messages.answers = {false};
        std::size_t sent = 0;
        b.act = [&](RecorderDialog& d) {
            sent = b.line.instrument().transcript().size();
            Control<QPushButton>(&d, ops::kFormatButtonId)->click();
            QCOMPARE(d.list()->topLevelItemCount(), 2);
            QVERIFY(d.progressWindows().transcripts().isEmpty());
        };
        QTest::mouseClick(Control<QPushButton>(&b.dialog, Planner::kRecorderButtonId),
                          Qt::LeftButton);
        QCOMPARE(b.line.instrument().transcript().size(), sent);
    }
};

QPX_GUI_TEST(RecorderDialogTest)
#include "RecorderDialogTest.moc"
