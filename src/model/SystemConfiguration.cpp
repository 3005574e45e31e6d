#include "model/SystemConfiguration.h"

#include "model/ByteLayout.h"
#include "model/StructureHeader.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <optional>

namespace qpx::model {
namespace {

template <typename Visitor, typename Conf>
void Layout(Visitor& v, Conf& c) {
    v(c.structureId);
    v(c.structureVersion);
    v(c.structureSize);
    v(c.confReserved4);
    v(c.confReserved8);
    v(c.cpuSoftwareVersion);
    v(c.dspSoftwareVersion);
    v(c.boardRevision);
    v(c.serialNumber);
    v(c.systemFrequency);
    v(c.numberOfBeams);
    v(c.beamGeometry);
    v(c.slantAngle);
    v(c.sensorOrientation);
    v(c.compassInstalled);
    v(c.recorderInstalled);
    v(c.temperatureSensorInstalled);
    v(c.pressureSensorInstalled);
    v(c.confReserved35);
    v(c.transformationMatrix);
    v(c.confReserved68);
    v(c.pressureScale);
    v(c.pressureOffset);
    v(c.confReserved78);
    v(c.extSensorInstalled);
    v(c.extPressureSensor);
    v(c.ctdSensorInstalled);
    v(c.pressureScale2);
    v(c.confReserved84);
    v(c.confReserved85);
    v(c.confReserved86);
    v(c.confReserved87);
}

// The values that index tables elsewhere are checked here, once, so that no reader ever needs
// to: eight frequency rows, and at most 4 x 4 matrix elements in the 16 stored.
std::optional<DecodeFailure> CheckFields(const SystemConfiguration& conf) {
    if (conf.structureId != kSystemConfigurationId) {
        return DecodeFailure{FormatText("SystemConfiguration: structure id 0x%02X, expected 0x%02X",
                                        unsigned{conf.structureId},
                                        unsigned{kSystemConfigurationId})};
    }
    if (conf.systemFrequency > 7) {
        return DecodeFailure{FormatText("SystemConfiguration: frequency code %u outside 0 to 7",
                                        unsigned{conf.systemFrequency})};
    }
    if (conf.numberOfBeams < 2 || conf.numberOfBeams > 4) {
        return DecodeFailure{FormatText("SystemConfiguration: number of beams %u outside 2 to 4",
                                        unsigned{conf.numberOfBeams})};
    }
    return std::nullopt;
}

} // namespace

std::array<std::uint8_t, kSystemConfigurationSize> Encode(const SystemConfiguration& conf) {
    std::array<std::uint8_t, kSystemConfigurationSize> bytes{};
    ByteWriter writer(bytes);
    Layout(writer, conf);
    return bytes;
}

SystemConfiguration
ReadSystemConfiguration(std::span<const std::uint8_t, kSystemConfigurationSize> bytes) {
    SystemConfiguration conf;
    ByteReader reader(bytes);
    Layout(reader, conf);
    return conf;
}

DecodeResult<SystemConfiguration> DecodeSystemConfiguration(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kSystemConfigurationSize) {
        return DecodeFailure{FormatText("SystemConfiguration: %llu bytes, expected %llu",
                                        static_cast<unsigned long long>(bytes.size()),
                                        static_cast<unsigned long long>(kSystemConfigurationSize))};
    }
    SystemConfiguration conf = ReadSystemConfiguration(bytes.first<kSystemConfigurationSize>());
    if (auto failure = CheckFields(conf)) {
        return *failure;
    }
    return conf;
}

DecodeResult<SystemConfiguration>
CopyReceivedSystemConfiguration(std::span<const std::uint8_t> received) {
    if (received.size() != kSystemConfigurationSize &&
        received.size() != kSystemConfigurationLegacySize) {
        return DecodeFailure{
            FormatText("SystemConfiguration: %llu bytes, expected %llu or %llu",
                       static_cast<unsigned long long>(received.size()),
                       static_cast<unsigned long long>(kSystemConfigurationLegacySize),
                       static_cast<unsigned long long>(kSystemConfigurationSize))};
    }
    std::array<std::uint8_t, kSystemConfigurationSize> held{};
    std::copy(received.begin(), received.end(), held.begin());
    SystemConfiguration conf = ReadSystemConfiguration(held);
    if (auto failure = CheckFields(conf)) {
        return *failure;
    }
    conf.confReserved86 = 0;
    // A string copy: nothing after the first NUL survives, and a field without one is cut to
    // nine characters so the text always ends inside its field and never runs into the
    // frequency code that follows.
    auto& serial = conf.serialNumber;
    const auto end = std::find(serial.begin(), serial.end() - 1, '\0');
    std::fill(end, serial.end(), '\0');
    return conf;
}

} // namespace qpx::model
