// screenshots: draws every window of deployqpx, filled from the simulated instrument, into
// <folder>/<window>.png (default docs/screenshots). Run it through tools/screenshots.sh, which
// builds it and uses the offscreen platform.

#include "link/SystemType.h"
#include "link/VirtualClock.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"
#include "planning/PlanDeployment.h"
#include "screenshots/ConnectedRun.h"
#include "screenshots/FixedTime.h"
#include "screenshots/ShotWriter.h"
#include "screenshots/ShowcasePorts.h"
#include "sim/SimulatedLine.h"
#include "ui/AboutDialog.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/PlanViewsWindow.h"
#include "ui/SystemInformationDialog.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTabWidget>
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

// "Plan Views" for a 1500 kHz plan of 25 cells, 12 m below the surface (40 ft): every tab.
void SavePlanViews(ShotWriter& writer) {
    for (const int unitSystem : {1, 0}) {
        planning::DeploymentPlanner planner;
        planner.open(planning::PlanDeployment(unitSystem, planning::SystemChoice{}));
        planner.cellsChanged("25");
        planner.cellSizeChanged(unitSystem == 1 ? "0.5" : "1.64");
        planner.profilingIntervalChanged("600");
        ui::MessageBoxSink messages(nullptr, AnswerAtOnce);
        ui::PlanViewsWindow views(nullptr, planner, messages);
        views.findChild<QLineEdit*>(QStringLiteral("boundaryDistance"))
            ->setText(unitSystem == 1 ? QStringLiteral("12") : QStringLiteral("40"));
        views.resize(720, 520);
        views.show();
        const QString units =
            unitSystem == 1 ? QStringLiteral("metric") : QStringLiteral("english");
        const QStringList tabs{QStringLiteral("column"), QStringLiteral("endurance"),
                               QStringLiteral("precision")};
        for (int tab = 0; tab < tabs.size(); ++tab) {
            views.tabs()->setCurrentIndex(tab);
            writer.save(views,
                        QStringLiteral("plan-views-") + tabs[tab] + QStringLiteral("-") + units);
        }
    }
}

// The deployment review of a 1500 kHz plan, with warnings (a start already past, a card in use
// and a planned duration the battery does not reach) and without (tomorrow, an empty card, a
// duration both estimates cover).
void SaveReviews(ShotWriter& writer) {
    for (const bool warned : {true, false}) {
        sim::SimulatedLine line(screenshots::ShowcaseInstrument());
        line.clock().setLocalTime(screenshots::kComputerTime);
        ui::MessageBoxSink messages(nullptr, AnswerAtOnce);
        link::Link link = line.link(messages);
        link.identity = {"QPX Version 1.70", link::kSystemQpx};
        planning::PlannerInputs inputs =
            planning::PlanDeployment(1, planning::SystemChoice{1, 32, 1});
        inputs.planning = false;
        inputs.recorder = planning::RecorderSpace{64 << 20, warned ? 14287872 : 0};
        planning::DeploymentPlanner planner;
        planner.open(inputs);
        planner.cellsChanged("25");
        planner.profilingIntervalChanged("1800");
        planner.setStartTime(warned ? link::CalendarTime{2026, 3, 13, 12, 0, 0}
                                    : link::CalendarTime{2026, 3, 15, 8, 0, 0});
        static_cast<void>(planner.plannedDurationChanged(warned ? "400" : "30"));
        planner.setOperatorRemarks("Harbour mouth, 12 m. A. Diver");
        const planning::DeploymentPlanner::DeployResult plan = planner.deploy();
        if (!plan.value)
            continue;
        std::filesystem::path folder = "/home/operator/Documents/DeployQpx records";
        ui::DeploymentReviewDialog review(nullptr, planner, *plan.value, link, messages, &folder);
        review.show();
        writer.save(review,
                    warned ? QStringLiteral("review-warnings") : QStringLiteral("review-plain"));
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
    SavePlanViews(writer);
    SaveReviews(writer);

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
