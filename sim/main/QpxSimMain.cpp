// qpx-sim: the simulated instrument on a pseudo-terminal, in real time, for people and for
// end-to-end tests of the real serial backend.

#include "sim/Instrument.h"
#include "sim/ScenarioOptions.h"
#include "sim/pty/ChildProgram.h"
#include "sim/pty/PseudoTerminalLine.h"
#include "sim/pty/RealTimeServer.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace qpx::sim;

volatile std::sig_atomic_t gStopSignal = 0;
volatile std::sig_atomic_t gChildChanged = 0;

extern "C" void OnStopSignal(int signalNumber) {
    gStopSignal = signalNumber;
}

extern "C" void OnChildSignal(int) {
    gChildChanged = 1;
}

void Status(const std::string& text) {
    std::fputs(("qpx-sim: " + text + "\n").c_str(), stderr);
}

// A link left by a run that was killed is replaced; anything else at that path is not touched.
bool MakeLink(const std::string& linkPath, const std::string& device) {
    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            Status("--link " + linkPath + ": exists and is not a symbolic link");
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(device.c_str(), linkPath.c_str()) != 0) {
        Status("--link " + linkPath + ": cannot create the link");
        return false;
    }
    return true;
}

// Usage errors and --help end the program here, with the code it exits with.
std::optional<int> ReadOptions(int argc, char** argv, SimOptions& options) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    SimOptionsResult parsed = ParseSimOptions(arguments);
    if (!parsed.ok) {
        Status(parsed.message);
        std::fputs("Try 'qpx-sim --help'.\n", stderr);
        return 2;
    }
    options = std::move(parsed.options);
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    return std::nullopt;
}

// The host's break never reaches the master of a pseudo-terminal (the pty driver has no break to
// pass on, and packet mode reports none), so only the wake-up string can wake it.
void WakeOnlyByString(Scenario& scenario) {
    if (scenario.sleeping && scenario.wakesOnBreak) {
        scenario.wakesOnBreak = false;
        Status("a break cannot reach a pseudo-terminal: the sleeping instrument wakes on "
               "\"++++++++++\" only");
    }
}

bool OpenTranscript(const SimOptions& options, std::ofstream& transcript) {
    if (options.transcriptPath) {
        transcript.open(*options.transcriptPath, std::ios::out | std::ios::trunc);
        if (!transcript) {
            Status("--transcript " + *options.transcriptPath + ": cannot write the file");
            return false;
        }
    }
    return true;
}

void RemoveLink(const SimOptions& options) {
    if (options.linkPath) {
        ::unlink(options.linkPath->c_str());
    }
}

// The signals that matter arrive only while the server sleeps in ppoll, so the loop sees each
// one as it wakes. Returns the mask to restore, which the child program starts with too.
sigset_t CatchSignals() {
    sigset_t handled;
    sigemptyset(&handled);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGCHLD}) {
        sigaddset(&handled, signalNumber);
    }
    sigset_t original;
    ::sigprocmask(SIG_BLOCK, &handled, &original);
    struct sigaction stopAction {};
    stopAction.sa_handler = OnStopSignal;
    sigemptyset(&stopAction.sa_mask);
    ::sigaction(SIGINT, &stopAction, nullptr);
    ::sigaction(SIGTERM, &stopAction, nullptr);
    struct sigaction childAction {};
    childAction.sa_handler = OnChildSignal;
    sigemptyset(&childAction.sa_mask);
    childAction.sa_flags = SA_NOCLDSTOP;
    ::sigaction(SIGCHLD, &childAction, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return original;
}

void Announce(const SimOptions& options, const std::string& device) {
    std::fputs((device + "\n").c_str(), stdout);
    std::fflush(stdout);
    Status("serving \"" + options.scenario.versionText + "\" at " +
           std::to_string(options.scenario.baudRate) + " baud on " + device +
           (options.linkPath ? " (linked as " + *options.linkPath + ")" : std::string()));
}

// Closes the device as the way serving ended asks, and gives the exit code.
int AfterServing(RealTimeServer::End end, const SimOptions& options, PseudoTerminalLine& line,
                 ChildProgram& child, const sigset_t& original) {
    const bool withChild = !options.exec.empty();
    switch (end) {
    case RealTimeServer::End::LineFault:
        // As a killed simulator or a pulled cable: the host's open device hangs up. Closing
        // the master throws away what the host has not read yet, so the bytes already sent are
        // given a moment to be taken first.
        ::usleep(100'000);
        line.close();
        Status("line fault: the device was closed");
        RemoveLink(options);
        if (!withChild) {
            std::fflush(stderr);
            ::_exit(1);
        }
        ::sigprocmask(SIG_SETMASK, &original, nullptr);
        child.wait();
        return child.exitCode();
    case RealTimeServer::End::Failed:
        Status("the pseudo-terminal failed");
        line.close();
        RemoveLink(options);
        if (withChild) {
            child.wait();
        }
        return 1;
    case RealTimeServer::End::Stopped:
        break;
    }
    line.close();
    RemoveLink(options);
    if (withChild) {
        child.wait();
        return child.exitCode();
    }
    return 0;
}

int Serve(const SimOptions& options, PseudoTerminalLine& line, std::ofstream& transcript,
          const sigset_t& original) {
    const bool withChild = !options.exec.empty();
    ChildProgram child;
    if (withChild) {
        std::string error;
        if (!child.start(options.exec, line.path(), original, error)) {
            Status(error);
            RemoveLink(options);
            return 127;
        }
    }

    Instrument instrument(options.scenario);
    RealTimeServer server(instrument, line.master(),
                          ServerSettings{options.exitMidFrame, options.exitAt});
    server.onLine = [&transcript](std::string_view text) {
        if (transcript.is_open()) {
            transcript << text << '\n';
            transcript.flush();
        }
    };
    server.stop = [&] {
        if (gStopSignal != 0) {
            const int signalNumber = gStopSignal;
            gStopSignal = 0;
            if (!withChild) {
                return true;
            }
            // The program decides how to end; we end with it.
            child.signal(signalNumber);
        }
        if (withChild && gChildChanged != 0) {
            gChildChanged = 0;
            return child.poll();
        }
        return false;
    };

    const RealTimeServer::End end = server.run(&original);
    if (server.overrunBytes() > 0) {
        Status(std::to_string(server.overrunBytes()) + " bytes were lost: nobody read the device");
    }
    return AfterServing(end, options, line, child, original);
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    if (const std::optional<int> code = ReadOptions(argc, argv, options)) {
        return *code;
    }
    WakeOnlyByString(options.scenario);

    std::ofstream transcript;
    if (!OpenTranscript(options, transcript)) {
        return 1;
    }
    PseudoTerminalLine line;
    if (!line.ok()) {
        Status(line.error());
        return 1;
    }
    if (options.linkPath && !MakeLink(*options.linkPath, line.path())) {
        return 1;
    }
    const sigset_t original = CatchSignals();
    Announce(options, line.path());
    return Serve(options, line, transcript, original);
}
