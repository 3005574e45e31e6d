#pragma once

#include "link/Port.h"
#include "model/UserSetup.h"
#include "operations/Recorder.h"

#include <string>

namespace qpx::operations {

// The model of the "Deployment Display" window: the instrument's live output after "deploy",
// collected until the user closes the window. The front end calls tick() from a 200 ms timer.
class DeploymentDisplay {
public:
    static constexpr int kTickMs = 200;

    // Takes over `port` until close(); `output`, when given, is handed every piece received.
    DeploymentDisplay(link::Port& port, const model::UserSetup& user, TextSink output = {});
    ~DeploymentDisplay();
    DeploymentDisplay(const DeploymentDisplay&) = delete;
    DeploymentDisplay& operator=(const DeploymentDisplay&) = delete;

    // "Time between Profiles: %d seconds" with the profiling interval in seconds (a PC-QPX
    // stores tenths: 605 shows as 60.5).
    const std::string& intervalText() const { return intervalText_; }
    // Everything received so far, as text.
    const std::string& received() const { return received_; }
    // A new sink is first handed what was received before it was set.
    void setOutput(TextSink output);
    // Output read before the display opened (the acknowledgement of "deploy"), shown first.
    void showReceived(std::string_view text);

    // One timer tick: reads what is waiting (up to 1023 bytes within 100 ms).
    void tick();
    // Pauses 200 ms so that a last tick is over, then closes the port. Later calls do nothing.
    void close();
    bool holdsPort() const { return port_ != nullptr; }

private:
    link::Port* port_;
    std::string intervalText_;
    std::string received_;
    TextSink output_;
};

} // namespace qpx::operations
