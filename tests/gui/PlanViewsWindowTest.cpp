// "Plan Views": the window follows the planner, shows "unavailable" for what cannot be drawn, and
// its pictures hold what they are meant to (rendered to images, so a drawing regression fails).

#include "ui/PlanViewsWindow.h"

#include "GuiTestRegistry.h"
#include "PlannerTestInputs.h"
#include "planning/DeploymentPlanner.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"
#include "ui/DeploymentDialog.h"
#include "ui/PlanViewPainting.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace qpx::test {
namespace {

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 0x70 ? 1 : 0;
        }
    }
    return dark;
}

QImage Chart(const std::vector<planning::EndurancePoint>& sweep) {
    QImage image(600, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    ui::PaintEnduranceChart(painter, image.rect(), sweep);
    return image;
}

} // namespace

class PlanViewsWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Cells, cell size, the profiling interval and the packs typed into the planner reach every
    // view on its next refresh.
    void followsThePlanner() {
        planning::DeploymentPlanner planner;
        planner.open(ConnectedInputs());
        RecordingMessageSink messages;
        ui::PlanViewsWindow window(nullptr, planner, messages);
        auto* centres = window.findChild<QTableWidget*>(QStringLiteral("cellCentres"));
        auto* precision = window.findChild<QLabel*>(QStringLiteral("precision"));
        QCOMPARE(centres->rowCount(), 20);
        const QString before = precision->text();

        planner.cellsChanged("12");
        planner.cellSizeChanged("0.5");
        planner.profilingIntervalChanged("600");
        planner.batteryPacksChanged("3");
        window.refresh();
        QCOMPARE(centres->rowCount(), 12);
        QCOMPARE(centres->item(0, 1)->text(), QStringLiteral("0.65"));
        QVERIFY(precision->text() != before);
        QVERIFY(precision->text().contains(QStringLiteral("cm/s")));

        // The distance to the surface marks the cells past it.
        window.findChild<QLineEdit*>(QStringLiteral("boundaryDistance"))->setText("5");
        QCOMPARE(centres->item(11, 1)->text(), QStringLiteral("6.15 (out of the water)"));
        QVERIFY(centres->item(8, 1)->text().endsWith(QStringLiteral("(side lobes)")));
    }

    // "Show Plan &Views..." opens the views modeless beside the planner; what is typed into the
    // planner's boxes reaches them at once, and they close with the planner.
    void theWindowFollowsThePlannersTyping() {
        planning::DeploymentPlanner planner;
        RecordingMessageSink messages;
        ui::DeploymentDialog dialog(nullptr, planner, messages);
        dialog.load(ConnectedInputs(), {2026, 12, 9, 10, 0, 0});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* button = Control<QPushButton>(&dialog, ui::DeploymentDialog::kPlanViewsId);
        QCOMPARE(button->text(), QStringLiteral("Show Plan &Views..."));
        button->click();
        auto* views = dialog.findChild<ui::PlanViewsWindow*>();
        QVERIFY(views != nullptr && views->isVisible() && !views->isModal());
        auto* centres = views->findChild<QTableWidget*>(QStringLiteral("cellCentres"));
        QCOMPARE(centres->rowCount(), 20);
        PasteText(Control<QLineEdit>(&dialog, planning::kCellsBoxId), QStringLiteral("8"));
        QCOMPARE(centres->rowCount(), 8);
        PasteText(Control<QLineEdit>(&dialog, planning::kCellSizeBoxId), QStringLiteral("2"));
        QCOMPARE(centres->item(0, 1)->text(), QStringLiteral("1.40"));
        // The interval moves the chart's mark, the packs its battery curve.
        auto* chart = dynamic_cast<ui::EnduranceChartView*>(
            views->findChild<QWidget*>(QStringLiteral("enduranceChart")));
        QVERIFY(chart != nullptr);
        const auto planned = [chart] {
            return *std::find_if(chart->sweep().begin(), chart->sweep().end(),
                                 [](const auto& point) { return point.planned; });
        };
        const float batteryBefore = *planned().batteryDays;
        PasteText(Control<QLineEdit>(&dialog, planning::kProfilingBoxId), QStringLiteral("600"));
        QCOMPARE(planned().profilingInterval, 600.0f);
        const float oneSixHundred = *planned().batteryDays;
        QVERIFY(oneSixHundred < batteryBefore);
        PasteText(Control<QLineEdit>(&dialog, planning::kBatteryPacksBoxId), QStringLiteral("3"));
        QVERIFY(*planned().batteryDays > oneSixHundred * 2.5f);
        dialog.reject();
        QVERIFY(!views->isVisible());
    }

    // What the estimates cannot judge is left out, never drawn as a curve of nothing: bursts
    // with no interval between them give no battery days (the recorder curve stands alone), an
    // averaging interval of 0 gives no chart at all, only the word "unavailable".
    void anImpossibleStateIsUnavailable() {
        auto inputs = ConnectedInputs();
        inputs.user.burstMode = 1;
        inputs.user.burstInterval = 0;
        planning::DeploymentPlanner bursts;
        bursts.open(inputs);
        const auto sweep = planning::EnduranceSweep(bursts);
        QVERIFY(!sweep.empty());
        QVERIFY(std::none_of(sweep.begin(), sweep.end(),
                             [](const auto& point) { return point.batteryDays.has_value(); }));
        QCOMPARE(planning::LimitingEstimate(sweep), planning::EnduranceLimit::Unknown);
        QVERIFY(DarkPixels(Chart(sweep), QRect(0, 0, 600, 400)) > 1000);

        inputs = ConnectedInputs();
        inputs.user.averagingInterval = 0;
        planning::DeploymentPlanner noInterval;
        noInterval.open(inputs);
        const QImage unavailable = Chart(planning::EnduranceSweep(noInterval));
        QCOMPARE(unavailable, Chart({}));
        const int word = DarkPixels(unavailable, unavailable.rect());
        QVERIFY(word > 0 && word < 500);

        noInterval.cellSizeChanged("0"); // refused: the column keeps the last accepted size
        QVERIFY(planning::PlannedWaterColumn(noInterval).has_value());
    }

    // The chart is drawn, and the plan's own interval is marked by a vertical line where the
    // logarithmic axis puts it.
    void theChartMarksThePlansInterval() {
        planning::DeploymentPlanner planner;
        planner.open(ConnectedInputs());
        const auto sweep = planning::EnduranceSweep(planner);
        const QImage image = Chart(sweep);
        QVERIFY(DarkPixels(image, image.rect()) > 2000);
        // The plot inside the axes' margins, as the chart lays it out.
        const QRectF plot = QRectF(image.rect()).adjusted(64, 28, -20, -44);
        const double share =
            std::log(planner.profilingInterval() / sweep.front().profilingInterval) /
            std::log(sweep.back().profilingInterval / sweep.front().profilingInterval);
        const int x = static_cast<int>(std::lround(plot.left() + share * plot.width()));
        const QRect line(x - 1, static_cast<int>(plot.top()) + 20, 3,
                         static_cast<int>(plot.height()) - 40);
        const QRect beside(x + 25, line.top(), 3, line.height());
        QVERIFY2(DarkPixels(image, line) > line.height() / 2,
                 qPrintable(QString::number(DarkPixels(image, line))));
        QVERIFY(DarkPixels(image, beside) < line.height() / 4);
    }

    void theColumnPictureAndItsSavedFiles() {
        planning::DeploymentPlanner planner;
        planner.open(ConnectedInputs());
        RecordingMessageSink messages;
        ui::PlanViewsWindow window(nullptr, planner, messages);
        window.resize(700, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TempDir dir;
        const QString png = QString::fromStdString((dir.path() / "column.png").string());
        const QString svg = QString::fromStdString((dir.path() / "chart.svg").string());
        QCOMPARE(window.savePicture(png), QString());
        window.tabs()->setCurrentIndex(1);
        QCOMPARE(window.savePicture(svg), QString());
        const QImage saved(png);
        QVERIFY(!saved.isNull());
        QVERIFY(DarkPixels(saved, saved.rect()) > 500);
        QVERIFY(dir.read("chart.svg").find("<svg") != std::string::npos);
        QCOMPARE(window.savePicture(QStringLiteral("/no/such/folder/x.png")),
                 QStringLiteral("the folder does not exist"));
    }
};

QPX_GUI_TEST(PlanViewsWindowTest)

} // namespace qpx::test

#include "PlanViewsWindowTest.moc"
