#pragma once

#include "link/PortDevice.h"

#include <QSerialPort>
#include <memory>

namespace qpx::serial {

// The instrument's serial line over an open QSerialPort.
//
// The non-blocking primitives work on QSerialPort's own buffers. The two waits and the break run
// a LocalWait (a local QEventLoop that excludes user input, woken by readyRead / bytesWritten /
// errorOccurred and a single-shot timer): they return the moment their condition holds, keep a
// GUI painting meanwhile and never spin. Where no event loop can run (no QCoreApplication, or the
// application is quitting) they fall back to QSerialPort's blocking waitFor* calls.
//
// "Written" means handed to the operating system's driver, which then sends the bytes at the line
// rate; waiting for the last stop bit as well would make a 5 ms single-byte write fail at 300 baud.
//
// A read or write error or a lost device (a USB adapter pulled, the far end of a pseudo-terminal
// closed) makes the line unusable for good: QSerialPort would report it again on every turn of the
// event loop, so the port is closed and every later call fails at once.
class SerialPortDevice final : public link::PortDevice {
public:
    // Takes over a port that is already open.
    explicit SerialPortDevice(std::unique_ptr<QSerialPort> port);
    ~SerialPortDevice() override;
    SerialPortDevice(const SerialPortDevice&) = delete;
    SerialPortDevice& operator=(const SerialPortDevice&) = delete;

    int available() override;
    int read(std::uint8_t* destination, int max) override;
    int peek() override;
    int write(const std::uint8_t* source, int count) override;
    int clearRx() override;
    int clearTx() override;
    int sendBreak(int milliseconds) override;
    bool waitReadable(int timeoutMs) override;
    bool waitWritten(int timeoutMs) override;
    void close() override;

private:
    bool usable() const;
    void onError(QSerialPort::SerialPortError error);

    std::unique_ptr<QSerialPort> port_;
    bool broken_ = false;
};

} // namespace qpx::serial
