#pragma once

#include "link/Clock.h"
#include "operations/ChangeDetection.h"

#include <string>
#include <vector>

namespace qpx::operations {

// The command lines the upload would send after its wake-up, in sending order and without their
// CR: the deployment name when changed, the start date and time (always), "Comments" and the
// three comment lines when changed, then the marked settings and the three that always end it.
std::vector<std::string> UploadCommandLines(const ChangeDetection& changes,
                                            const link::CalendarTime& start);

} // namespace qpx::operations
