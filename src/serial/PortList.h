#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::serial {

inline constexpr int kPortCount = 8; // COM1 ... COM8

// Separates the device paths of DEPLOYQPX_PORTS (';' on Windows, where paths hold ':').
#ifdef _WIN32
inline constexpr char kPortListSeparator = ';';
#else
inline constexpr char kPortListSeparator = ':';
#endif

// A serial device as the system lists it.
struct SystemPort {
    std::string name;     // "ttyUSB0", "cu.usbserial-1420", "COM3"
    std::string location; // "/dev/ttyUSB0"
    bool hasVendorId = false;
};

// Which device each port number stands for. On Windows COM1 to COM8 are the devices of those
// names. Elsewhere they are the first eight serial devices the system lists: USB adapters first
// (that is where an instrument cable usually is), then built-in ports, each group in name order
// with numbers compared as numbers (ttyS2 before ttyS10). DEPLOYQPX_PORTS replaces the list, so
// a simulator's pseudo-terminal or a fixed device can be put on a known number.
class PortList {
public:
    PortList() = default; // no device behind any number
    // The first kPortCount paths; an empty path leaves its number without a device.
    explicit PortList(const std::vector<std::string>& devices);

    // DEPLOYQPX_PORTS when set (even empty), else this platform's rule above.
    static PortList FromSystem();
    static PortList FromEnvironmentValue(std::string_view value,
                                         char separator = kPortListSeparator);
    static PortList FromSystemPorts(std::vector<SystemPort> ports);
    static PortList WindowsNames();

    // The device behind 0 = COM1 ... 7 = COM8; empty when none (or out of range).
    const std::string& device(int index) const;
    // "COM1 (/dev/ttyUSB0)", "COM1 (no device)", or just "COM1" where the device has that name.
    std::string label(int index) const;

    friend bool operator==(const PortList&, const PortList&) = default;

private:
    std::array<std::string, kPortCount> devices_;
};

// "COM1" ... for 0 ... 7.
std::string PortName(int index);

} // namespace qpx::serial
