// qpxctl: the command-line tool over the real serial ports and the computer's clock.

#include "cli/QpxCtl.h"
#include "cli/SerialPortAccess.h"
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
    std::error_code error;
    std::optional<std::filesystem::path> logDirectory = std::filesystem::current_path(error);
    if (error) {
        logDirectory.reset();
    }
    qpx::cli::CliEnvironment env{std::cout, std::cerr, clock, ports, logDirectory};
    return qpx::cli::RunQpxCtl(args, env);
}
