#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qpx::test {

// A finished program: its exit code (128 + signal when killed), both streams and how long it ran.
struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    bool timedOut = false; // killed after the time limit
    std::chrono::milliseconds elapsed{0};
};

// Runs `argv` in `directory` (none: this one) with `environment` added to this process's
// environment, its standard input empty, and kills it after `timeoutMs`.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& environment = {},
                         int timeoutMs = 30000,
                         const std::optional<std::filesystem::path>& directory = std::nullopt);

// qpx-sim serving a pseudo-terminal, as long as this object lives.
class SimulatorProcess {
public:
    // Starts `simulator` with `args` and reads the device path from its first line.
    SimulatorProcess(const std::string& simulator, const std::vector<std::string>& args,
                     const std::filesystem::path& stderrFile);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Empty when the simulator did not start.
    const std::string& device() const { return device_; }
    // Waits for the simulator to end by itself (at most `timeoutMs`); its exit code, or nothing.
    std::optional<int> wait(int timeoutMs);

private:
    pid_t pid_ = -1;
    int stdoutFd_ = -1;
    std::string device_;
};

} // namespace qpx::test
