#include "support/SimulatedPortOpener.h"

namespace qpx::test {

link::OpenResult SimulatedPortOpener::open(int index, int baud, char parity, int dataBits,
                                           int stopBits) {
    requests.push_back({index, baud, parity, dataBits, stopBits});
    link::OpenResult result;
    if (busy.contains(index)) {
        result.status = link::kPortUnavailable;
        result.message = "in use";
        return result;
    }
    const auto found = instruments.find(index);
    if (found == instruments.end()) {
        result.status = link::kPortFailure;
        result.message = "no such port";
        return result;
    }
    sim::Scenario scenario = found->second;
    scenario.baudRate = baud;
    sim::Instrument& instrument = *built_.emplace_back(std::make_unique<sim::Instrument>(scenario));
    sim::LineRecord& record = lines.emplace_back();
    std::unique_ptr<link::PortDevice> device =
        std::make_unique<sim::SimulatedPortDevice>(instrument, clock_, &record);
    if (wrapDevice)
        device = wrapDevice(std::move(device));
    result.port = std::make_unique<link::Port>(std::move(device), clock_);
    result.status = link::kPortOk;
    return result;
}

std::string SimulatedPortOpener::deviceName(int index) {
    return instruments.contains(index) ? "sim" + std::to_string(index + 1) : std::string();
}

} // namespace qpx::test
