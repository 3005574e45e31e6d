#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qpx::link {

// Where "LogFile" goes for a run of a program, and the one line that says so when it is not the
// current folder.
struct LogLocation {
    std::optional<std::filesystem::path> directory; // none: nothing can be logged
    std::string notice; // empty when "LogFile" stays in the current folder
};

// The current folder when "LogFile" can be written there (as always); otherwise the per-user
// folder, created when missing; otherwise none. A program started from the Start menu usually
// has Program Files as its current folder: its log then lands in the user's folder instead of
// being silently off. Probing leaves no empty "LogFile" behind.
LogLocation ChooseLogLocation(const std::optional<std::filesystem::path>& current,
                              const std::optional<std::filesystem::path>& perUser);

// True when "LogFile" can be opened for appending in `directory`.
bool CanWriteLogFile(const std::filesystem::path& directory);

} // namespace qpx::link
