#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace qpx::test {

// A pseudo-terminal pair standing in for a serial cable: the backend opens the slave by its path,
// the test plays the instrument on the master.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master_ >= 0; }
    int master() const { return master_; }
    const std::string& path() const { return path_; }

    bool send(std::string_view bytes);
    // What the backend sent: up to `count` bytes within `timeoutMs`.
    std::string receive(std::size_t count, int timeoutMs);
    // Hangs up the line, as a pulled cable does.
    void hangUp();

private:
    int master_ = -1;
    std::string path_;
};

// Process CPU time (user + system) in milliseconds.
double CpuMs();

// Real time since `start` in milliseconds.
inline long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

// Every byte value once, 0 to 255.
std::string AllByteValues();

} // namespace qpx::test
