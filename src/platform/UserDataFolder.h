#pragma once

#include <filesystem>
#include <optional>

namespace qpx::platform {

// The per-user folder for the program's own files: %LOCALAPPDATA%\DeployQpx on Windows,
// ~/Library/Application Support/DeployQpx on macOS, $XDG_DATA_HOME/DeployQpx or
// ~/.local/share/DeployQpx elsewhere. Nothing when the environment names no such folder.
std::optional<std::filesystem::path> UserDataFolder();

} // namespace qpx::platform
