#pragma once

#include <cstdint>

namespace qpx::link {

// The few primitives a serial backend implements. Everything timed (time-outs, waiting for a
// line, the library's *Timed functions) is written once on top of these in Port and
// PortFunctions, so the real line and the simulator behave alike.
//
// Non-blocking primitives return at once. The two waits block until their condition holds or the
// time-out passes, whichever comes first, and never spin: a real backend sleeps in the operating
// system, the simulator advances the virtual clock to the next byte.
class PortDevice {
public:
    virtual ~PortDevice() = default;

    // Bytes waiting in the receive buffer; negative on failure.
    virtual int available() = 0;
    // Moves up to `max` waiting bytes out; returns the count (0 when none), negative on failure.
    virtual int read(std::uint8_t* destination, int max) = 0;
    // The next waiting byte without removing it, or -1 when none is waiting.
    virtual int peek() = 0;
    // Queues `count` bytes for sending; returns `count`, negative on failure.
    virtual int write(const std::uint8_t* source, int count) = 0;
    // Discards what is waiting to be received / still waiting to be sent; negative on failure.
    virtual int clearRx() = 0;
    virtual int clearTx() = 0;
    // Holds a break condition on the line for `milliseconds`, then releases it; negative on
    // failure. Returns after the break has ended.
    virtual int sendBreak(int milliseconds) = 0;
    // Returns as soon as at least one byte is waiting (at once when one already is), or after
    // `timeoutMs`. True when a byte is waiting.
    virtual bool waitReadable(int timeoutMs) = 0;
    // Returns as soon as every queued byte has left, or after `timeoutMs`. True when drained.
    virtual bool waitWritten(int timeoutMs) = 0;
    virtual void close() = 0;
};

} // namespace qpx::link
