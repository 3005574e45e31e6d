#pragma once

#include <filesystem>
#include <optional>

namespace qpx::ui {

// The folder of the running program, taken from Qt's text as a path of the platform's own form:
// on Windows a narrow std::string would be read in the ANSI code page, and a program installed
// under a folder such as C:\Users\Jörg\Apps would never find its "Menu".
std::filesystem::path ProgramDirectory();

// The program the exit step hands over to.
inline constexpr const char* kMenuProgramName = "Menu";

// "Menu" with the platform's executable suffix, in `programDirectory` only: a bare name would be
// looked up in the current directory first, and a "Menu" in whatever folder the user started from
// would run. Nothing when it is not a regular file there (or, outside Windows, not executable).
std::optional<std::filesystem::path> FindMenuProgram(const std::filesystem::path& programDirectory);

// Replaces this process by the "Menu" beside the program, with the single argument "Menu".
// Returns only when there is none or it could not be started; the caller then exits normally.
void ChainToMenuProgram(const std::filesystem::path& programDirectory);

} // namespace qpx::ui
