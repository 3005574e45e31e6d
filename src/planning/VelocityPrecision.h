#pragma once

#include "planning/DeploymentPlanner.h"

#include <optional>
#include <string>

// A labelled estimate of the velocity precision a plan buys: instrument noise only, from a
// published narrowband model (the measured variance being about twice the theoretical bound, an
// empirical factor 1.4 on the standard deviation):
//   radial single ping   sigma_r = 1.4 c lambda / (8 pi L) sqrt(1 + 36/SNR + 30/SNR^2)
//   horizontal, 3 beams  sigma_h = sigma_r sqrt(2/3) / sin(slant)   (120 degrees apart)
//   horizontal, 4 beams  sigma_h = sigma_r / (sqrt(2) sin(slant))   (Janus pairs)
//   averaged             sigma_h / sqrt(N)
// with lambda = c / f and L = cell size / cos(slant), the cell's length along the beam.
namespace qpx::planning {

struct PrecisionInputs {
    double soundSpeed = 0.0;   // m/s
    double frequencyHz = 0.0;  // acoustic frequency
    double cellSize = 0.0;     // m, vertical
    double slantDegrees = 0.0; // beam angle from the vertical
    int beams = 0;             // 3 or 4
    double pings = 0.0;        // averaged per profile
    double snr = 1000.0;       // 30 dB
};

struct PrecisionEstimate {
    double radialSinglePing = 0.0; // m/s
    double horizontal = 0.0;       // m/s, averaged over the pings
};

// Nothing for inputs the model cannot judge: a speed, frequency, cell size, ping count or
// signal-to-noise ratio that is not positive and finite, a slant angle outside (0, 90) degrees,
// or a beam count other than 3 or 4.
std::optional<PrecisionEstimate> EstimatePrecision(const PrecisionInputs& inputs);

inline constexpr double kDefaultPingRate = 1.0; // pings per second: the instrument does not say

// The model's inputs for the plan: the sound speed of the advanced settings' temperature and
// salinity, the frequency row's acoustic frequency, the cell size in metres, the instrument's
// slant angle and beams, and averaging interval x `pingRate` pings. Nothing for a PC-QPX (the
// model does not apply to pulse-coherent profiling), for a frequency index with no row of its
// own, or where EstimatePrecision gives nothing.
std::optional<PrecisionInputs> PlannedPrecisionInputs(const DeploymentPlanner& planner,
                                                      double pingRate = kDefaultPingRate);
std::optional<PrecisionEstimate> PlannedPrecision(const DeploymentPlanner& planner,
                                                  double pingRate = kDefaultPingRate);

// The estimate as the views and qpxctl show it: the horizontal precision and the single-ping
// radial figure (cm/s, or ft/s in English units), or why there is none.
std::string PrecisionText(const DeploymentPlanner& planner, double pingRate = kDefaultPingRate);
// What the estimate is computed from: "Sound speed 1500.0 m/s, 1500 kHz, 3 beams at 25.0 degrees,
// 0.50 m cells (0.55 m along the beam), 120 pings"; empty where there is no estimate.
std::string PrecisionInputsText(const DeploymentPlanner& planner,
                                double pingRate = kDefaultPingRate);
// What the estimate assumes, in words.
std::string PrecisionAssumptions(double pingRate = kDefaultPingRate);

} // namespace qpx::planning
