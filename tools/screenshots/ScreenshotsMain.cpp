// screenshots: draws every window of deployqpx, filled from the simulated instrument, into
// <folder>/<window>.png (default docs/screenshots). Run it through tools/screenshots.sh, which
// builds it and uses the offscreen platform.

#include "link/VirtualClock.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"
#include "planning/PlanDeployment.h"
#include "screenshots/ConnectedRun.h"
#include "screenshots/FixedTime.h"
#include "screenshots/ShotWriter.h"
#include "screenshots/ShowcasePorts.h"
#include "ui/AboutDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/SystemInformationDialog.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QStyleFactory>
#include <cstdio>

namespace {

using namespace qpx;
using screenshots::ShotWriter;

QMessageBox::StandardButton AnswerAtOnce(QWidget*, const ui::MessageBoxRequest&) {
    return QMessageBox::Ok;
}

void SaveMainAndAbout(ShotWriter& writer) {
    link::VirtualClock clock(screenshots::kComputerTime);
    screenshots::ShowcasePorts ports(clock, screenshots::ShowcaseInstrument());
    ui::MessageBoxSink messages(nullptr, AnswerAtOnce);
    ui::MainDialogSetup setup;
    setup.messages = &messages;
    ui::MainDialog main(ports, clock, std::move(setup));
    main.show();
    writer.save(main, QStringLiteral("main-dialog"));
    ui::AboutDialog about(&main);
    about.show();
    writer.save(about, QStringLiteral("about"));
}

// Planning mode: the System Information window, then the planner on its default choice.
void SavePlanning(ShotWriter& writer) {
    ui::SystemInformationDialog information(nullptr);
    information.show();
    writer.save(information, QStringLiteral("system-information"));
    const planning::SystemChoice choice = information.choice();
    information.hide();
    for (const int unitSystem : {1, 0}) {
        planning::DeploymentPlanner planner;
        ui::MessageBoxSink messages(nullptr, AnswerAtOnce);
        ui::DeploymentDialog dialog(nullptr, planner, messages);
        dialog.load(planning::PlanDeployment(unitSystem, choice), screenshots::kComputerTime);
        dialog.show();
        writer.save(dialog, unitSystem == 1 ? QStringLiteral("planner-planning-metric")
                                            : QStringLiteral("planner-planning-english"));
    }
}

// The PC-QPX settings are offered only by a pulse-coherent instrument.
sim::Scenario PulseCoherentInstrument() {
    sim::Scenario scenario = screenshots::ShowcaseInstrument();
    model::UserSetup user = planning::MakeDefaultUserSetup(scenario.frequencyIndex);
    planning::ApplyWavesOption(user, scenario.wavesOption);
    user.pulseCoherentMode = 1;
    scenario.userSetup = user;
    return scenario;
}

// The offscreen platform says for every window that it cannot raise it or pass on size hints;
// nothing a picture needs.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreenNotes);
    QApplication app(argc, argv);
    // The same look and font on every machine, so the images change only with the windows.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));

    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "screenshots: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    ShotWriter writer(folder);
    bool complete = true;

    SaveMainAndAbout(writer);
    SavePlanning(writer);

    screenshots::ConnectedRun metric;
    metric.instrument = screenshots::ShowcaseInstrument();
    metric.plannerName = QStringLiteral("planner-metric");
    metric.wholeSequence = true;
    complete = screenshots::Run(metric, writer) && complete;

    screenshots::ConnectedRun english;
    english.unitSystem = 0;
    english.instrument = screenshots::ShowcaseInstrument();
    english.plannerName = QStringLiteral("planner-english");
    english.subDialogSuffix = QStringLiteral("-english");
    english.onlyWhereDifferent = true;
    complete = screenshots::Run(english, writer) && complete;

    for (const int unitSystem : {1, 0}) {
        screenshots::ConnectedRun pulseCoherent;
        pulseCoherent.unitSystem = unitSystem;
        pulseCoherent.instrument = PulseCoherentInstrument();
        pulseCoherent.plannerName = unitSystem == 1 ? QStringLiteral("planner-pcqpx-metric")
                                                    : QStringLiteral("planner-pcqpx-english");
        pulseCoherent.onlySubDialog = planning::DeploymentPlanner::kPcQpxButtonId;
        pulseCoherent.subDialogSuffix = unitSystem == 1 ? QString() : QStringLiteral("-english");
        pulseCoherent.onlyWhereDifferent = unitSystem != 1;
        complete = screenshots::Run(pulseCoherent, writer) && complete;
    }

    for (const QString& name : writer.written())
        std::printf("%s/%s.png\n", qPrintable(folder), qPrintable(name));
    for (const QString& name : writer.failures())
        std::fprintf(stderr, "screenshots: could not save %s\n", qPrintable(name));
    if (!complete)
        std::fprintf(stderr, "screenshots: a connected run did not reach its windows\n");
    return complete && writer.failures().isEmpty() ? 0 : 1;
}
