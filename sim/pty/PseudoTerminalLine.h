#pragma once

#include <string>

namespace qpx::sim {

// The simulator's end of a pseudo-terminal. The instrument talks on the master; the host opens
// the slave by its path as it would a serial device.
//
// The slave is opened once here and held for the whole run. A master whose slave has no open
// descriptor left reads EIO and polls as hung up for as long as nobody has it open, which would
// make the poll loop spin between the host's port scan and its "Go!"; held, the host can close
// and reopen the device any number of times and the master never notices. The held descriptor
// is never read: bytes sent while no host listens wait in the slave's input queue, which the
// host's first receive-buffer clear empties (a real port's driver buffer behaves the same).
class PseudoTerminalLine {
public:
    PseudoTerminalLine();
    ~PseudoTerminalLine();
    PseudoTerminalLine(const PseudoTerminalLine&) = delete;
    PseudoTerminalLine& operator=(const PseudoTerminalLine&) = delete;

    bool ok() const { return master_ >= 0; }
    // Why it could not be opened.
    const std::string& error() const { return error_; }
    // Non-blocking, close-on-exec.
    int master() const { return master_; }
    const std::string& path() const { return path_; }

    // Closes both ends; a host that has the slave open gets a hang-up.
    void close();

private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string path_;
    std::string error_;
};

} // namespace qpx::sim
