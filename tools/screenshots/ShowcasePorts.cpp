#include "screenshots/ShowcasePorts.h"

#include <array>

namespace qpx::screenshots {

ShowcasePorts::ShowcasePorts(link::VirtualClock& clock, const sim::Scenario& instrument)
    : simulator_(clock) {
    simulator_.instruments[kInstrumentPort] = instrument;
    simulator_.busy.insert(kBusyPort);
}

link::OpenResult ShowcasePorts::open(int index, int baud, char parity, int dataBits, int stopBits) {
    return simulator_.open(index, baud, parity, dataBits, stopBits);
}

std::string ShowcasePorts::deviceName(int index) {
    static const std::array<const char*, 8> kNames = {
        "/dev/ttyS0", "/dev/ttyUSB0", "", "/dev/ttyS1", "", "", "", ""};
    return index >= 0 && index < static_cast<int>(kNames.size()) ? kNames[index] : "";
}

} // namespace qpx::screenshots
