#pragma once

#include <array>
#include <string>

namespace qpx::instrument {

// The three user-set PC-QPX values as an accepted update sends them, metres.
struct PulseSettings {
    float pulseLength = 0.0f;
    float userPulseLag = 0.0f;
    float userResLag = 0.0f; // 0 switches ambiguity resolution off

    friend bool operator==(const PulseSettings&, const PulseSettings&) = default;
};

// The command lines that carry them, in sending order: "pl %6.2f", "pg %6.2f", "rpg %6.2f".
std::array<std::string, 3> PulseSettingCommands(const PulseSettings& settings);

} // namespace qpx::instrument
