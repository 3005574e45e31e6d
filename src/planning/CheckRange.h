#pragma once

namespace qpx::planning {

// Tolerance of the planner's length checks: about the rounding a feet-to-metres conversion of a
// two-decimal foot value leaves behind.
inline constexpr float kPlannerTolerance = 0.0001f;

// Range test shared by the planner, the advanced settings and the PC-QPX settings. In English
// units (metric false) a value less than `tolerance` outside a bound is moved onto that bound and
// accepted, so that a limit typed in feet is not lost to the conversion. In metric units nothing
// is moved. A NaN is always rejected.
bool CheckRange(float& value, float min, float max, float tolerance, bool metric);

} // namespace qpx::planning
