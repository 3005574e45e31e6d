#include "serial/SerialPortOpener.h"

#include "model/TextFormat.h"
#include "serial/DeviceCheck.h"
#include "serial/PermissionMessage.h"
#include "serial/SerialPortDevice.h"

#include <QSerialPort>
#include <cctype>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qpx::serial {
namespace {

std::optional<QSerialPort::Parity> ParityFromLetter(char letter) {
    switch (letter) {
    case 'N':
        return QSerialPort::NoParity;
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

link::OpenResult Failure(int status, std::string message) {
    link::OpenResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

std::string DescribeLine(int baud, char parity, int dataBits, int stopBits) {
    const char shown = std::isprint(static_cast<unsigned char>(parity)) != 0 ? parity : '?';
    return model::FormatText("%d baud, parity %c, %d data bits, %d stop bits", baud, shown,
                             dataBits, stopBits);
}

link::OpenResult OpenFailure(const QSerialPort& port, const std::string& path, int baud,
                             char parity, int dataBits, int stopBits) {
    const std::string reason = port.errorString().toStdString();
    switch (port.error()) {
    case QSerialPort::PermissionError:
        if (LacksAccess(path)) {
            return Failure(link::kPortUnavailable, AccessDeniedMessage(path));
        }
        return Failure(link::kPortUnavailable, path + " is in use by another program.");
    case QSerialPort::ResourceError:
        return Failure(link::kPortUnavailable, path + " cannot be opened now: " + reason + ".");
    case QSerialPort::DeviceNotFoundError:
        return Failure(link::kPortFailure, "No serial device at " + path + ".");
    case QSerialPort::UnsupportedOperationError:
        // Also what a character device that is no terminal at all gives (ENOTTY).
        if (!IsTerminalDevice(path)) {
            return Failure(link::kPortFailure, path + " is not a serial device (not a terminal).");
        }
        return Failure(link::kPortFailure, path + " does not support " +
                                               DescribeLine(baud, parity, dataBits, stopBits) +
                                               ": " + reason + ".");
    default:
        return Failure(link::kPortFailure, "Cannot open " + path + ": " + reason + ".");
    }
}

} // namespace

SerialPortOpener::SerialPortOpener(link::Clock& clock, PortList ports)
    : clock_(clock), ports_(std::move(ports)) {}

std::string SerialPortOpener::deviceName(int index) {
    return ports_.device(index);
}

link::OpenResult SerialPortOpener::open(int index, int baud, char parity, int dataBits,
                                        int stopBits) {
    if (index < 0 || index >= kPortCount) {
        return Failure(link::kPortFailure,
                       model::FormatText("There is no port number %d.", index + 1));
    }
    const std::string& device = ports_.device(index);
    if (device.empty()) {
        return Failure(link::kPortFailure, PortName(index) + " has no serial device behind it.");
    }
    return openDevice(device, baud, parity, dataBits, stopBits);
}

link::OpenResult SerialPortOpener::openDevice(const std::string& device, int baud, char parity,
                                              int dataBits, int stopBits) {
    const std::optional<QSerialPort::Parity> parityMode = ParityFromLetter(parity);
    if (baud <= 0 || !parityMode || dataBits < 5 || dataBits > 8 || stopBits < 1 || stopBits > 2) {
        return Failure(
            link::kPortFailure,
            "Unsupported line settings: " + DescribeLine(baud, parity, dataBits, stopBits) + ".");
    }
    if (device.empty()) {
        return Failure(link::kPortFailure, "No serial device given.");
    }
    const std::string path = DevicePath(device);
    DeviceCheck check = CheckDevicePath(path);
    if (check.status < 0) {
        return Failure(check.status, std::move(check.message));
    }

    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(device));
    port->setBaudRate(baud);
    port->setParity(*parityMode);
    port->setDataBits(static_cast<QSerialPort::DataBits>(dataBits));
    port->setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->setReadBufferSize(0);
    if (!port->open(QIODevice::ReadWrite)) {
        return OpenFailure(*port, path, baud, parity, dataBits, stopBits);
    }
#ifdef _WIN32
    SetupComm(port->handle(), 8192, 8192);
#endif

    link::OpenResult result;
    result.port = std::make_unique<link::Port>(std::make_unique<SerialPortDevice>(std::move(port)),
                                               clock_, link::kPortOk);
    result.status = link::kPortOk;
    return result;
}

} // namespace qpx::serial
