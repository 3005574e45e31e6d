#pragma once

#include "link/LogLocation.h"

namespace qpx::platform {

// Where a program's "LogFile" goes: the current folder when it can be written, else the user's
// data folder (UserDataFolder), else nowhere; see link::ChooseLogLocation for the notice.
link::LogLocation ChooseProgramLogLocation();

} // namespace qpx::platform
