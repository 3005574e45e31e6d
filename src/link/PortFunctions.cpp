#include "link/PortFunctions.h"

namespace qpx::link {
namespace {

// Milliseconds left until `deadline`, never negative.
int Remaining(Port& port, std::int64_t deadline) {
    const std::int64_t left = deadline - port.clock().nowMs();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool HoldsCompleteLine(const char* buffer, int length) {
    if (length == 0 || buffer[length - 1] != '\n') {
        return false;
    }
    for (int i = 0; i < length; ++i) {
        if (buffer[i] != '\r' && buffer[i] != '\n') {
            return true;
        }
    }
    return false;
}

} // namespace

int WriteCharTimed(Port& port, std::uint8_t byte, int timeoutMs) {
    const int result = port.writeChar(byte);
    if (result < 0) {
        return result;
    }
    return port.waitWritten(timeoutMs) ? 1 : kPortFailure;
}

int WriteStringTimed(Port& port, std::string_view text, int terminator, int timeoutMs) {
    const int queued = WriteString(port, text, terminator);
    if (queued < 0) {
        return queued;
    }
    return port.waitWritten(timeoutMs) ? queued : kPortFailure;
}

int WriteString(Port& port, std::string_view text, int /*terminator*/) {
    return port.writeBuffer(reinterpret_cast<const std::uint8_t*>(text.data()),
                            static_cast<int>(text.size()));
}

int ReadCharTimed(Port& port, int timeoutMs) {
    const int first = port.readChar();
    if (first != kNoByte) {
        return first;
    }
    port.waitReadable(timeoutMs);
    return port.readChar();
}

int ReadStringTimed(Port& port, char* buffer, int count, int /*terminator*/, int timeoutMs) {
    if (buffer == nullptr) {
        return 0;
    }
    buffer[0] = '\0';
    if (count <= 0) {
        return 0;
    }
    const std::int64_t deadline = port.clock().nowMs() + (timeoutMs > 0 ? timeoutMs : 0);
    int length = 0;
    for (;;) {
        // Byte by byte, so that nothing past the end of a line is taken from the buffer.
        while (length < count) {
            const int byte = port.readChar();
            if (byte < 0) {
                break;
            }
            buffer[length++] = static_cast<char>(byte);
            buffer[length] = '\0';
            if (HoldsCompleteLine(buffer, length)) {
                return length;
            }
        }
        if (length >= count) {
            return length;
        }
        const int left = Remaining(port, deadline);
        if (left == 0 || !port.waitReadable(left)) {
            // One last look: a byte may have arrived just as the wait ended.
            if (port.rxCount() <= 0) {
                return length;
            }
        }
    }
}

int ReadBufferTimed(Port& port, std::uint8_t* buffer, int count, int timeoutMs) {
    port.setLastCount(0);
    if (buffer == nullptr || count <= 0) {
        return 0;
    }
    const std::int64_t deadline = port.clock().nowMs() + (timeoutMs > 0 ? timeoutMs : 0);
    int got = 0;
    for (;;) {
        const int n = port.readBuffer(buffer + got, count - got);
        if (n < 0) {
            port.setLastCount(got);
            return got > 0 ? got : n;
        }
        got += n;
        if (got >= count) {
            break;
        }
        const int left = Remaining(port, deadline);
        if (left == 0 || !port.waitReadable(left)) {
            if (port.rxCount() <= 0) {
                break;
            }
        }
    }
    port.setLastCount(got);
    return got;
}

int ClearRXBuffer(Port& port) {
    return port.clearRx();
}

} // namespace qpx::link
