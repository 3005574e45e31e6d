// qpxctl: the command-line tool over the real serial ports and the computer's clock.

#include "cli/QpxCtl.h"
#include "cli/SerialPortAccess.h"
#include "platform/ProgramLogLocation.h"
#include "serial/PortList.h"
#include "serial/SystemClock.h"

#include <QCoreApplication>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The serial line's waits run a local event loop, which needs an application object; the
    // commands run to their end without ever entering the application's own loop.
    QCoreApplication application(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    qpx::serial::SystemClock clock;
    qpx::cli::SerialPortAccess ports(clock, qpx::serial::PortList::FromSystem());
    // "LogFile" in the current folder as always; where that cannot be written, one line on
    // standard error says where it went instead.
    const qpx::link::LogLocation log = qpx::platform::ChooseProgramLogLocation();
    if (!log.notice.empty()) {
        std::cerr << log.notice << '\n';
    }
    qpx::cli::CliEnvironment env{std::cout, std::cerr, clock, ports, log.directory};
    return qpx::cli::RunQpxCtl(args, env);
}
