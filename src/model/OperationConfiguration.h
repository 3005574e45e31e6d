#pragma once

#include "model/DecodeResult.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qpx::model {

// Shown when the instrument's operation configuration does not come (or not whole): the download
// and the PC-QPX read-back say the same.
inline constexpr std::string_view kOperationConfigurationFailed =
    "Failed to get the Qpx Operation Configuration";

// Held size; the instrument sends a 64-byte form in which the wide fields are 16 bits.
inline constexpr std::size_t kOperationConfigurationSize = 86;
inline constexpr std::size_t kOperationConfigurationWireSize = 64;

// The sensor operation configuration ("Get OPER") in its held 86-byte form. The comment gives
// the held byte offset, then the received one where it differs.
struct OperationConfiguration {
    std::uint8_t structureId = 0;      // 0: 0x11
    std::uint8_t structureVersion = 0; // 1
    std::uint16_t structureSize = 0;   // 2
    std::uint32_t operReserved4 = 0;   // 4
    std::uint32_t operReserved8 = 0;   // 8
    std::uint16_t operWord12 = 0;      // 12
    std::uint16_t operWord14 = 0;      // 14
    std::uint16_t operWord16 = 0;      // 16
    std::uint16_t operWord18 = 0;      // 18
    std::uint16_t operWord20 = 0;      // 20
    std::uint16_t operWord22 = 0;      // 22
    std::uint16_t operWord24 = 0;      // 24
    std::uint16_t operWord26 = 0;      // 26
    std::uint16_t operWord28 = 0;      // 28
    std::uint16_t operWord30 = 0;      // 30
    std::uint16_t operWord32 = 0;      // 32
    std::uint16_t operWord34 = 0;      // 34
    std::uint16_t operWord36 = 0;      // 36
    std::uint8_t operByte38 = 0;       // 38
    std::uint32_t operLong39 = 0;      // 39 (received 39, u16)
    std::uint32_t pulseLength = 0;     // 43 (41, u16): cm
    std::uint32_t operLong47 = 0;      // 47 (43, u16)
    std::uint32_t userPulseLag = 0;    // 51 (45, u16): cm
    std::uint32_t systemLag = 0;       // 55 (47, u16): cm, taken only from newer firmware
    std::uint8_t operByte59 = 0;       // 59 (49, u8): minimum correlation level, %
    std::uint32_t operLong60 = 0;      // 60 (50, u16)
    std::uint32_t operLong64 = 0;      // 64 (52, u16)
    std::uint32_t operLong68 = 0;      // 68 (54, u16)
    std::uint32_t operLong72 = 0;      // 72 (56, u16)
    std::uint32_t userResLag = 0;      // 76 (58, u16): cm
    std::uint32_t systemResLag = 0;    // 80 (60, u16): cm, taken only from newer firmware
    std::uint16_t operWord84 = 0;      // 84 (62, u16)

    friend bool operator==(const OperationConfiguration&, const OperationConfiguration&) = default;
};

// systemLag and systemResLag are taken from a received block only when this version value is
// reached. The value used is the cpuSoftwareVersion (version x 10) of the SystemConfiguration
// downloaded just before the OperationConfiguration, i.e. CPU firmware 1.6 or later.
inline constexpr std::uint8_t kSystemLagMinimumVersion = 16;

// Exact byte image of the held form, every field at its held offset.
std::array<std::uint8_t, kOperationConfigurationSize> Encode(const OperationConfiguration& oper);

// Field-by-field reading of a block already known to have the held size; no checks. For bytes
// the program built itself (default copies); received bytes go through the checking decoder.
OperationConfiguration
ReadOperationConfiguration(std::span<const std::uint8_t, kOperationConfigurationSize> bytes);

// Exact inverse of Encode (held form). Refuses a block that is not 86 bytes or whose
// structureId is not 0x11.
DecodeResult<OperationConfiguration>
DecodeOperationConfiguration(std::span<const std::uint8_t> bytes);

// The download widening: exactly 64 received bytes with structureId 0x11 -> held form. Starts
// from all zeros; each received 16-bit value lands in the low half of its 32-bit field (taken
// unsigned, so 0xFFFF is 65535). systemLag and systemResLag stay 0 unless versionValue (see
// kSystemLagMinimumVersion) is 16 or more.
DecodeResult<OperationConfiguration>
WidenOperationConfiguration(std::span<const std::uint8_t> received, std::uint8_t versionValue);

// The inverse, as an instrument sends it: the wide fields keep only their low 16 bits.
std::array<std::uint8_t, kOperationConfigurationWireSize>
NarrowOperationConfiguration(const OperationConfiguration& oper);

} // namespace qpx::model
