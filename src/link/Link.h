#pragma once

#include "link/CommandJournal.h"
#include "link/MessageSink.h"
#include "link/Port.h"

#include <filesystem>
#include <optional>
#include <string>

namespace qpx::link {

// What the last "Ver" answered and what it was taken for, kept for the deployment record.
struct InstrumentIdentity {
    std::string versionText;
    int systemType = 0; // a SystemType; 0 before any answer
};

// What every exchange with the instrument needs besides the port itself: where failures are
// reported and where "LogFile" lives. No globals: the front end builds one and lends it out.
struct Link {
    Port& port;
    MessageSink& messages;
    // Folder of "LogFile"; without one nothing is logged.
    std::optional<std::filesystem::path> logDirectory;
    // Told of every command line the echoed exchange sends, and how it went; none: nobody asks.
    CommandJournal* journal = nullptr;
    InstrumentIdentity identity{};

    Clock& clock() { return port.clock(); }
};

} // namespace qpx::link
