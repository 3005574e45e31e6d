#include "link/Port.h"

namespace qpx::link {

Port::Port(std::unique_ptr<PortDevice> device, Clock& clock, int status)
    : device_(std::move(device)), clock_(clock), status_(status) {}

Port::~Port() {
    close();
}

int Port::readChar() {
    if (!device_) {
        return kPortFailure;
    }
    std::uint8_t byte = 0;
    const int n = device_->read(&byte, 1);
    if (n < 0) {
        return n;
    }
    return n == 1 ? byte : kNoByte;
}

int Port::writeChar(std::uint8_t byte) {
    if (!device_) {
        return kPortFailure;
    }
    const int n = device_->write(&byte, 1);
    return n == 1 ? 1 : (n < 0 ? n : kPortFailure);
}

int Port::peekChar() {
    if (!device_) {
        return kPortFailure;
    }
    const int b = device_->peek();
    return b < 0 ? kNoByte : b;
}

void Port::close() {
    if (device_) {
        device_->close();
        device_.reset();
        ++closeCount_;
    }
}

int Port::rxCount() {
    return device_ ? device_->available() : kPortFailure;
}

int Port::clearTx() {
    return device_ ? device_->clearTx() : kPortFailure;
}

int Port::clearRx() {
    return device_ ? device_->clearRx() : kPortFailure;
}

int Port::writeBuffer(const std::uint8_t* bytes, int count) {
    if (!device_ || count < 0 || (bytes == nullptr && count > 0)) {
        return kPortFailure;
    }
    return count == 0 ? 0 : device_->write(bytes, count);
}

int Port::readBuffer(std::uint8_t* bytes, int count) {
    if (!device_ || count < 0 || (bytes == nullptr && count > 0)) {
        return kPortFailure;
    }
    return count == 0 ? 0 : device_->read(bytes, count);
}

int Port::sendBreak(int milliseconds) {
    return device_ ? device_->sendBreak(milliseconds) : kPortFailure;
}

bool Port::waitReadable(int timeoutMs) {
    return device_ ? device_->waitReadable(timeoutMs < 0 ? 0 : timeoutMs) : false;
}

bool Port::waitWritten(int timeoutMs) {
    return device_ ? device_->waitWritten(timeoutMs < 0 ? 0 : timeoutMs) : false;
}

} // namespace qpx::link
