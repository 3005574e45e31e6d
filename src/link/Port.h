#pragma once

#include "link/Clock.h"
#include "link/PortDevice.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace qpx::link {

// Status values of the port and its timed reads.
inline constexpr int kPortOk = 0;
inline constexpr int kPortFailure = -1;
inline constexpr int kPortUnavailable = -3; // the device exists but cannot be opened now
inline constexpr int kNoByte = -8;          // a timed read found no byte: low byte 0xF8
inline constexpr int kLineTerminator = -2;  // the one terminator argument of the string functions

// The open serial port: one non-virtual wrapper around a backend's primitives, carrying the
// operations the program relies on. A closed port answers every call with a failure.
class Port {
public:
    Port(std::unique_ptr<PortDevice> device, Clock& clock, int status = kPortOk);
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    int status() const { return status_; }
    int lastCount() const { return lastCount_; }
    bool isOpen() const { return device_ != nullptr; }
    Clock& clock() { return clock_; }

    // Removes and returns the next received byte; kNoByte when none is waiting.
    int readChar();
    // Sends one byte; 1, negative on failure.
    int writeChar(std::uint8_t byte);
    // The next received byte, left in place; kNoByte when none is waiting.
    int peekChar();
    void close();
    int rxCount();
    int clearTx();
    int clearRx();
    int writeBuffer(const std::uint8_t* bytes, int count);
    int readBuffer(std::uint8_t* bytes, int count);
    int sendBreak(int milliseconds);

    // Primitive waits for the timed functions (see PortDevice).
    bool waitReadable(int timeoutMs);
    bool waitWritten(int timeoutMs);
    void setLastCount(int count) { lastCount_ = count; }

    // How many times close() actually closed the device (0 or 1): tests assert on it.
    int closeCount() const { return closeCount_; }

private:
    std::unique_ptr<PortDevice> device_;
    Clock& clock_;
    int status_;
    int lastCount_ = 0;
    int closeCount_ = 0;
};

} // namespace qpx::link
