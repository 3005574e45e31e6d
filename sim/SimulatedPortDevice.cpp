#include "sim/SimulatedPortDevice.h"

#include "link/Port.h"

#include <algorithm>

namespace qpx::sim {

SimulatedPortDevice::SimulatedPortDevice(Instrument& instrument, link::VirtualClock& clock,
                                         LineRecord* record)
    : instrument_(instrument), clock_(clock), record_(record) {}

void SimulatedPortDevice::pump() {
    const Micros t = now();
    while (!outgoing_.empty() && outgoing_.front().arrival <= t) {
        const Outgoing item = outgoing_.front();
        outgoing_.pop_front();
        if (item.isBreak) {
            instrument_.lineBreak(item.start, item.arrival);
        } else {
            instrument_.receive(item.byte, item.arrival);
        }
    }
    arrived_.clear();
    instrument_.takeOutput(t, arrived_);
    for (const std::uint8_t byte : arrived_) {
        if (received_.size() < kReceiveCapacity) {
            received_.push_back(byte);
        }
    }
}

std::optional<Micros> SimulatedPortDevice::nextEvent() const {
    std::optional<Micros> next = instrument_.nextEventTime();
    if (!outgoing_.empty() && (!next || outgoing_.front().arrival < *next)) {
        next = outgoing_.front().arrival;
    }
    return next;
}

int SimulatedPortDevice::available() {
    if (closed_) {
        return link::kPortFailure;
    }
    pump();
    return static_cast<int>(received_.size());
}

int SimulatedPortDevice::read(std::uint8_t* destination, int max) {
    if (closed_ || destination == nullptr || max < 0) {
        return link::kPortFailure;
    }
    pump();
    const int count = std::min(max, static_cast<int>(received_.size()));
    for (int i = 0; i < count; ++i) {
        destination[i] = received_.front();
        received_.pop_front();
    }
    return count;
}

int SimulatedPortDevice::peek() {
    if (closed_) {
        return link::kPortFailure;
    }
    pump();
    return received_.empty() ? -1 : received_.front();
}

int SimulatedPortDevice::write(const std::uint8_t* source, int count) {
    if (closed_ || source == nullptr || count < 0) {
        return link::kPortFailure;
    }
    pump();
    const Micros byteTime = instrument_.byteTime();
    for (int i = 0; i < count; ++i) {
        const Micros start = std::max(now(), lineFreeAt_);
        lineFreeAt_ = start + byteTime;
        outgoing_.push_back({start, lineFreeAt_, source[i], false});
        if (record_ != nullptr) {
            record_->written.push_back(source[i]);
        }
    }
    return count;
}

int SimulatedPortDevice::clearRx() {
    if (closed_) {
        return link::kPortFailure;
    }
    pump();
    received_.clear();
    return 0;
}

int SimulatedPortDevice::clearTx() {
    if (closed_) {
        return link::kPortFailure;
    }
    pump();
    const Micros t = now();
    while (!outgoing_.empty() && outgoing_.back().start > t) {
        outgoing_.pop_back();
    }
    lineFreeAt_ = outgoing_.empty() ? std::min(lineFreeAt_, t) : outgoing_.back().arrival;
    return 0;
}

int SimulatedPortDevice::sendBreak(int milliseconds) {
    if (closed_) {
        return link::kPortFailure;
    }
    pump();
    const Micros start = std::max(now(), lineFreeAt_);
    lineFreeAt_ = start + FromMs(milliseconds > 0 ? milliseconds : 0);
    outgoing_.push_back({start, lineFreeAt_, 0, true});
    if (record_ != nullptr) {
        ++record_->breaks;
    }
    clock_.advanceTo(CeilMs(lineFreeAt_));
    pump();
    return 0;
}

bool SimulatedPortDevice::waitReadable(int timeoutMs) {
    if (closed_) {
        return false;
    }
    pump();
    const std::int64_t deadline = clock_.nowMs() + std::max(timeoutMs, 0);
    while (received_.empty()) {
        // Everything up to now has been pumped, so the next event lies strictly ahead and each
        // pass moves the clock forward.
        const std::optional<Micros> next = nextEvent();
        if (!next || CeilMs(*next) >= deadline) {
            clock_.advanceTo(deadline);
            pump();
            break;
        }
        clock_.advanceTo(CeilMs(*next));
        pump();
    }
    return !received_.empty();
}

bool SimulatedPortDevice::waitWritten(int timeoutMs) {
    if (closed_) {
        return false;
    }
    pump();
    const std::int64_t done = CeilMs(lineFreeAt_);
    const std::int64_t nowMs = clock_.nowMs();
    if (done <= nowMs) {
        return true;
    }
    const std::int64_t limit = nowMs + std::max(timeoutMs, 0);
    clock_.advanceTo(std::min(done, limit));
    pump();
    return done <= limit;
}

void SimulatedPortDevice::close() {
    if (!closed_) {
        closed_ = true;
        if (record_ != nullptr) {
            ++record_->closes;
        }
    }
}

} // namespace qpx::sim
