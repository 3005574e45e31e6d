#pragma once

#include "link/MessageSink.h"
#include "link/Port.h"

#include <filesystem>
#include <optional>

namespace qpx::link {

// What every exchange with the instrument needs besides the port itself: where failures are
// reported and where "LogFile" lives. No globals: the front end builds one and lends it out.
struct Link {
    Port& port;
    MessageSink& messages;
    // Folder of "LogFile"; without one nothing is logged.
    std::optional<std::filesystem::path> logDirectory;

    Clock& clock() { return port.clock(); }
};

} // namespace qpx::link
