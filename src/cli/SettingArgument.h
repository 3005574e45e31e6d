#pragma once

#include "operations/SettingArgument.h"

// The command line's NAME=VALUE settings are the core's setting arguments, shared with plan files.
namespace qpx::cli {

using operations::ParseCalendarText;
using operations::ParseSettingArgument;
using operations::SettingArgument;
using operations::SettingChoices;
using operations::SettingKey;
using operations::SettingName;
using operations::SettingParse;

} // namespace qpx::cli
