#include "model/UserSetup.h"

#include "model/ByteLayout.h"
#include "model/StructureHeader.h"
#include "model/TextFormat.h"

#include <optional>

namespace qpx::model {
namespace {

template <typename Visitor, typename Setup>
void Layout(Visitor& v, Setup& s) {
    v(s.structureId);
    v(s.structureVersion);
    v(s.structureSize);
    v(s.userReserved4);
    v(s.userReserved8);
    v(s.defaultTemperature);
    v(s.salinity);
    v(s.soundSpeed);
    v(s.numberOfCells);
    v(s.cellSize);
    v(s.blankingDistance);
    v(s.userReserved24);
    v(s.temperatureMode);
    v(s.averagingInterval);
    v(s.profilingInterval);
    v(s.userReserved33);
    v(s.burstMode);
    v(s.burstInterval);
    v(s.profilesPerBurst);
    v(s.coordinateSystem);
    v(s.outputMode);
    v(s.userReserved43);
    v(s.recorderEnabled);
    v(s.userReserved45);
    v(s.userReserved46);
    v(s.deploymentName);
    v(s.startDate.year);
    v(s.startDate.day);
    v(s.startDate.month);
    v(s.startTime.minute);
    v(s.startTime.hour);
    v(s.startTime.hundredths);
    v(s.startTime.second);
    v(s.comment1);
    v(s.comment2);
    v(s.comment3);
    v(s.userByte244);
    v(s.userByte245);
    v(s.userReserved246);
    v(s.waveInterval);
    v(s.waveOptions);
    v(s.waveSamples);
    v(s.waveEnabled);
    v(s.userByte253);
    v(s.pulseCoherentMode);
    v(s.userReserved255);
}

} // namespace

std::array<std::uint8_t, kUserSetupSize> Encode(const UserSetup& setup) {
    std::array<std::uint8_t, kUserSetupSize> bytes{};
    ByteWriter writer(bytes);
    Layout(writer, setup);
    return bytes;
}

UserSetup ReadUserSetup(std::span<const std::uint8_t, kUserSetupSize> bytes) {
    UserSetup setup;
    ByteReader reader(bytes);
    Layout(reader, setup);
    return setup;
}

DecodeResult<UserSetup> DecodeUserSetup(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kUserSetupSize) {
        return DecodeFailure{FormatText("UserSetup: %llu bytes, expected %llu",
                                        static_cast<unsigned long long>(bytes.size()),
                                        static_cast<unsigned long long>(kUserSetupSize))};
    }
    UserSetup setup = ReadUserSetup(bytes.first<kUserSetupSize>());
    if (setup.structureId != kUserSetupId) {
        return DecodeFailure{FormatText("UserSetup: structure id 0x%02X, expected 0x%02X",
                                        unsigned{setup.structureId}, unsigned{kUserSetupId})};
    }
    return setup;
}

} // namespace qpx::model
