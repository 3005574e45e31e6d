#pragma once

#include "link/PortDevice.h"
#include "link/VirtualClock.h"
#include "sim/Instrument.h"
#include "sim/WireTime.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace qpx::sim {

// What happened on a simulated line, kept outside the device so that tests can read it after
// the port has closed (and released) the device.
struct LineRecord {
    int closes = 0;
    int breaks = 0;
    std::vector<std::uint8_t> written; // every byte the host queued, in order
};

// A serial backend over a simulated Instrument, on virtual time. Host bytes take their line
// time to reach the instrument; its output is visible once it has arrived. Nothing spins: a
// wait moves the clock straight to the next byte's arrival (or to the deadline).
class SimulatedPortDevice final : public link::PortDevice {
public:
    SimulatedPortDevice(Instrument& instrument, link::VirtualClock& clock,
                        LineRecord* record = nullptr);

    int available() override;
    int read(std::uint8_t* destination, int max) override;
    int peek() override;
    int write(const std::uint8_t* source, int count) override;
    // Drops only what has already arrived; bytes still on the line come in later.
    int clearRx() override;
    // Drops what has not started to leave.
    int clearTx() override;
    int sendBreak(int milliseconds) override;
    bool waitReadable(int timeoutMs) override;
    bool waitWritten(int timeoutMs) override;
    void close() override;

    // The receive buffer's size; bytes arriving at a full buffer are lost, as on a real port.
    static constexpr std::size_t kReceiveCapacity = 8192;

private:
    // Something the host put on the line: a byte, or a break held from start to arrival.
    struct Outgoing {
        Micros start;
        Micros arrival;
        std::uint8_t byte;
        bool isBreak;
    };

    Micros now() const { return FromMs(clock_.nowMs()); }
    // Brings the line up to the clock: hands the instrument what has reached it, collects what
    // has reached the host.
    void pump();
    // When something next happens on the line by itself.
    std::optional<Micros> nextEvent() const;

    Instrument& instrument_;
    link::VirtualClock& clock_;
    LineRecord* record_;
    std::deque<Outgoing> outgoing_;
    Micros lineFreeAt_ = 0;
    std::deque<std::uint8_t> received_;
    std::vector<std::uint8_t> arrived_;
    bool closed_ = false;
};

} // namespace qpx::sim
