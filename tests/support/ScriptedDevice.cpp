#include "support/ScriptedDevice.h"

#include <algorithm>

namespace qpx::test {

void ScriptedDevice::arriveAt(std::int64_t atMs, std::string_view bytes) {
    for (const char c : bytes) {
        // After everything due at the same time or earlier: bytes keep their order.
        const auto at =
            std::upper_bound(arrivals_.begin(), arrivals_.end(), atMs,
                             [](std::int64_t t, const Arrival& a) { return t < a.atMs; });
        arrivals_.insert(at, Arrival{atMs, static_cast<std::uint8_t>(c)});
    }
}

int ScriptedDevice::available() {
    const std::int64_t now = clock_.nowMs();
    const auto due = std::find_if(arrivals_.begin(), arrivals_.end(),
                                  [now](const Arrival& a) { return a.atMs > now; });
    return static_cast<int>(due - arrivals_.begin());
}

int ScriptedDevice::read(std::uint8_t* destination, int max) {
    const int n = std::min(max, available());
    for (int i = 0; i < n; ++i) {
        destination[i] = arrivals_.front().byte;
        arrivals_.pop_front();
    }
    return n;
}

int ScriptedDevice::peek() {
    return available() > 0 ? arrivals_.front().byte : -1;
}

int ScriptedDevice::write(const std::uint8_t* source, int count) {
    const std::string_view bytes(reinterpret_cast<const char*>(source),
                                 static_cast<std::size_t>(count));
    if (writeFails && writeFails(bytes)) {
        return -1;
    }
    for (const char c : bytes) {
        written.push_back(c);
        writeTimes.push_back(clock_.nowMs());
        receive(static_cast<std::uint8_t>(c));
    }
    if (onWrite) {
        onWrite(bytes);
    }
    return count;
}

int ScriptedDevice::clearRx() {
    ++clearRxCalls;
    if (clearRxFailsFrom != 0 && clearRxCalls >= clearRxFailsFrom) {
        return -1;
    }
    arrivals_.erase(arrivals_.begin(), arrivals_.begin() + available());
    return 0;
}

int ScriptedDevice::clearTx() {
    ++clearTxCalls;
    return clearTxFailsFrom != 0 && clearTxCalls >= clearTxFailsFrom ? -1 : 0;
}

int ScriptedDevice::sendBreak(int milliseconds) {
    if (breakFails) {
        return -1;
    }
    breakTimes.push_back(clock_.nowMs());
    clock_.sleepMs(milliseconds);
    if (onBreak) {
        onBreak();
    }
    return 0;
}

bool ScriptedDevice::waitReadable(int timeoutMs) {
    ++waitReadableCalls;
    if (available() > 0) {
        return true;
    }
    const std::int64_t limit = clock_.nowMs() + timeoutMs;
    if (!arrivals_.empty() && arrivals_.front().atMs <= limit) {
        clock_.advanceTo(arrivals_.front().atMs);
        return true;
    }
    clock_.advanceTo(limit);
    return false;
}

bool ScriptedDevice::waitWritten(int /*timeoutMs*/) {
    return true;
}

void ScriptedDevice::receive(std::uint8_t byte) {
    if (!awake) {
        return;
    }
    const int echoAt = echoDelayMs;
    if (!inLine_) {
        if (byte == ' ') {
            arriveIn(echoAt, " >");
            return;
        }
        if (byte != '\r') {
            inLine_ = true;
            lineEcho_ = nextEcho_ < echoPlan.size() ? echoPlan[nextEcho_] : Echo::Correct;
            ++nextEcho_;
        } else {
            lineEcho_ = Echo::Correct;
        }
    }
    if (byte != '\r') {
        if (lineEcho_ == Echo::Correct || (lineEcho_ == Echo::Wrong && !line_.empty())) {
            arriveIn(echoAt, std::string(1, static_cast<char>(byte)));
        } else if (lineEcho_ == Echo::Wrong) {
            arriveIn(echoAt, "#");
        }
        line_.push_back(static_cast<char>(byte));
        return;
    }
    const std::string line = line_;
    line_.clear();
    inLine_ = false;
    if (!line.empty()) {
        lines.push_back(line);
    }
    if (lineEcho_ != Echo::None) {
        arriveIn(echoAt, "\r" + answerTo(line));
    }
}

std::string ScriptedDevice::answerTo(const std::string& line) {
    if (answer) {
        return answer(line);
    }
    const auto reply = replies.find(line);
    return reply != replies.end() ? "\n" + reply->second : "\n>";
}

} // namespace qpx::test
