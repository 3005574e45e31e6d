#include "planning/DefaultStructures.h"

#include "model/StructureHeader.h"
#include "planning/SoundSpeed.h"
#include "planning/SystemLimits.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace qpx::planning {
namespace {

int ClampedFrequency(int frequencyIndex) {
    return std::clamp(frequencyIndex, 0, kFrequencyCount - 1);
}

std::uint16_t Low16(std::int32_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

// Copies a text into a fixed field, always leaving room for its terminator.
template <std::size_t N>
void SetText(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

template <std::size_t N, std::size_t M>
void FillBuffer(std::span<std::uint8_t, N> buffer, const std::array<std::uint8_t, M>& bytes) {
    static_assert(N == M);
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
}

} // namespace

model::SystemConfiguration MakeDefaultSystemConfiguration(int frequencyIndex) {
    model::SystemConfiguration conf;
    conf.structureId = model::kSystemConfigurationId;
    conf.structureVersion = model::kBuiltStructureVersion;
    conf.structureSize = 64;
    conf.cpuSoftwareVersion = 0;
    conf.boardRevision = 'D';
    SetText(conf.serialNumber, "DEFAULT");
    conf.systemFrequency = static_cast<std::uint8_t>(ClampedFrequency(frequencyIndex));
    conf.numberOfBeams = 3;
    conf.beamGeometry = 1;      // "3_Beams"
    conf.slantAngle = 250;      // 25.0 degrees
    conf.sensorOrientation = 1; // "Up"
    conf.compassInstalled = 0;
    conf.recorderInstalled = 1;
    conf.temperatureSensorInstalled = 1;
    conf.pressureSensorInstalled = 1;
    conf.pressureScale = 100000000; // 1.0 dbar per count
    conf.pressureOffset = 0;
    conf.confReserved78 = 1;
    return conf;
}

model::UserSetup MakeDefaultUserSetup(int frequencyIndex) {
    const SystemLimits& limits = SystemLimitsFor(frequencyIndex);
    model::UserSetup setup;
    setup.structureId = model::kUserSetupId;
    setup.structureVersion = model::kBuiltStructureVersion;
    setup.structureSize = 256;
    setup.defaultTemperature = 200; // 20.0 degC
    setup.salinity = 345;           // 34.5 ppt
    setup.soundSpeed = static_cast<std::int16_t>(SoundSpeed(34.5f, 20.0f, 0.0f) * 10.0);
    setup.numberOfCells = Low16(limits.defaultCells);
    setup.cellSize = Low16(limits.defaultCellSize);
    setup.blankingDistance = static_cast<std::uint16_t>(limits.minBlanking * 100.0f);
    setup.temperatureMode = 1; // measured
    setup.averagingInterval = 120;
    setup.profilingInterval = 1200;
    setup.burstMode = 0;
    setup.burstInterval = 1200;
    setup.profilesPerBurst = 1;
    setup.coordinateSystem = 2; // ENU
    setup.outputMode = 0;       // "Auto"
    setup.userReserved43 = 1;
    setup.recorderEnabled = 1;
    setup.userReserved46 = 1;
    SetText(setup.deploymentName, "DEF");
    setup.startDate = {1995, 1, 1};
    setup.startTime = {};
    setup.userByte244 = 1;
    setup.pulseCoherentMode = 0;
    return setup;
}

model::OperationConfiguration MakeDefaultOperationConfiguration(int frequencyIndex) {
    const SystemLimits& limits = SystemLimitsFor(frequencyIndex);
    model::OperationConfiguration oper;
    oper.structureId = model::kOperationConfigurationId;
    oper.structureVersion = model::kBuiltStructureVersion;
    oper.structureSize = 86;
    oper.operWord12 = 5;
    oper.operWord14 = 4;
    oper.operWord16 = 1;
    oper.operWord18 = 50;
    oper.operWord20 = 5;
    oper.operWord22 = static_cast<std::uint16_t>(limits.minBlanking); // whole metres
    oper.operWord24 = static_cast<std::uint16_t>(limits.maxRange);
    oper.operWord26 = Low16(limits.rangeFigure);
    oper.operWord28 = 1;
    return oper;
}

void ApplyWavesOption(model::UserSetup& userSetup, int wavesIndex) {
    userSetup.waveInterval = 4;
    // Wave type - 1 in bits 4-5: "None" wraps to 0xF0. Unsigned, so that no index can overflow.
    const unsigned typeBits = (16u * static_cast<unsigned>(wavesIndex) - 16u) & 0xFFu;
    userSetup.waveOptions = static_cast<std::uint8_t>(typeBits | (userSetup.waveOptions & 0xC1u));
    userSetup.waveSamples = 1024;
    userSetup.waveEnabled = 1;
}

void DefaultSystemConfiguration(std::span<std::uint8_t, 96> buffer, int frequencyIndex) {
    FillBuffer(buffer, model::Encode(MakeDefaultSystemConfiguration(frequencyIndex)));
}

void DefaultUserSetup(std::span<std::uint8_t, 256> buffer, int frequencyIndex) {
    FillBuffer(buffer, model::Encode(MakeDefaultUserSetup(frequencyIndex)));
}

void DefaultOperationConfiguration(std::span<std::uint8_t, 86> buffer, int frequencyIndex) {
    FillBuffer(buffer, model::Encode(MakeDefaultOperationConfiguration(frequencyIndex)));
}

void ApplyWavesOption(std::span<std::uint8_t, 256> userSetup, int wavesIndex) {
    model::UserSetup setup = model::ReadUserSetup(userSetup);
    ApplyWavesOption(setup, wavesIndex);
    const auto bytes = model::Encode(setup);
    std::copy(bytes.begin(), bytes.end(), userSetup.begin());
}

} // namespace qpx::planning
