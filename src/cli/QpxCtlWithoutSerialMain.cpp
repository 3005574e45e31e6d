// qpxctl without the serial backend (built where there is no Qt, as the Windows cross build):
// the same commands, the computer's clock, and no port that can be opened.

#include "cli/NoSerialPortAccess.h"
#include "cli/QpxCtl.h"
#include "platform/ProgramLogLocation.h"
#include "platform/StandardClock.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    qpx::platform::StandardClock clock;
    qpx::cli::NoSerialPortAccess ports;
    const qpx::link::LogLocation log = qpx::platform::ChooseProgramLogLocation();
    if (!log.notice.empty()) {
        std::cerr << log.notice << '\n';
    }
    qpx::cli::CliEnvironment env{std::cout, std::cerr, clock, ports, log.directory};
    return qpx::cli::RunQpxCtl(args, env);
}
