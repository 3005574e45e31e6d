#include "operations/DeploymentDisplay.h"

#include "model/TextFormat.h"

#include <array>
#include <cstdint>

namespace qpx::operations {
namespace {

// A PC-QPX holds its intervals in tenths of a second, as the planner and the upload treat them;
// the text shows seconds either way, with the tenth only when there is one.
std::string IntervalText(const model::UserSetup& user) {
    const unsigned interval = user.profilingInterval;
    if (user.pulseCoherentMode == 0) {
        return model::FormatText("Time between Profiles: %d seconds", static_cast<int>(interval));
    }
    if (interval % 10 == 0) {
        return model::FormatText("Time between Profiles: %u seconds", interval / 10);
    }
    return model::FormatText("Time between Profiles: %u.%u seconds", interval / 10, interval % 10);
}

} // namespace

DeploymentDisplay::DeploymentDisplay(link::Port& port, const model::UserSetup& user,
                                     TextSink output)
    : port_(&port), intervalText_(IntervalText(user)), output_(std::move(output)) {}

DeploymentDisplay::~DeploymentDisplay() {
    close();
}

void DeploymentDisplay::setOutput(TextSink output) {
    output_ = std::move(output);
    if (output_ && !received_.empty()) {
        output_(received_);
    }
}

void DeploymentDisplay::showReceived(std::string_view text) {
    received_.append(text);
    if (output_ && !text.empty()) {
        output_(text);
    }
}

void DeploymentDisplay::tick() {
    if (port_ == nullptr || !port_->isOpen() || port_->rxCount() <= 0) {
        return;
    }
    std::array<std::uint8_t, 1024> buffer{};
    ReadBytesTimed(*port_, buffer, 1023, 100, [this](std::string_view piece) {
        received_.append(piece);
        if (output_) {
            output_(piece);
        }
    });
}

void DeploymentDisplay::close() {
    if (port_ == nullptr) {
        return;
    }
    // Let go of the port before the pause: whatever runs during it finds the display closed
    // instead of closing the port a second time.
    link::Port* port = port_;
    port_ = nullptr;
    port->clock().sleepMs(200);
    port->close();
}

} // namespace qpx::operations
