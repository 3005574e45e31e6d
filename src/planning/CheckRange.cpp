#include "planning/CheckRange.h"

namespace qpx::planning {

bool CheckRange(float& value, float min, float max, float tolerance, bool metric) {
    if (!metric && min - tolerance < value && value < min) {
        value = min;
        return true;
    }
    if (!metric && max < value && value < max + tolerance) {
        value = max;
        return true;
    }
    return min <= value && value <= max;
}

} // namespace qpx::planning
