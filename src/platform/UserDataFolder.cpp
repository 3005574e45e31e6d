#include "platform/UserDataFolder.h"

#include <cstdlib>

namespace qpx::platform {
namespace {

const char* const kFolderName = "DeployQpx";

// An environment value as a path; nothing when unset or empty. Windows reads the wide value:
// the narrow one is in the ANSI code page and loses a name such as "Jörg".
std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
#ifdef _WIN32
    const std::filesystem::path wideName(name);
    const wchar_t* value = _wgetenv(wideName.c_str());
#else
    const char* value = std::getenv(name);
#endif
    if (value == nullptr || *value == 0) {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}

} // namespace

std::optional<std::filesystem::path> UserDataFolder() {
#if defined(_WIN32)
    if (auto base = EnvironmentPath("LOCALAPPDATA")) {
        return *base / kFolderName;
    }
    return std::nullopt;
#elif defined(__APPLE__)
    if (auto home = EnvironmentPath("HOME")) {
        return *home / "Library" / "Application Support" / kFolderName;
    }
    return std::nullopt;
#else
    // The XDG rule: a relative XDG_DATA_HOME is invalid and ignored.
    if (auto base = EnvironmentPath("XDG_DATA_HOME"); base && base->is_absolute()) {
        return *base / kFolderName;
    }
    if (auto home = EnvironmentPath("HOME")) {
        return *home / ".local" / "share" / kFolderName;
    }
    return std::nullopt;
#endif
}

} // namespace qpx::platform
