#pragma once

#include "link/Clock.h"
#include "link/PortOpener.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace qpx::cli {

// Exit codes of qpxctl.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRefused = 1;     // a check or the user refused
inline constexpr int kExitUsage = 2;       // wrong command line
inline constexpr int kExitLinkFailure = 3; // the port, the line or the instrument failed
// A file the user asked for could not be written: a failure of the computer, not a refusal of the
// plan, so it shares the failure code.
inline constexpr int kExitFileFailure = kExitLinkFailure;

// A port as the --port argument names it.
struct PortTarget {
    int index = -1;     // 0 = COM1 ... 7 = COM8; -1 for a device path
    std::string device; // the device to open
    std::string error;  // why the argument names no port; empty when it does

    // "COM1", or the device path.
    std::string name() const;
};

// How the tool reaches ports: COM1 to COM8 through a port opener, device paths directly.
class PortAccess {
public:
    virtual ~PortAccess() = default;
    virtual link::PortOpener& opener() = 0;
    virtual PortTarget resolve(std::string_view argument) = 0;
    // Opens at `baud`, 8 data bits, no parity, 1 stop bit.
    virtual link::OpenResult open(const PortTarget& target, int baud) = 0;
};

// Everything a command works with. Results go to `out`; messages and progress to `err`.
struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    link::Clock& clock;
    PortAccess& ports;
    // Folder of "LogFile"; none: nothing is logged.
    std::optional<std::filesystem::path> logDirectory;
    // A progress label stands on `err` without its result yet: a message then starts a line of
    // its own instead of running on after the dots.
    bool errLineOpen = false;
    // What a relative record folder is taken from, and the record's first fallback; empty: the
    // process's current folder.
    std::filesystem::path currentFolder{};
};

} // namespace qpx::cli
