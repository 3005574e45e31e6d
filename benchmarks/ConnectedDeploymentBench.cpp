// How long the whole connected deployment takes on the simulated line, against the least it
// could take: the pauses the sequence prescribes plus the time its bytes spend on the line. The
// gap is waiting for replies that faster reply detection could remove.

#include "link/Link.h"
#include "link/MessageSink.h"
#include "link/ProgressView.h"
#include "model/TextFormat.h"
#include "operations/ConnectedSetup.h"
#include "planning/DeploymentPlanner.h"
#include "sim/Scenario.h"
#include "sim/SimulatedLine.h"

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
    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& in) override {
        planning::DeploymentPlanner planner;
        planner.open(in);
        auto plan = planner.deploy().plan;
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

// The pauses of the sequence itself: 300 ms after each of the six download steps, 300 ms after
// the upload's wake-up, 150 ms after each of its five commands (start time, the changed cell
// count, "of ascii", "AutoSleep on", "SaveSetup") and once more after "SaveSetup", the display's
// ticks and the 200 ms before it closes.
constexpr std::int64_t kPrescribedPauseMs =
    6 * 300 + 300 + 5 * 150 + 150 + kDisplayTicks * 200 + 200;

void Run(int baud) {
    sim::Scenario scenario = sim::QpxScenario();
    scenario.baudRate = baud;
    sim::SimulatedLine line(scenario);
    QuietMessages messages;
    Views views;
    HeadlessFrontEnd front(line.clock());
    link::Link link = line.link(messages);
    const std::int64_t start = line.clock().nowMs();
    const auto outcome = operations::RunConnectedSetup(link, views, front, 1);
    const std::int64_t took = line.clock().nowMs() - start;
    // Every byte the host sends comes back as its echo before the next one goes; the replies
    // (mostly the three structures and the recorder blocks) add roughly as much again.
    const double byteMs = 10000.0 / baud;
    const auto written = static_cast<double>(line.record().written.size());
    const double lineMs = (2.0 * written + 96 + 256 + 64 + 84 + 200) * byteMs;
    const double floorMs = static_cast<double>(kPrescribedPauseMs) + lineMs;
    std::fputs(
        model::FormatText("%6d baud: outcome %d, %lld ms virtual, floor %.0f ms "
                          "(pauses %lld + line %.0f), gap %.0f ms%s%s\n",
                          baud, static_cast<int>(outcome), static_cast<long long>(took), floorMs,
                          static_cast<long long>(kPrescribedPauseMs), lineMs,
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
