#pragma once

#include <string>
#include <string_view>

namespace qpx::test {

// The instrument's deployment output, "YYYY/MM/DD HH:MM:SS Profile N", stamps each line with its
// own clock at the moment it is sent. Recorded in real time that moment lies a few milliseconds
// after the virtual one, now and then across a second's edge, so the stamp is masked as
// "YYYY/MM/DD HH:MM:SS" (the profile numbers stay). tools/record-sessions.sh masks the same way.
std::string MaskDeploymentTimes(std::string_view text);
// The deployment review's and the record name's readings of the computer's clock, masked on
// standard error: "From now", the start warning's "(in ...)" or "(... ago)", the record's UTC
// stamp.
std::string MaskReviewTimes(std::string_view text);

} // namespace qpx::test
