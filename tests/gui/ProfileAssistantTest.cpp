#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "planning/DeploymentValidation.h"
#include "support/RecordingMessageSink.h"
#include "ui/DeploymentDialog.h"
#include "ui/ProfileAssistantDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

using qpx::test::Control;
using qpx::test::RecordingMessageSink;
using qpx::ui::DeploymentDialog;
using qpx::ui::ProfileAssistantDialog;
using Planner = qpx::planning::DeploymentPlanner;
using Assistant = qpx::planning::ProfileAssistant;

struct Fixture {
    explicit Fixture(int frequencyIndex = 1)
        : dialog(std::make_unique<DeploymentDialog>(nullptr, planner, messages)) {
        dialog->load(qpx::test::ConnectedInputs(1, frequencyIndex), {});
        dialog->move(400, 300);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    ProfileAssistantDialog& assistant() { return dialog->assistant(); }
    QPushButton* toggleButton() {
        return Control<QPushButton>(dialog.get(), Planner::kAssistantButtonId);
    }
    QString shown(int id) {
        QWidget* control = qpx::ui::FindByTemplateId(&assistant(), id);
        if (auto* box = qobject_cast<QLineEdit*>(control))
            return box->text();
        return qobject_cast<QLabel*>(control)->text();
    }
    void type(const QString& text) {
        auto* box = Control<QLineEdit>(&assistant(), Assistant::kMaximumRangeId);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void transfer() {
        QTest::mouseClick(Control<QPushButton>(&assistant(), Assistant::kTransferId),
                          Qt::LeftButton);
    }
    // Runs the slide tick by tick; the left edges it placed the window at.
    QList<int> slide() {
        QList<int> lefts;
        while (assistant().slideTimer().isActive()) {
            assistant().slideStep();
            lefts << assistant().geometry().left();
        }
        return lefts;
    }

    Planner planner;
    RecordingMessageSink messages;
    std::unique_ptr<DeploymentDialog> dialog;
};

} // namespace

class ProfileAssistantTest : public QObject {
    Q_OBJECT
private slots:
    void startsHiddenWithTheSuggestionForThePlannersProfile() {
        Fixture f;
        QVERIFY(!f.assistant().isVisible());
        QCOMPARE(f.assistant().windowTitle(), QStringLiteral("Profile Assistant"));
        // The far end of 20 cells of 1 m after 0.4 m.
        QCOMPARE(f.shown(Assistant::kMaximumRangeId), QStringLiteral("20.9"));
        QCOMPARE(f.shown(1290), QStringLiteral("Maximum (m):"));
        QCOMPARE(f.shown(Assistant::kBlankingId), QStringLiteral("0.40"));
    }

    void slidesOutFromBehindTheLeftEdgeAndBack() {
        Fixture f;
        const QRect planner = f.dialog->frameGeometry();
        QTest::mouseClick(f.toggleButton(), Qt::LeftButton);
        QCOMPARE(f.toggleButton()->text(), QStringLiteral("<<<        Hide Profile Assistant"));
        QVERIFY(f.assistant().slideTimer().isActive());
        QCOMPARE(f.assistant().slideTimer().interval(), 500);

        // 27 steps of 273 / 25 = 10 pixels, then the last 3 pixels in one.
        QList<int> out;
        for (int step = 1; step <= 27; ++step)
            out << planner.left() - 10 * step;
        out << planner.left() - 273;
        QCOMPARE(f.slide(), out);
        QVERIFY(f.assistant().isVisible());
        // 273 by 219 at least; a large font may need more height than that.
        const QRect placed = f.assistant().geometry();
        QCOMPARE(placed.topLeft(), QPoint(planner.left() - 273, planner.top() + 20));
        QCOMPARE(placed.width(), 273);
        QVERIFY(placed.height() >= 219);

        QTest::mouseClick(f.toggleButton(), Qt::LeftButton);
        QCOMPARE(f.toggleButton()->text(), QStringLiteral("<<<        Show Profile Assistant"));
        QList<int> back;
        for (int step = 1; step <= 27; ++step)
            back << planner.left() - 273 + 10 * step;
        back << back.last(); // the tick that hides it places nothing
        QCOMPARE(f.slide(), back);
        QVERIFY(!f.assistant().isVisible());
    }

    void theTimerDrivesTheSlide() {
        Fixture f;
        QTest::mouseClick(f.toggleButton(), Qt::LeftButton);
        const int left = f.dialog->frameGeometry().left() - 273;
        // 500 ms, then 28 ticks of 10 ms.
        QTRY_VERIFY_WITH_TIMEOUT(
            f.assistant().isVisible() && !f.assistant().slideTimer().isActive(), 5000);
        QCOMPARE(f.assistant().geometry().left(), left);
    }

    void transferPutsTheSuggestionIntoThePlanner() {
        Fixture f;
        f.type(QStringLiteral("20"));
        QCOMPARE(f.shown(Assistant::kCellsId), QStringLiteral("23"));
        QCOMPARE(f.shown(Assistant::kCellSizeId), QStringLiteral("0.90"));
        QCOMPARE(f.shown(Assistant::kRangeTextId),
                 QStringLiteral("Profiling Range:   0.85 -  21.55 m"));
        f.transfer();
        QVERIFY(f.messages.entries.empty());
        DeploymentDialog* d = f.dialog.get();
        QCOMPARE(Control<QLineEdit>(d, qpx::planning::kCellsBoxId)->text(), QStringLiteral("23"));
        QCOMPARE(Control<QLineEdit>(d, qpx::planning::kCellSizeBoxId)->text(),
                 QStringLiteral("0.9"));
        QCOMPARE(Control<QLineEdit>(d, qpx::planning::kBlankingBoxId)->text(),
                 QStringLiteral("0.4"));
        QCOMPARE(Control<QLabel>(d, Planner::kRangeTextId)->text(),
                 QStringLiteral("Profiling Range:   0.85 -  21.55 m"));
        // And the plan goes out with them.
        QTest::mouseClick(Control<QPushButton>(d, Planner::kDeployId), Qt::LeftButton);
        QVERIFY(d->acceptedPlan().has_value());
        QCOMPARE(d->acceptedPlan()->cells, 23);
    }

    void rangeBeyondTheInstrumentIsToldAndStillSuggested() {
        Fixture f;
        f.type(QStringLiteral("35"));
        QCOMPARE(f.messages.texts(),
                 std::vector<std::string>{
                     "You have input a maximum depth greater than the range of this "
                     "instrument.\nPlease reduce the maximum depth below 30.00"});
        QCOMPARE(f.shown(Assistant::kCellsId), QStringLiteral("25"));
        QCOMPARE(f.shown(Assistant::kCellSizeId), QStringLiteral("1.50"));
    }

    void failedSuggestionTransfersNothing() {
        Fixture f(0); // 3000 kHz: even 2 m cells cannot reach 200 m with 75
        f.type(QStringLiteral("200"));
        f.messages.entries.clear();
        QCOMPARE(f.shown(Assistant::kCellsId), QStringLiteral("0"));
        f.transfer();
        QCOMPARE(f.messages.texts(),
                 std::vector<std::string>{"Please input a valid value for Maximum Depth"});
        QCOMPARE(Control<QLineEdit>(f.dialog.get(), qpx::planning::kCellsBoxId)->text(),
                 QStringLiteral("12"));
    }
};

QPX_GUI_TEST(ProfileAssistantTest)
#include "ProfileAssistantTest.moc"
