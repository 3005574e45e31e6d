#include "gui/GuiTestRegistry.h"

#include <QTest>

#ifdef __linux__
#include "link/PortFunctions.h"
#include "serial/SerialPortOpener.h"
#include "serial/SystemClock.h"
#include "ui/ProgressWindow.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <pty.h>
#include <unistd.h>
#include <vector>
#endif

namespace {

class PaintingProbeTest : public QObject {
    Q_OBJECT
private slots:
#ifdef __linux__
    // A slow instrument on a pseudo-terminal keeps the core waiting two seconds of real time.
    // Meanwhile the windows' timers keep firing (the progress window repaints on each) and the
    // wait costs next to no processor time.
    void windowsKeepPaintingWhileTheCoreWaits() {
        int master = -1;
        int slave = -1;
        char name[128] = {};
        QVERIFY(::openpty(&master, &slave, name, nullptr, nullptr) == 0);
        qpx::serial::SystemClock clock;
        qpx::serial::SerialPortOpener opener(clock, qpx::serial::PortList({std::string(name)}));
        qpx::link::OpenResult opened = opener.open(0, 9600, 'N', 8, 1);
        QVERIFY2(opened.port != nullptr, opened.message.c_str());
        qpx::link::Port& port = *opened.port;

        qpx::ui::ProgressWindow window(nullptr, clock);
        window.present();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.appendText("Waking up System............... ");

        QElapsedTimer elapsed;
        std::vector<qint64> ticks;
        QTimer probe;
        probe.setInterval(20);
        connect(&probe, &QTimer::timeout, [&] {
            ticks.push_back(elapsed.elapsed());
            window.repaint();
        });
        // The instrument answers after two seconds. A coarse timer may fire up to 5 % early, and
        // the stopwatch starts first, so the wait measured can never be shorter than the answer.
        elapsed.start();
        QTimer::singleShot(2000, Qt::PreciseTimer, [&] { (void)::write(master, "A", 1); });
        const double cpuBefore = static_cast<double>(std::clock());
        probe.start();
        const int received = qpx::link::ReadCharTimed(port, 5000);
        const qint64 waited = elapsed.elapsed();
        const double cpuMs =
            (static_cast<double>(std::clock()) - cpuBefore) * 1000.0 / CLOCKS_PER_SEC;
        probe.stop();

        port.close();
        ::close(slave);
        ::close(master);

        QCOMPARE(received, int('A'));
        QVERIFY2(waited >= 1900 && waited < 4000, qPrintable(QString::number(waited)));
        QVERIFY2(ticks.size() >= 50, qPrintable(QString::number(ticks.size())));
        qint64 longestGap = ticks.front();
        for (std::size_t i = 1; i < ticks.size(); ++i)
            longestGap = std::max(longestGap, ticks[i] - ticks[i - 1]);
        longestGap = std::max(longestGap, waited - ticks.back());
        // A frozen window would show one gap of two seconds. The 100 ms target is the benchmark's;
        // here the bound leaves room for a loaded machine and the sanitizers.
        QVERIFY2(longestGap < 500, qPrintable(QStringLiteral("gap %1 ms").arg(longestGap)));
        // Under the sanitizers a loop that spun would still burn most of the two seconds.
        QVERIFY2(cpuMs < 0.5 * static_cast<double>(waited),
                 qPrintable(QStringLiteral("%1 ms of processor time").arg(cpuMs)));
    }
#else
    void windowsKeepPaintingWhileTheCoreWaits() {
        QSKIP("pseudo-terminals are a Linux test");
    }
#endif
};

} // namespace

QPX_GUI_TEST(PaintingProbeTest)
#include "PaintingProbeTest.moc"
