#pragma once

#include "cli/CliEnvironment.h"

#include <string>
#include <vector>

namespace qpx::cli {

// qpxctl: parses the command line (without the program name) and runs the command. Returns the
// exit code: 0 success, 1 refused by a check or the user, 2 wrong usage, 3 link or instrument
// failure. Help goes to env.out with code 0.
int RunQpxCtl(const std::vector<std::string>& args, CliEnvironment& env);

} // namespace qpx::cli
