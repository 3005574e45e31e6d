#pragma once

#include <cstdint>
#include <string>

namespace qpx::model {

// Stored integers to the values the views show. Single-precision results where the views show
// floats, double where they show up to fifteen digits (the pressure calibration).

float SoftwareVersion(std::uint8_t version);                      // x 0.1
float SlantAngleDegrees(std::int16_t slantAngle);                 // x 0.1 degree
double PressureOffsetDbar(std::int32_t pressureOffset);           // x 1e-5 dbar
double PressureScaleDbarPerCount(std::int32_t pressureScale);     // x 1e-8 dbar per count
double PressureScale2PdbarPerCount2(std::int16_t pressureScale2); // unscaled, pdbar per count^2
// cellSize, blankingDistance, pulseLength and the four lags are all held in centimetres.
float CentimetresToMetres(std::uint32_t centimetres);
// defaultTemperature (degC) and salinity (ppt) are held in tenths.
float TenthsToUnits(std::int16_t tenths);
// averagingInterval and profilingInterval: seconds, or tenths of a second in pulse-coherent mode.
float IntervalSeconds(std::uint16_t interval, std::uint8_t pulseCoherentMode);
// A transformation matrix element is a fixed-point value with 10 fractional bits.
double MatrixElement(std::int16_t stored);
// As the hardware view shows it: "%8.3f", e.g. 1024 -> "   1.000", -724 -> "  -0.707".
std::string MatrixElementText(std::int16_t stored);

} // namespace qpx::model
