#include "serial/SerialPortDevice.h"

#include "serial/LocalWait.h"

#include <QTimer>
#include <climits>

namespace qpx::serial {
namespace {

int ClampToInt(qint64 value) {
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

SerialPortDevice::SerialPortDevice(std::unique_ptr<QSerialPort> port) : port_(std::move(port)) {
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

SerialPortDevice::~SerialPortDevice() {
    close();
}

bool SerialPortDevice::usable() const {
    return port_ && port_->isOpen() && !broken_;
}

void SerialPortDevice::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        if (!broken_) {
            broken_ = true;
            // Closing inside QSerialPort's own notification would delete the notifier that is
            // reporting; let the event loop do it on its next turn.
            QSerialPort* port = port_.get();
            QTimer::singleShot(0, port, [port] { port->close(); });
        }
        break;
    default:
        // Time-outs of the blocking fallback and refused settings leave the line usable.
        break;
    }
}

int SerialPortDevice::available() {
    return usable() ? ClampToInt(port_->bytesAvailable()) : -1;
}

int SerialPortDevice::read(std::uint8_t* destination, int max) {
    if (!usable() || destination == nullptr || max < 0) {
        return -1;
    }
    if (max == 0) {
        return 0;
    }
    const qint64 n = port_->read(reinterpret_cast<char*>(destination), max);
    return n < 0 ? -1 : static_cast<int>(n);
}

int SerialPortDevice::peek() {
    if (!usable()) {
        return -1;
    }
    char byte = 0;
    return port_->peek(&byte, 1) == 1 ? static_cast<std::uint8_t>(byte) : -1;
}

int SerialPortDevice::write(const std::uint8_t* source, int count) {
    if (!usable() || source == nullptr || count < 0) {
        return -1;
    }
    if (count == 0) {
        return 0;
    }
    if (port_->write(reinterpret_cast<const char*>(source), count) != count) {
        return -1;
    }
    // QSerialPort only queues; push what the driver takes now so that bytes also leave when the
    // caller does not wait afterwards. The rest goes out during the next wait.
    port_->flush();
    return broken_ ? -1 : count;
}

int SerialPortDevice::clearRx() {
    return usable() && port_->clear(QSerialPort::Input) ? 0 : -1;
}

int SerialPortDevice::clearTx() {
    return usable() && port_->clear(QSerialPort::Output) ? 0 : -1;
}

int SerialPortDevice::sendBreak(int milliseconds) {
    if (!usable() || !port_->setBreakEnabled(true)) {
        return -1;
    }
    SleepMs(milliseconds);
    // Released even when the line broke meanwhile; a break left on would silence the instrument.
    const bool released = port_->isOpen() && port_->setBreakEnabled(false);
    return released && !broken_ ? 0 : -1;
}

bool SerialPortDevice::waitReadable(int timeoutMs) {
    if (!usable()) {
        return false;
    }
    LocalWait wait(timeoutMs);
    wait.wakeOn(port_.get(), &QSerialPort::readyRead);
    wait.wakeOn(port_.get(), &QSerialPort::errorOccurred);
    const auto ready = [this] { return broken_ || port_->bytesAvailable() > 0; };
    if (wait.until(ready) == WaitResult::NoEventLoop && !ready() && wait.remainingMs() > 0) {
        port_->waitForReadyRead(wait.remainingMs());
    }
    return usable() && port_->bytesAvailable() > 0;
}

bool SerialPortDevice::waitWritten(int timeoutMs) {
    if (!usable()) {
        return false;
    }
    LocalWait wait(timeoutMs);
    wait.wakeOn(port_.get(), &QSerialPort::bytesWritten);
    wait.wakeOn(port_.get(), &QSerialPort::errorOccurred);
    const auto ready = [this] { return broken_ || port_->bytesToWrite() == 0; };
    if (wait.until(ready) == WaitResult::NoEventLoop) {
        // waitForBytesWritten hands over one chunk per call.
        while (!ready() && wait.remainingMs() > 0 &&
               port_->waitForBytesWritten(wait.remainingMs())) {
        }
    }
    return usable() && port_->bytesToWrite() == 0;
}

void SerialPortDevice::close() {
    if (port_ && port_->isOpen()) {
        port_->close();
    }
}

} // namespace qpx::serial
