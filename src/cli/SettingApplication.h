#pragma once

#include "cli/SettingArgument.h"
#include "operations/SettingApplication.h"

namespace qpx::cli {

using operations::ApplySetting;
using operations::SettingOutcome;

} // namespace qpx::cli
