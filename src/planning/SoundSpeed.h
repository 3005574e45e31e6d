#pragma once

namespace qpx::planning {

// Speed of sound in sea water, m/s, from salinity (ppt), temperature (degC) and depth (m).
// Inputs are single precision as the planner holds them; the arithmetic is double.
double SoundSpeed(float salinity, float temperature, float depth);

} // namespace qpx::planning
