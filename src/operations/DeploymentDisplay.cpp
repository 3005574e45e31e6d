#include "operations/DeploymentDisplay.h"

#include "model/TextFormat.h"

#include <array>
#include <cstdint>

namespace qpx::operations {

DeploymentDisplay::DeploymentDisplay(link::Port& port, const model::UserSetup& user,
                                     TextSink output)
    : port_(&port), intervalText_(model::FormatText("Time between Profiles: %d seconds",
                                                    static_cast<int>(user.profilingInterval))),
      output_(std::move(output)) {}

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
    port_->clock().sleepMs(200);
    port_->close();
    port_ = nullptr;
}

} // namespace qpx::operations
