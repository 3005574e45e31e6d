#pragma once

#include "link/Clock.h"
#include "link/PortOpener.h"
#include "serial/PortList.h"

#include <string>

namespace qpx::serial {

// Opens serial ports on QSerialPort: the port number through a PortList, or a device path.
//
// Status kPortUnavailable (-3) means the device is there but cannot be opened now: another
// program holds it, or the user may not use it. QSerialPort reports both as PermissionError on
// every platform (Qt's own lock file, TIOCEXCL and EACCES on Unix, ERROR_ACCESS_DENIED on
// Windows); ResourceError at opening means the device exists but its driver failed it (EIO, a
// half-removed USB adapter) and counts as unavailable too. Everything else, a number without a
// device, a missing device, a path that is not a serial device or settings the device refuses, is
// kPortFailure (-1).
//
// Lines are set to the given baud rate, parity ('N' 'E' 'O' 'M' 'S', mark and space included),
// 5 to 8 data bits, 1 or 2 stop bits and no flow control. QSerialPort's receive buffer is left
// unbounded, which holds at least the 8192 bytes asked for: a bound would only make it stop
// reading and let the driver drop bytes on a line without flow control. On Windows the driver's
// queues are asked for 8192 bytes each; Unix drivers keep their own fixed size.
class SerialPortOpener final : public link::PortOpener {
public:
    SerialPortOpener(link::Clock& clock, PortList ports);

    link::OpenResult open(int index, int baud, char parity, int dataBits, int stopBits) override;
    std::string deviceName(int index) override;

    // Opens a device path or port name directly (a --port argument).
    link::OpenResult openDevice(const std::string& device, int baud, char parity, int dataBits,
                                int stopBits);

    const PortList& ports() const { return ports_; }
    // Takes a fresh list, for instance when the connection window opens again.
    void setPorts(PortList ports) { ports_ = std::move(ports); }

private:
    link::Clock& clock_;
    PortList ports_;
};

} // namespace qpx::serial
