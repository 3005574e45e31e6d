#include "serial/PortList.h"

#include "model/TextFormat.h"

#include <algorithm>
#include <cctype>

namespace qpx::serial {
namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Name order with runs of digits compared by value, so ttyS2 comes before ttyS10.
bool NaturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && IsDigit(a[endA])) {
                ++endA;
            }
            while (endB < b.size() && IsDigit(b[endB])) {
                ++endB;
            }
            // Compared as text without leading zeros: no overflow on any length.
            std::string_view runA = a.substr(i, endA - i);
            std::string_view runB = b.substr(j, endB - j);
            runA.remove_prefix(std::min(runA.find_first_not_of('0'), runA.size()));
            runB.remove_prefix(std::min(runB.find_first_not_of('0'), runB.size()));
            if (runA.size() != runB.size()) {
                return runA.size() < runB.size();
            }
            if (runA != runB) {
                return runA < runB;
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b;
}

bool LooksLikeUsb(const SystemPort& port) {
    static const char* const prefixes[] = {"ttyUSB",      "ttyACM",        "cu.usbserial",
                                           "cu.usbmodem", "tty.usbserial", "tty.usbmodem"};
    return port.hasVendorId ||
           std::any_of(std::begin(prefixes), std::end(prefixes),
                       [&](const char* prefix) { return port.name.starts_with(prefix); });
}

// macOS lists each device twice, as tty.X (waits for carrier) and cu.X (does not); only the
// call-out device suits a line without carrier detect.
bool HasCallOutTwin(const SystemPort& port, const std::vector<SystemPort>& all) {
    if (!port.name.starts_with("tty.")) {
        return false;
    }
    const std::string twin = "cu." + port.name.substr(4);
    return std::any_of(all.begin(), all.end(), [&](const SystemPort& p) { return p.name == twin; });
}

} // namespace

std::string PortName(int index) {
    return model::FormatText("COM%d", index + 1);
}

PortList::PortList(const std::vector<std::string>& devices) {
    const std::size_t n = std::min<std::size_t>(devices.size(), kPortCount);
    std::copy_n(devices.begin(), n, devices_.begin());
}

PortList PortList::FromEnvironmentValue(std::string_view value, char separator) {
    std::vector<std::string> devices;
    for (;;) {
        const std::size_t end = value.find(separator);
        devices.emplace_back(value.substr(0, end));
        if (end == std::string_view::npos || devices.size() == kPortCount) {
            break;
        }
        value.remove_prefix(end + 1);
    }
    return PortList(devices);
}

PortList PortList::FromSystemPorts(std::vector<SystemPort> ports) {
    std::vector<SystemPort> kept;
    for (const SystemPort& port : ports) {
        if (!HasCallOutTwin(port, ports)) {
            kept.push_back(port);
        }
    }
    std::sort(kept.begin(), kept.end(), [](const SystemPort& a, const SystemPort& b) {
        const bool usbA = LooksLikeUsb(a);
        const bool usbB = LooksLikeUsb(b);
        if (usbA != usbB) {
            return usbA;
        }
        return NaturalLess(a.name, b.name);
    });
    std::vector<std::string> devices;
    for (const SystemPort& port : kept) {
        devices.push_back(port.location.empty() ? port.name : port.location);
    }
    return PortList(devices);
}

PortList PortList::WindowsNames() {
    std::vector<std::string> devices;
    for (int i = 0; i < kPortCount; ++i) {
        devices.push_back(PortName(i));
    }
    return PortList(devices);
}

const std::string& PortList::device(int index) const {
    static const std::string none;
    return index >= 0 && index < kPortCount ? devices_[static_cast<std::size_t>(index)] : none;
}

std::string PortList::label(int index) const {
    const std::string name = PortName(index);
    const std::string& path = device(index);
    if (path.empty()) {
        return name + " (no device)";
    }
    return path == name ? name : name + " (" + path + ")";
}

} // namespace qpx::serial
