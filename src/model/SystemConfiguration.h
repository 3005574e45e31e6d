#pragma once

#include "model/DecodeResult.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qpx::model {

inline constexpr std::size_t kSystemConfigurationSize = 96;
// Instruments with structureVersion 1 or lower send (and record) only the first 64 bytes.
inline constexpr std::size_t kSystemConfigurationLegacySize = 64;

// The instrument's hardware and system description ("Get CONF"), 96 bytes held.
// Field order and widths follow the byte layout; the comment gives the byte offset.
struct SystemConfiguration {
    std::uint8_t structureId = 0;                        // 0: 0x10
    std::uint8_t structureVersion = 0;                   // 1
    std::uint16_t structureSize = 0;                     // 2
    std::uint32_t confReserved4 = 0;                     // 4
    std::uint32_t confReserved8 = 0;                     // 8
    std::uint8_t cpuSoftwareVersion = 0;                 // 12: version x 10
    std::uint8_t dspSoftwareVersion = 0;                 // 13: version x 10
    char boardRevision = 0;                              // 14: one letter
    std::array<char, 10> serialNumber{};                 // 15: NUL-terminated
    std::uint8_t systemFrequency = 0;                    // 25: FrequencyIndex 0..7
    std::uint8_t numberOfBeams = 0;                      // 26: 2..4
    std::uint8_t beamGeometry = 0;                       // 27
    std::int16_t slantAngle = 0;                         // 28: 0.1 degree
    std::uint8_t sensorOrientation = 0;                  // 30
    std::uint8_t compassInstalled = 0;                   // 31
    std::uint8_t recorderInstalled = 0;                  // 32
    std::uint8_t temperatureSensorInstalled = 0;         // 33
    std::uint8_t pressureSensorInstalled = 0;            // 34
    std::uint8_t confReserved35 = 0;                     // 35
    std::array<std::int16_t, 16> transformationMatrix{}; // 36: value / 1024, row by row
    std::uint16_t confReserved68 = 0;                    // 68
    std::int32_t pressureScale = 0;                      // 70: 1e-8 dbar per count
    std::int32_t pressureOffset = 0;                     // 74: 1e-5 dbar
    std::uint8_t confReserved78 = 0;                     // 78
    std::uint8_t extSensorInstalled = 0;                 // 79
    std::uint8_t extPressureSensor = 0;                  // 80
    std::uint8_t ctdSensorInstalled = 0;                 // 81
    std::int16_t pressureScale2 = 0;                     // 82: pdbar per count^2
    std::uint8_t confReserved84 = 0;                     // 84
    std::uint8_t confReserved85 = 0;                     // 85
    std::uint8_t confReserved86 = 0;                     // 86: never carried over on download
    std::array<std::uint8_t, 9> confReserved87{};        // 87

    friend bool operator==(const SystemConfiguration&, const SystemConfiguration&) = default;
};

// Exact byte image: every field, reserved ones included, at its offset.
std::array<std::uint8_t, kSystemConfigurationSize> Encode(const SystemConfiguration& conf);

// Field-by-field reading of a block already known to have the held size; no checks. For bytes
// the program built itself (default copies); received bytes go through the checking decoder.
SystemConfiguration
ReadSystemConfiguration(std::span<const std::uint8_t, kSystemConfigurationSize> bytes);

// Exact inverse of Encode. Refuses a block that is not 96 bytes, whose structureId is not
// 0x10, whose systemFrequency is outside 0..7 (every frequency table has eight rows) or whose
// numberOfBeams is outside 2..4 (the matrix must fit its 16 elements).
DecodeResult<SystemConfiguration> DecodeSystemConfiguration(std::span<const std::uint8_t> bytes);

// The download copy: takes the block the instrument sent, 96 bytes or 64 from an old
// instrument (the missing bytes are held as 0), with the checks of DecodeSystemConfiguration.
// Differs from a plain decode in two ways: confReserved86 is held as 0, and the serial number
// is copied as a string of at most 9 characters, so everything from its first NUL to the end of
// the field is 0 and the field is always terminated.
DecodeResult<SystemConfiguration>
CopyReceivedSystemConfiguration(std::span<const std::uint8_t> received);

} // namespace qpx::model
