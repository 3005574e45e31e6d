#include "link/LogLocation.h"

#include "link/LogFile.h"

#include <system_error>

namespace qpx::link {
namespace {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

bool CanWriteLogFile(const std::filesystem::path& directory) {
    LogFile log(directory);
    std::error_code error;
    const bool existed = std::filesystem::exists(log.path(), error);
    if (!log.open()) {
        return false;
    }
    log.close();
    if (!existed) {
        std::filesystem::remove(log.path(), error);
    }
    return true;
}

LogLocation ChooseLogLocation(const std::optional<std::filesystem::path>& current,
                              const std::optional<std::filesystem::path>& perUser) {
    if (current && CanWriteLogFile(*current)) {
        return {current, {}};
    }
    if (perUser) {
        std::error_code error;
        std::filesystem::create_directories(*perUser, error);
        if (CanWriteLogFile(*perUser)) {
            return {perUser, "\"LogFile\" is written in " + PathText(*perUser) +
                                 ": the current folder cannot be written."};
        }
    }
    return {std::nullopt, "\"LogFile\" cannot be written: neither the current folder nor a "
                          "per-user folder can be written, so nothing is logged."};
}

} // namespace qpx::link
