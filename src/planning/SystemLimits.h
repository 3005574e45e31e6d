#pragma once

#include "model/FieldTexts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qpx::planning {

// Row number of every per-frequency table: the SystemConfiguration's systemFrequency.
using FrequencyIndex = int;
inline constexpr int kFrequencyCount = 8;

// Per-frequency limits. Distances are metres in single precision: compare against these stored
// floats, not against the decimals they were written from. The max blanking is not stored; it
// is always max range - min cell size (see ProfileLimits).
struct SystemLimits {
    float frequencyKHz;
    std::string_view label;       // as the hardware view shows it
    std::int32_t rangeFigure;     // m; readers use the low 16 bits
    std::int32_t defaultCells;    // readers use the low 16 bits
    std::int32_t defaultCellSize; // cm; readers use the low 16 bits
    float minBlanking;
    float maxRange;
    float minCellSize;
    float maxCellSize;
    // Pulse-coherent (PC-QPX) columns, used when pulseCoherentMode != 0.
    float pcMinBlanking;
    float pcMaxRange;
    float pcMinCellSize;
    float pcMaxCellSize;
};

// clang-format off
//     kHz   label                     range cells  cm  blank  range   cell  maxcell | PC-QPX: blank range cell maxcell
inline constexpr std::array<SystemLimits, kFrequencyCount> kSystemLimits{{
    {3000.0f, model::kFrequencyTexts[0],  10, 12,  50, 0.2f,  10.0f, 0.15f,  2.0f, 0.02f,  5.0f, 0.01f,  2.0f},
    {1500.0f, model::kFrequencyTexts[1],  30, 20, 100, 0.4f,  30.0f, 0.25f,  4.0f, 0.05f, 10.0f, 0.02f,  4.0f},
    { 750.0f, model::kFrequencyTexts[2],  80, 30, 200, 0.8f,  80.0f,  0.5f,  8.0f,  0.1f, 20.0f,  0.1f,  8.0f},
    { 500.0f, model::kFrequencyTexts[3], 100, 30, 400, 1.0f, 130.0f,  1.0f, 12.0f,  0.2f, 30.0f,  0.2f, 12.0f},
    { 250.0f, model::kFrequencyTexts[4], 150, 30, 400, 1.5f, 200.0f,  1.0f, 20.0f,  0.5f, 60.0f,  0.5f, 20.0f},
    {1000.0f, model::kFrequencyTexts[5],  45, 25, 100, 0.5f,  45.0f, 0.25f,  5.0f, 0.07f, 14.0f, 0.04f,  5.0f},
    {5000.0f, model::kFrequencyTexts[6],   7, 12,  20, 0.1f,   8.0f, 0.08f,  1.0f,  0.5f, 60.0f,  0.5f, 20.0f},
    { 125.0f, model::kFrequencyTexts[7], 300, 30, 800, 4.0f, 500.0f,  4.0f, 25.0f,  0.5f, 60.0f,  0.5f, 20.0f},
}};
// clang-format on

// The row for a frequency index. The decoders refuse a structure with systemFrequency outside
// 0..7; an index that still arrives out of range (a hand-built structure) is clamped to the
// nearest row rather than read past the table.
const SystemLimits& SystemLimitsFor(int frequencyIndex);

// The limits a profile setting is judged against, metres.
struct ProfileBounds {
    float minBlanking;
    float maxBlanking; // max range - min cell size, computed in float
    float maxRange;
    float minCellSize;
    float maxCellSize;
};

// From the PC-QPX columns when pulseCoherentMode != 0, else the standard ones.
ProfileBounds ProfileLimits(int systemFrequency, int pulseCoherentMode);

// Battery packs, by the position in the planner's Battery Pack Type list. Nominal energy in
// watt-hours is ratingA x ratingB.
struct BatteryRating {
    std::string_view listText;
    float ratingA;
    float ratingB;
};
inline constexpr std::array<BatteryRating, 2> kBatteryRatings{{
    {"     Alkaline", 18.0f, 42.0f},
    {"      Lithium", 21.6f, 84.0f},
}};
// Clamped like SystemLimitsFor.
const BatteryRating& BatteryRatingFor(int batteryIndex);

// Power draw while pinging, watts: the 1500 kHz head draws less than every other one.
float PingPower(int systemFrequency);

// Extra draw while a wave series is recorded, watts.
inline constexpr float kWaveSamplingPower = 1.5f;

// Wave sample rates in Hz by rate index (bits 2-3 of waveOptions).
inline constexpr std::array<std::int16_t, 3> kWaveSampleRates{1, 2, 4};
// Any index outside the table counts as 1 Hz, so a rate can always divide a length.
std::int16_t WaveSampleRate(int rateIndex);

// Command words of the wave types 1 (P series) and 2 (PUV series), in that order.
inline constexpr std::array<std::string_view, 2> kWaveTypeCommandWords{"P_SERIES", "PUV_SERIES"};
// Only types 1 and 2 have a word; any other type gives nothing.
std::optional<std::string_view> WaveTypeCommandWord(int waveType);

} // namespace qpx::planning
