#pragma once

#include "cli/CliEnvironment.h"
#include "cli/QpxCtl.h"
#include "link/VirtualClock.h"
#include "support/SimulatedPortOpener.h"
#include "support/TempDir.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace qpx::test {

// COM1 to COM8 on simulated instruments; any other argument is a device path that does not
// exist here.
class SimulatedPortAccess : public cli::PortAccess {
public:
    explicit SimulatedPortAccess(link::VirtualClock& clock) : simulated(clock) {}

    link::PortOpener& opener() override { return simulated; }
    cli::PortTarget resolve(std::string_view argument) override {
        cli::PortTarget target;
        if (argument.size() == 4 && argument.starts_with("COM") && argument[3] >= '1' &&
            argument[3] <= '8') {
            target.index = argument[3] - '1';
            target.device = std::string(argument);
        } else if (argument.starts_with("COM")) {
            target.error = "Unknown port \"" + std::string(argument) + "\".";
        } else {
            target.device = std::string(argument);
        }
        return target;
    }
    link::OpenResult open(const cli::PortTarget& target, int baud) override {
        if (target.index >= 0) {
            return simulated.open(target.index, baud, 'N', 8, 1);
        }
        link::OpenResult result;
        result.message = target.device + " does not exist.";
        return result;
    }

    SimulatedPortOpener simulated;
};

// qpxctl run in-process on virtual time, its two streams captured.
struct CliBench {
    link::VirtualClock clock{{2001, 7, 4, 9, 0, 0}};
    SimulatedPortAccess ports{clock};
    TempDir logDir;
    TempDir folder; // the current folder qpxctl sees: deployment records go here
    std::string out;
    std::string err;

    int run(const std::vector<std::string>& args) {
        std::ostringstream outStream;
        std::ostringstream errStream;
        cli::CliEnvironment env{outStream, errStream, clock, ports, logDir.path()};
        env.currentFolder = folder.path();
        const int code = cli::RunQpxCtl(args, env);
        out = outStream.str();
        err = errStream.str();
        return code;
    }

    // Every command line the instrument behind the last opened port received.
    const std::vector<std::string>& transcript() {
        return ports.simulated.lastInstrument().transcript();
    }
    bool received(const std::string& line) {
        const auto& lines = transcript();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

} // namespace qpx::test
