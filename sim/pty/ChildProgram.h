#pragma once

#include <csignal>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qpx::sim {

// The program started with --exec: it shares our standard streams, and finds the simulator on
// COM1 through DEPLOYQPX_PORTS.
class ChildProgram {
public:
    // Starts `command` (searched in PATH) with DEPLOYQPX_PORTS=`device` and `childMask` as its
    // signal mask. False, with the reason, when it could not be started.
    bool start(const std::vector<std::string>& command, const std::string& device,
               const sigset_t& childMask, std::string& error);

    bool running() const { return pid_ > 0 && !status_; }
    void signal(int signalNumber) const;
    // Collects the exit status if it has ended; true once it has.
    bool poll();
    // Blocks until it ends.
    void wait();
    // Its exit code, or 128 + the signal that killed it (a shell's convention).
    int exitCode() const;

private:
    void take(int status);

    pid_t pid_ = -1;
    std::optional<int> status_;
};

} // namespace qpx::sim
