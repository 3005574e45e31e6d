#include "planning/SoundSpeed.h"

namespace qpx::planning {

double SoundSpeed(float salinity, float temperature, float depth) {
    const double t = temperature;
    const double s = salinity;
    const double z = depth;
    return 1449.2 + t * (4.6 + t * (-0.055 + 0.00029 * t)) + (1.34 - 0.01 * t) * (s - 35.0) +
           0.016 * z;
}

} // namespace qpx::planning
