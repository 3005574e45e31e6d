#pragma once

#include "link/Clock.h"
#include "link/MessageSink.h"
#include "link/Port.h"
#include "link/PortOpener.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Opening a serial port, testing which ports can be opened, and the "Go!" sequence that opens
// the chosen one and wakes and identifies the instrument behind it.
namespace qpx::operations {

inline constexpr int kPortCount = 8; // COM1 .. COM8

// The "Baud Rate:" list, by code.
inline constexpr std::array<int, 10> kBaudRates{300,  600,   1200,  2400,  4800,
                                                9600, 19200, 38400, 57600, 115200};
// 9600 for a code outside the list.
int BaudRateFromCode(int code);
// 5 (9600) for a rate outside the list.
int BaudCodeFromRate(int rate);
// 'N', 'E', 'O', 'M', 'S' for parity codes 0..4; 'N' for any other.
char ParityLetter(int code);

// The connection settings the main window keeps.
struct ConnectionSettings {
    int portIndex = 0; // 0 = COM1 .. 7 = COM8, -1 none selected
    int baudRate = 9600;
    int dataBitsCode = 3; // data bits - 5
    int parityCode = 0;
    int stopBitsCode = 0; // stop bits - 1
};

// Closes and clears a port still held in `slot`, then opens port `index`. 1 opened (in `slot`),
// 0 the port exists but cannot be opened now (kPortUnavailable), -1 any other failure; on failure
// the slot stays empty.
int OpenPort(link::PortOpener& opener, std::unique_ptr<link::Port>& slot, int index, int baud,
             int parityCode, int dataBitsCode, int stopBitsCode);

// A port's mark in the scan.
enum PortAvailability : int {
    kPortNotAvailable = 0, // no visible marker
    kPortAvailable = 2,    // green
    kPortInUse = 3,        // red: opening reported kPortUnavailable
};

struct PortScan {
    std::array<int, kPortCount> codes{};
    int selected = -1; // the port to select afterwards, -1 none
};

// Tries each port at 9600 8N1 and closes it again. The port this program holds (`holdingPort`
// and `selected`) counts as available although opening it again fails. The selection stays when
// its port is available, else moves to the first available one, else -1.
PortScan ScanPorts(link::PortOpener& opener, bool holdingPort, int selected);

// Where the "Go!" sequence writes its log, piece by piece (labels first, results after them).
using LogSink = std::function<void(std::string_view)>;

// An instrument found on a port: the port stays open in `port` when a QPX or Merovane answered.
struct FoundInstrument {
    std::unique_ptr<link::Port> port; // open on success, else none
    bool portOpened = false;          // the port opened (the wake-up may still have failed)
    int systemType = 0;               // what answered (0 when the port did not open)
    std::string openMessage;          // the opener's reason when the port did not open
};

// Hands over the port to try, opened with whatever settings the front end keeps.
using PortOpening = std::function<link::OpenResult()>;

// The one connect sequence of every front end: "Open Port" with its result, then with
// `identify` "Waking up System" with its result and "QPX found on COM1" (`where` names the
// port). Only a QPX or a Merovane is kept: anything else, or no answer, closes the port.
// Without `identify` the port is only opened.
FoundInstrument FindInstrument(const PortOpening& open, std::string_view where, bool identify,
                               link::MessageSink& messages,
                               const std::optional<std::filesystem::path>& logDirectory,
                               const LogSink& log);

// "Go!": opens port `portIndex` at `baudRate` with the settings' other codes into `slot`, wakes
// and identifies the instrument and logs each step. True when a QPX or Merovane answered: the
// settings then hold the port index and baud rate, the port stays in `slot` and the 2000 ms pause
// has been made. False after "Failed": no port is left open.
bool ConnectInstrument(link::PortOpener& opener, link::Clock& clock,
                       std::unique_ptr<link::Port>& slot, ConnectionSettings& settings,
                       int portIndex, int baudRate, link::MessageSink& messages,
                       const std::optional<std::filesystem::path>& logDirectory,
                       const LogSink& log);

} // namespace qpx::operations
