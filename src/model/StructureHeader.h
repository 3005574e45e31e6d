#pragma once

#include <cstdint>

namespace qpx::model {

// The first four bytes of every configuration structure.
inline constexpr std::uint8_t kSystemConfigurationId = 0x10;
inline constexpr std::uint8_t kOperationConfigurationId = 0x11;
inline constexpr std::uint8_t kUserSetupId = 0x12;

// Every copy the program builds itself carries this version.
inline constexpr std::uint8_t kBuiltStructureVersion = 2;

} // namespace qpx::model
