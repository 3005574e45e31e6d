#include "platform/ProgramLogLocation.h"
#include "serial/PortList.h"
#include "serial/SerialPortOpener.h"
#include "serial/SystemClock.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/HelpFile.h"
#include "ui/MainDialog.h"
#include "ui/MenuProgram.h"
#include "ui/PlanningMode.h"

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DeployQpx"));
    const std::filesystem::path programDirectory = qpx::ui::ProgramDirectory();

    qpx::serial::SystemClock clock;
    qpx::serial::SerialPortOpener opener(clock, qpx::serial::PortList::FromSystem());

    {
        qpx::ui::MainDialogSetup setup;
        // "LogFile" is written in the folder the program was started from; where that cannot be
        // written (Program Files, from the Start menu) in the user's own folder, said on stderr and
        // in the connection window's log.
        const qpx::link::LogLocation log = qpx::platform::ChooseProgramLogLocation();
        if (!log.notice.empty()) {
            std::cerr << log.notice << '\n';
        }
        setup.logDirectory = log.directory;
        setup.logNotice = log.notice;
        setup.beforeScan = [&opener] { opener.setPorts(qpx::serial::PortList::FromSystem()); };
        setup.makeFrontEnd = [](QWidget* parent, qpx::planning::DeploymentPlanner& planner,
                                qpx::link::Clock& runClock, qpx::link::MessageSink& messages)
            -> std::unique_ptr<qpx::operations::ConnectedSetupFrontEnd> {
            auto frontEnd =
                std::make_unique<qpx::ui::DeploymentFrontEnd>(parent, planner, runClock, messages);
            qpx::ui::PlannerHooks hooks;
            hooks.help = [&messages] { qpx::ui::OpenHelp(messages); };
            frontEnd->setHooks(std::move(hooks));
            return frontEnd;
        };
        setup.runPlanning = [](QWidget* parent, qpx::planning::DeploymentPlanner& planner,
                               int unitSystem, qpx::link::MessageSink& messages) {
            qpx::ui::PlannerHooks hooks;
            hooks.help = [&messages] { qpx::ui::OpenHelp(messages); };
            qpx::ui::RunPlanningMode(parent, planner, unitSystem, messages, hooks);
        };
        qpx::ui::MainDialog dialog(opener, clock, std::move(setup));
        dialog.exec();
    }

    // The exit step: hand over to "Menu" beside the program; without one, end as usual.
    qpx::ui::ChainToMenuProgram(programDirectory);
    return 0;
}
