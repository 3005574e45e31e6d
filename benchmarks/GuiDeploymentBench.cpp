// The connected deployment driven through the windows in real time, against the simulated
// instrument on a pseudo-terminal (run it as `qpx-sim --exec bench_gui_deployment`, which puts
// the simulator on COM1). Prints the longest gap between ticks of a 20 ms probe timer, that is
// how long the windows could not paint at worst, and the program's processor time as a share of
// the wall time. Targets: under 100 ms, under 5 %.
#include "serial/PortList.h"
#include "serial/SerialPortOpener.h"
#include "serial/SystemClock.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/TemplateId.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

void Click(QWidget* root, int id) {
    if (auto* button = qobject_cast<QPushButton*>(qpx::ui::FindByTemplateId(root, id)))
        button->click();
}

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qpx::serial::SystemClock clock;
    qpx::serial::SerialPortOpener opener(clock, qpx::serial::PortList::FromSystem());
    qpx::ui::MessageBoxSink messages(
        nullptr, [](QWidget*, const qpx::ui::MessageBoxRequest& request) {
            std::fprintf(stderr, "box: %s\n", request.text.toUtf8().constData());
            return QMessageBox::Ok;
        });

    // The run's deployment record goes to a folder of its own, removed at the end.
    const QTemporaryDir records;
    qpx::ui::MainDialogSetup setup;
    setup.messages = &messages;
    setup.makeFrontEnd = [&records](QWidget* parent, qpx::planning::DeploymentPlanner& planner,
                                    qpx::link::Clock& runClock, qpx::link::MessageSink& sink)
        -> std::unique_ptr<qpx::operations::ConnectedSetupFrontEnd> {
        auto front = std::make_unique<qpx::ui::DeploymentFrontEnd>(parent, planner, runClock, sink);
        front->setHooks({[](QDialog& dialog) {
                             if (qobject_cast<qpx::ui::DeploymentDialog*>(&dialog) != nullptr) {
                                 Click(&dialog, qpx::planning::DeploymentPlanner::kDeployId);
                                 return;
                             }
                             if (auto* review =
                                     qobject_cast<qpx::ui::DeploymentReviewDialog*>(&dialog)) {
                                 review->deployButton()->click();
                                 return;
                             }
                             // Three seconds of the instrument's output, then OK.
                             QTimer::singleShot(3000, &dialog, [&dialog] {
                                 Click(&dialog, qpx::ui::DeploymentDisplayDialog::kOkId);
                             });
                         },
                         {}});
        front->setRecordsFolder(records.path().toStdU16String());
        return front;
    };
    qpx::ui::MainDialog main(opener, clock, std::move(setup));
    main.show();

    QElapsedTimer wall;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = wall.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });

    bool deployed = false;
    QTimer::singleShot(0, [&] {
        main.setUpConnectedSystem();
        qpx::ui::CommunicationsDialog* communications = main.communicationsDialog();
        const std::clock_t cpuStart = std::clock();
        wall.start();
        probe.start();
        communications->go();
        const qint64 now = wall.elapsed();
        longest = std::max(longest, now - last);
        probe.stop();
        const double cpuMs = static_cast<double>(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
        deployed = main.lastOutcome() == qpx::operations::ConnectedSetupOutcome::Deployed;
        std::printf("outcome: %s\n", deployed ? "deployed" : "not deployed");
        std::printf("wall time: %lld ms\n", static_cast<long long>(now));
        std::printf("longest gap between probe ticks: %lld ms (target under 100 ms)\n",
                    static_cast<long long>(longest));
        std::printf("processor time: %.0f ms, %.1f %% of wall time (target under 5 %%)\n", cpuMs,
                    now > 0 ? 100.0 * cpuMs / static_cast<double>(now) : 0.0);
        QCoreApplication::exit(deployed ? 0 : 1);
    });
    return QCoreApplication::exec();
}
