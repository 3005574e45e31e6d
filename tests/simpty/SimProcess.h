#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace qpx::test {

// The built qpx-sim (path in QPX_SIM) run as a child process, its standard output read by the
// test; standard error goes to a file so that failures can show it.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The first line of its standard output (empty when none came within the time-out).
    const std::string& firstLine() const { return firstLine_; }
    // What followed the first line on standard output, up to its end (waits for the end).
    std::string restOfOutput(int timeoutMs);
    std::string errors() const;

    void signal(int signalNumber) const;
    // Its exit code (128 + signal when killed); nothing when it is still running at the end.
    std::optional<int> waitExit(int timeoutMs);
    pid_t pid() const { return pid_; }

private:
    std::string readLine(int timeoutMs);

    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
    std::string firstLine_;
    std::string errorFile_;
    std::optional<int> exitCode_;
};

// The host's end: the slave device opened like a serial port, raw.
class HostPort {
public:
    explicit HostPort(const std::string& path);
    ~HostPort();
    HostPort(const HostPort&) = delete;
    HostPort& operator=(const HostPort&) = delete;

    bool ok() const { return fd_ >= 0; }
    bool send(std::string_view text);
    // Reads until `pattern` has arrived (or the time-out): everything read.
    std::string readUntil(std::string_view pattern, int timeoutMs);
    // Reads until `count` bytes have arrived (or the time-out).
    std::string readCount(std::size_t count, int timeoutMs);
    // True when the line hung up (the simulator closed its end) within the time-out.
    bool hangsUp(int timeoutMs);
    void close();

private:
    int fd_ = -1;
};

// The simulator's CPU time so far in milliseconds (user + system), from /proc.
double ProcessCpuMs(pid_t pid);

} // namespace qpx::test
