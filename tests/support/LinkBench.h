#pragma once

#include "link/Link.h"
#include "link/Port.h"
#include "link/VirtualClock.h"
#include "support/RecordingMessageSink.h"
#include "support/ScriptedDevice.h"
#include "support/TempDir.h"

#include <memory>

namespace qpx::test {

// A link to a scripted device on a virtual clock, logging into a fresh folder.
struct LinkBench {
    link::VirtualClock clock;
    // Owned by the port (as every backend is); kept by reference for scripting and checks.
    ScriptedDevice& device = *new ScriptedDevice(clock);
    link::Port port{std::unique_ptr<link::PortDevice>(&device), clock};
    RecordingMessageSink messages;
    TempDir logDir;
    link::Link link{port, messages, logDir.path()};

    std::string log() const { return logDir.read("LogFile"); }
};

} // namespace qpx::test
