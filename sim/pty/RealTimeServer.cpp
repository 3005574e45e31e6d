#include "sim/pty/RealTimeServer.h"

#include "sim/pty/CutNextFrame.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace qpx::sim {
namespace {

// Bytes due within this much of each other leave in one write: at 115200 baud a byte lasts
// 87 us, and a wake-up per byte would cost more than the line is worth.
constexpr Micros kWriteQuantum = 1000;
// While the master reads as hung up (no slave open at all) it cannot be polled for input.
constexpr Micros kHungUpRetry = 50'000;

} // namespace

RealTimeServer::RealTimeServer(Instrument& instrument, int master, ServerSettings settings)
    : instrument_(instrument), master_(master), settings_(std::move(settings)),
      start_(std::chrono::steady_clock::now()), frameCut_(std::make_shared<bool>(false)),
      log_(instrument) {
    if (settings_.exitMidFrame) {
        CutNextFrame(instrument_, frameCut_);
    }
    log_.skipSeen();
}

Micros RealTimeServer::now() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

bool RealTimeServer::readHost(Micros at) {
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            hungUp_ = false;
            // Each byte takes its time on the line, however fast the host handed them over.
            const Micros byteTime = instrument_.byteTime();
            for (ssize_t i = 0; i < n; ++i) {
                inputFreeAt_ = std::max(at, inputFreeAt_) + byteTime;
                incoming_.push_back({inputFreeAt_, buffer[i]});
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true;
        }
        // EIO: no slave descriptor is open. Not expected while the line holds one, but a host
        // hang-up must never end the simulator.
        if (n == 0 || errno == EIO) {
            hungUp_ = true;
            return true;
        }
        return false;
    }
}

void RealTimeServer::reportNewLines() {
    for (const CommandLineLog::Entry& entry : log_.take()) {
        if (onLine) {
            onLine(entry.text);
        }
        if (!entry.wakeUp && settings_.exitAt && *settings_.exitAt == entry.text) {
            exitAtFired_ = true;
        }
    }
}

bool RealTimeServer::deliver(Micros at) {
    while (!incoming_.empty() && incoming_.front().at <= at) {
        const Incoming item = incoming_.front();
        incoming_.pop_front();
        instrument_.receive(item.byte, item.at);
        reportNewLines();
        if (exitAtFired_) {
            return false;
        }
    }
    return true;
}

void RealTimeServer::writeDue(Micros at) {
    due_.clear();
    instrument_.takeOutput(at, due_);
    reportNewLines(); // a wake-up completes inside a scheduled task
    std::size_t done = 0;
    while (done < due_.size()) {
        const ssize_t n = ::write(master_, due_.data() + done, due_.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // The host's input queue is full (tens of kilobytes nobody read): the rest is lost, as
        // a real receiver overruns. Holding it back would shift every later byte in time.
        overrun_ += static_cast<std::int64_t>(due_.size() - done);
        break;
    }
    if (!due_.empty()) {
        lastWrite_ = at;
    }
}

std::optional<Micros> RealTimeServer::nextWake() const {
    std::optional<Micros> next = instrument_.nextEventTime();
    if (next) {
        next = std::max(*next, lastWrite_ + kWriteQuantum);
    }
    if (!incoming_.empty() && (!next || incoming_.front().at < *next)) {
        next = incoming_.front().at;
    }
    return next;
}

RealTimeServer::End RealTimeServer::run(const sigset_t* waitMask) {
    for (;;) {
        const Micros t = now();
        if (!deliver(t)) {
            return End::LineFault;
        }
        writeDue(t);
        if (exitAtFired_) {
            return End::LineFault;
        }
        // The cut frame's half has been written: now the line dies.
        if (*frameCut_ && instrument_.isLineDead() && !instrument_.nextEventTime()) {
            return End::LineFault;
        }
        if (stop && stop()) {
            return End::Stopped;
        }

        std::optional<Micros> wake = nextWake();
        if (hungUp_) {
            wake = std::min(wake.value_or(t + kHungUpRetry), t + kHungUpRetry);
        }
        timespec timeout{};
        timespec* limit = nullptr;
        if (wake) {
            const Micros wait = std::max<Micros>(*wake - t, 0);
            timeout.tv_sec = static_cast<time_t>(wait / 1'000'000);
            timeout.tv_nsec = static_cast<long>((wait % 1'000'000) * 1000);
            limit = &timeout;
        }
        pollfd fd{master_, POLLIN, 0};
        const int ready = ::ppoll(&fd, hungUp_ ? 0 : 1, limit, waitMask);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return End::Failed;
        }
        if (ready > 0) {
            if ((fd.revents & POLLNVAL) != 0) {
                return End::Failed;
            }
            if ((fd.revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !readHost(now())) {
                return End::Failed;
            }
        }
    }
}

} // namespace qpx::sim
