#include "platform/ProgramLogLocation.h"

#include "platform/UserDataFolder.h"

#include <system_error>

namespace qpx::platform {

link::LogLocation ChooseProgramLogLocation() {
    std::error_code error;
    std::optional<std::filesystem::path> current = std::filesystem::current_path(error);
    if (error) {
        current.reset();
    }
    return link::ChooseLogLocation(current, UserDataFolder());
}

} // namespace qpx::platform
