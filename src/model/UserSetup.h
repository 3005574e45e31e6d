#pragma once

#include "model/DecodeResult.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qpx::model {

inline constexpr std::size_t kUserSetupSize = 256;

// The user's deployment setup ("Get USER"), received and held in the same 256-byte layout.
// The comment gives the byte offset.
struct UserSetup {
    // Year first, then day before month, as the instrument stores it.
    struct StartDate {
        std::int16_t year = 0;  // 56
        std::uint8_t day = 0;   // 58
        std::uint8_t month = 0; // 59: 1..12
        friend bool operator==(const StartDate&, const StartDate&) = default;
    };
    // Minute first, then hour, hundredths, second.
    struct StartTime {
        std::uint8_t minute = 0;     // 60
        std::uint8_t hour = 0;       // 61
        std::uint8_t hundredths = 0; // 62
        std::uint8_t second = 0;     // 63
        friend bool operator==(const StartTime&, const StartTime&) = default;
    };

    std::uint8_t structureId = 0;                  // 0: 0x12
    std::uint8_t structureVersion = 0;             // 1
    std::uint16_t structureSize = 0;               // 2
    std::uint32_t userReserved4 = 0;               // 4
    std::uint32_t userReserved8 = 0;               // 8
    std::int16_t defaultTemperature = 0;           // 12: 0.1 degC
    std::int16_t salinity = 0;                     // 14: 0.1 ppt
    std::int16_t soundSpeed = 0;                   // 16: 0.1 m/s
    std::uint16_t numberOfCells = 0;               // 18
    std::uint16_t cellSize = 0;                    // 20: cm
    std::uint16_t blankingDistance = 0;            // 22: cm
    std::uint32_t userReserved24 = 0;              // 24
    std::uint8_t temperatureMode = 0;              // 28: 0 user, 1 measured
    std::uint16_t averagingInterval = 0;           // 29: s, or 0.1 s when pulseCoherentMode != 0
    std::uint16_t profilingInterval = 0;           // 31: same unit rule
    std::uint16_t userReserved33 = 0;              // 33
    std::uint16_t burstMode = 0;                   // 35
    std::uint16_t burstInterval = 0;               // 37: s
    std::uint16_t profilesPerBurst = 0;            // 39
    std::uint8_t coordinateSystem = 0;             // 41: 0 Beam, 1 XYZ, 2 ENU
    std::uint8_t outputMode = 0;                   // 42
    std::uint8_t userReserved43 = 0;               // 43
    std::uint8_t recorderEnabled = 0;              // 44
    std::uint8_t userReserved45 = 0;               // 45
    std::uint8_t userReserved46 = 0;               // 46
    std::array<char, 9> deploymentName{};          // 47: NUL-terminated
    StartDate startDate;                           // 56
    StartTime startTime;                           // 60
    std::array<char, 60> comment1{};               // 64
    std::array<char, 60> comment2{};               // 124
    std::array<char, 60> comment3{};               // 184
    std::uint8_t userByte244 = 0;                  // 244
    std::uint8_t userByte245 = 0;                  // 245: 0, 1 or 2
    std::array<std::uint8_t, 2> userReserved246{}; // 246
    std::uint8_t waveInterval = 0;                 // 248: profiles between wave series, 0 = none
    std::uint8_t waveOptions = 0;       // 249: bits 2-3 rate code, bits 4-5 wave type - 1
    std::uint16_t waveSamples = 0;      // 250
    std::uint8_t waveEnabled = 0;       // 252
    std::uint8_t userByte253 = 0;       // 253
    std::uint8_t pulseCoherentMode = 0; // 254
    std::uint8_t userReserved255 = 0;   // 255

    friend bool operator==(const UserSetup&, const UserSetup&) = default;
};

// Exact byte image: every field, reserved ones included, at its offset.
std::array<std::uint8_t, kUserSetupSize> Encode(const UserSetup& setup);

// Field-by-field reading of a block already known to have the held size; no checks. For bytes
// the program built itself (default copies); received bytes go through the checking decoder.
UserSetup ReadUserSetup(std::span<const std::uint8_t, kUserSetupSize> bytes);

// Exact inverse of Encode. Refuses a block that is not 256 bytes or whose structureId is not
// 0x12. Nothing else is checked: a received UserSetup is used as it is, and its values are
// judged later by the planner's own validation (no field of it indexes a table unchecked).
DecodeResult<UserSetup> DecodeUserSetup(std::span<const std::uint8_t> bytes);

} // namespace qpx::model
