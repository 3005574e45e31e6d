#include "gui/GuiTestRegistry.h"
#include "gui/PlannerTestInputs.h"
#include "link/PortDevice.h"
#include "support/LinkBench.h"
#include "ui/DeploymentDisplayDialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <string>

namespace {

using qpx::operations::DeploymentDisplay;
using qpx::test::Control;
using qpx::ui::DeploymentDisplayDialog;

qpx::model::UserSetup Setup(int profilingInterval) {
    qpx::model::UserSetup user;
    user.profilingInterval = static_cast<std::uint16_t>(profilingInterval);
    return user;
}

// A line whose every read takes 300 ms of real time in an event loop, as a read on the real
// line does, so the display's 200 ms timer fires while a tick is still reading.
class SlowDevice final : public qpx::link::PortDevice {
public:
    explicit SlowDevice(qpx::link::VirtualClock& clock) : clock_(clock) {}
    int available() override { return static_cast<int>(waiting.size()); }
    int read(std::uint8_t* destination, int max) override {
        if (waiting.empty())
            return 0;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        ++reads;
        QTest::qWait(300);
        const int count = std::min({max, available(), 1});
        std::memcpy(destination, waiting.data(), static_cast<std::size_t>(count));
        waiting.erase(0, static_cast<std::size_t>(count));
        --depth;
        return count;
    }
    int peek() override { return waiting.empty() ? -1 : static_cast<std::uint8_t>(waiting[0]); }
    int write(const std::uint8_t*, int count) override { return count; }
    int clearRx() override { return 0; }
    int clearTx() override { return 0; }
    int sendBreak(int) override { return 0; }
    bool waitReadable(int timeoutMs) override {
        if (!waiting.empty())
            return true;
        clock_.advanceTo(clock_.nowMs() + timeoutMs);
        return false;
    }
    bool waitWritten(int) override { return true; }
    void close() override {}

    std::string waiting;
    int depth = 0;
    int maxDepth = 0;
    int reads = 0;

private:
    qpx::link::VirtualClock& clock_;
};

} // namespace

class DeploymentDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void ticksShowTheOutputUntilOkClosesThePort() {
        qpx::test::LinkBench bench;
        DeploymentDisplay display(bench.port, Setup(1200));
        DeploymentDisplayDialog dialog(nullptr, display);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Deployment Display"));
        QCOMPARE(Control<QLabel>(&dialog, DeploymentDisplayDialog::kIntervalTextId)->text(),
                 QStringLiteral("Time between Profiles: 1200 seconds"));
        auto* output = Control<QPlainTextEdit>(&dialog, DeploymentDisplayDialog::kOutputId);
        QVERIFY(!dialog.tickTimer().isActive());

        bench.device.arriveIn(0, "00001 2001/07/04 09:05:00 12.3\r\n");
        dialog.show();
        QCOMPARE(dialog.tickTimer().interval(), 200);
        QVERIFY(dialog.tickTimer().isActive());
        QTRY_COMPARE_WITH_TIMEOUT(output->toPlainText(),
                                  QStringLiteral("00001 2001/07/04 09:05:00 12.3\n"), 3000);
        // Appended at the end, whatever the user selected in the box.
        output->moveCursor(QTextCursor::Start);
        bench.device.arriveIn(0, "00002 2001/07/04 09:25:00 12.4\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(
            output->toPlainText(),
            QStringLiteral("00001 2001/07/04 09:05:00 12.3\n00002 2001/07/04 09:25:00 12.4\n"),
            3000);
        QCOMPARE(display.received(), std::string("00001 2001/07/04 09:05:00 12.3\r\n"
                                                 "00002 2001/07/04 09:25:00 12.4\r\n"));

        const auto before = bench.clock.nowMs();
        QTest::mouseClick(Control<QPushButton>(&dialog, DeploymentDisplayDialog::kOkId),
                          Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.tickTimer().isActive());
        QVERIFY(!display.holdsPort());
        QCOMPARE(bench.port.closeCount(), 1);
        // The pause that lets a last read finish comes before the port goes.
        QVERIFY(bench.clock.nowMs() - before >= 200);
        const int ticks = dialog.ticks();
        QTest::qWait(450);
        QCOMPARE(dialog.ticks(), ticks);
    }

    void escapeClosesThePortToo() {
        qpx::test::LinkBench bench;
        DeploymentDisplay display(bench.port, Setup(600));
        DeploymentDisplayDialog dialog(nullptr, display);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(bench.port.closeCount(), 1);
        QVERIFY(Control<QPlainTextEdit>(&dialog, DeploymentDisplayDialog::kOutputId)
                    ->toPlainText()
                    .isEmpty());
    }

    void aTickIsNeverStartedWhileOneReads() {
        qpx::link::VirtualClock clock;
        auto* device = new SlowDevice(clock);
        qpx::link::Port port(std::unique_ptr<qpx::link::PortDevice>(device), clock);
        device->waiting = "ABC";
        DeploymentDisplay display(port, Setup(1));
        DeploymentDisplayDialog dialog(nullptr, display);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(device->reads >= 2 && device->depth == 0, 5000);
        QCOMPARE(device->maxDepth, 1);
        dialog.accept();
        QCOMPARE(port.closeCount(), 1);
    }
};

QPX_GUI_TEST(DeploymentDisplayTest)
#include "DeploymentDisplayTest.moc"
