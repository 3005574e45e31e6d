#pragma once

#include <string>

namespace qpx::serial {

// Whether a path can be a serial device at all, decided before QSerialPort tries it (it would
// take a regular file for a port and fail with a puzzling "Inappropriate ioctl for device").
struct DeviceCheck {
    int status = 0; // 0, or kPortFailure when refused
    std::string message;
};

// The path QSerialPort opens for a port name: "ttyUSB0" is "/dev/ttyUSB0"; paths stay as they are.
std::string DevicePath(const std::string& name);

// Refuses a path that does not exist or is not a character device. Always passes on Windows,
// where ports are names rather than files.
DeviceCheck CheckDevicePath(const std::string& path);

// Whether a character device is a terminal. Opens it once, so only ask after a failed open:
// opening a real port raises its modem lines.
bool IsTerminalDevice(const std::string& path);

// Whether the user lacks read or write permission for the path (as opposed to it being busy).
bool LacksAccess(const std::string& path);

} // namespace qpx::serial
