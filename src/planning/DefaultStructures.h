#pragma once

#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"

#include <cstdint>
#include <span>

namespace qpx::planning {

// The structures an instrument would have sent, for planning with none attached (and for the
// simulator). Each builder zero-fills the whole buffer, then writes its defaults.
// A frequency index outside 0..7 is clamped to the nearest row, and systemFrequency holds the
// clamped value, so a default copy is always one the decoders accept.
void DefaultSystemConfiguration(std::span<std::uint8_t, 96> buffer, int frequencyIndex);
void DefaultUserSetup(std::span<std::uint8_t, 256> buffer, int frequencyIndex);
void DefaultOperationConfiguration(std::span<std::uint8_t, 86> buffer, int frequencyIndex);

// Changes only the wave fields of a UserSetup: waveInterval 4, waveSamples 1024, waveEnabled 1,
// and the wave type bits of waveOptions from the WavesOption (bits 0xC1 are kept).
void ApplyWavesOption(std::span<std::uint8_t, 256> userSetup, int wavesIndex);

// Typed forms of the same builders.
model::SystemConfiguration MakeDefaultSystemConfiguration(int frequencyIndex);
model::UserSetup MakeDefaultUserSetup(int frequencyIndex);
model::OperationConfiguration MakeDefaultOperationConfiguration(int frequencyIndex);
void ApplyWavesOption(model::UserSetup& userSetup, int wavesIndex);

} // namespace qpx::planning
