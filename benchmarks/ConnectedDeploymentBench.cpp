// How long the whole connected deployment takes on the simulated line, against the least it
// could take: the pauses the sequence prescribes plus the time its bytes spend on the line. The
// gap is waiting for replies that faster reply detection could remove.

#include "PauseCountingClock.h"
#include "link/Link.h"
#include "link/MessageSink.h"
#include "link/ProgressView.h"
#include "link/VirtualClock.h"
#include "model/TextFormat.h"
#include "operations/ConnectedSetup.h"
#include "planning/DeploymentPlanner.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "sim/SimulatedPortDevice.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace qpx;

class QuietMessages : public link::MessageSink {
public:
    void showMessage(std::string_view text) override { last = text; }
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
    void showInformation(std::string_view, std::string_view) override {}
    std::string last;
};

class Views : public link::ProgressViewFactory {
public:
    std::unique_ptr<link::ProgressView> open() override {
        return std::make_unique<link::RecordingProgressView>();
    }
};

constexpr int kDisplayTicks = 5;

// Deploys what the instrument holds with one setting changed, then watches the output for a
// second.
class HeadlessFrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    explicit HeadlessFrontEnd(link::Clock& clock) : clock_(clock) {}
    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& in,
                                                     link::Link&) override {
        planning::DeploymentPlanner planner;
        planner.open(in);
        auto plan = planner.deploy().value;
        if (plan) {
            plan->cells += 1;
        }
        return plan;
    }
    void runDisplay(operations::DeploymentDisplay& display) override {
        for (int i = 0; i < kDisplayTicks; ++i) {
            clock_.sleepMs(operations::DeploymentDisplay::kTickMs);
            display.tick();
        }
    }

private:
    link::Clock& clock_;
};

using bench::PauseCountingClock;

void Run(int baud) {
    sim::Scenario scenario = sim::QpxScenario();
    scenario.baudRate = baud;
    link::VirtualClock clock;
    sim::Instrument instrument(scenario);
    sim::LineRecord record;
    PauseCountingClock pauses(clock);
    link::Port port(std::make_unique<sim::SimulatedPortDevice>(instrument, clock, &record), pauses);
    QuietMessages messages;
    Views views;
    HeadlessFrontEnd front(pauses);
    link::Link link{port, messages, std::nullopt};
    const std::int64_t start = clock.nowMs();
    const auto outcome = operations::RunConnectedSetup(link, views, front, 1);
    const std::int64_t took = clock.nowMs() - start;
    // Every byte the host sends comes back as its echo before the next one goes; the replies
    // (mostly the three structures and the recorder blocks) add the rest.
    const double byteMs = 10000.0 / baud;
    const auto written = static_cast<double>(record.written.size());
    const double lineMs = (2.0 * written + 96 + 256 + 64 + 84 + 200) * byteMs;
    const double floorMs = static_cast<double>(pauses.pausedMs) + lineMs;
    std::fputs(
        model::FormatText("%6d baud: outcome %d, %lld ms virtual, floor %.0f ms "
                          "(pauses %lld + line %.0f), gap %.0f ms%s%s\n",
                          baud, static_cast<int>(outcome), static_cast<long long>(took), floorMs,
                          static_cast<long long>(pauses.pausedMs), lineMs,
                          static_cast<double>(took) - floorMs,
                          messages.last.empty() ? "" : ", last message: ", messages.last.c_str())
            .c_str(),
        stdout);
}

} // namespace

int main() {
    Run(9600);
    Run(115200);
    return 0;
}
