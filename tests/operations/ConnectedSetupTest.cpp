#include "operations/ConnectedSetup.h"

#include "ScriptedQpx.h"
#include "operations/Connection.h"
#include "planning/DeploymentPlanner.h"
#include "support/SimulatedPortOpener.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::ConnectedSetupOutcome;
using operations::DecodeWavesOption;
using operations::DeploymentDisplay;
using operations::RunConnectedSetup;
using Lines = std::vector<std::string>;

const link::CalendarTime kStart{2001, 7, 4, 9, 5, 0};

// The planner and the display as a test plays them: the plan is what the real planner hands back
// for the downloaded values, then changed by `edit`; the display is ticked on virtual time while
// the instrument sends its output.
class FrontEnd : public operations::ConnectedSetupFrontEnd {
public:
    explicit FrontEnd(ScriptedQpx& qpx) : qpx_(qpx) {}

    std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& in,
                                                     link::Link&) override {
        inputs = in;
        ++plannerShown;
        if (cancel) {
            return std::nullopt;
        }
        planning::DeploymentPlanner planner;
        planner.open(in);
        auto result = planner.deploy();
        EXPECT_FALSE(result.message);
        planning::AcceptedPlan plan = result.value.value_or(planning::AcceptedPlan{});
        plan.start = kStart;
        if (edit) {
            edit(plan);
        }
        return plan;
    }

    void runDisplay(DeploymentDisplay& display) override {
        intervalText = display.intervalText();
        messagesBeforeDisplayClosed = qpx_.messages.entries.size();
        qpx_.device.arriveIn(300, "00001 2001/07/04 09:05:00 12.3\r\n");
        qpx_.device.arriveIn(900, "00002 2001/07/04 09:25:00 12.4\r\n");
        for (int tick = 0; tick < 10; ++tick) {
            qpx_.clock.sleepMs(DeploymentDisplay::kTickMs);
            display.tick();
        }
        shown = display.received();
    }

    bool cancel = false;
    std::function<void(planning::AcceptedPlan&)> edit;
    planning::PlannerInputs inputs;
    int plannerShown = 0;
    std::string intervalText;
    std::string shown;
    std::size_t messagesBeforeDisplayClosed = 0;

private:
    ScriptedQpx& qpx_;
};

const std::string kDownloadLog = "Waking up System............... Success\r\n"
                                 "Get System Configuration....... Success\r\n"
                                 "Get Sensor Operation Config.... Success\r\n"
                                 "Get User Setup................. Success\r\n"
                                 "Get Waves Option............... Success\r\n"
                                 "Get Recorder Settings.......... Success\r\n";

TEST(ConnectedSetup, WholeDeploymentFromDownloadToDisconnect) {
    ScriptedQpx qpx;
    FrontEnd front(qpx);
    front.edit = [](planning::AcceptedPlan& plan) {
        plan.cells = 25;
        plan.advanced.temperatureC = 12.5f;
    };
    EXPECT_EQ(RunConnectedSetup(qpx.link, qpx.views, front, 1), ConnectedSetupOutcome::Deployed);

    EXPECT_EQ(qpx.lines,
              (Lines{"Ver", "Get CONF", "Get OPER", "Get USER", "enablewaves", "bdir", "Ver",
                     "StartDate 2001/07/04", "StartTime 09:05:00", "nc 25", "Temp     12.50",
                     "of ascii", "AutoSleep on", "SaveSetup", "deploy"}));
    ASSERT_EQ(qpx.views.views.size(), 2u);
    const auto& download = qpx.views.views[0];
    EXPECT_EQ(download.text(), kDownloadLog);
    EXPECT_EQ(download.high(), 7);
    EXPECT_EQ(download.position(), 7);
    EXPECT_TRUE(download.succeeded());
    const auto& upload = qpx.views.views[1];
    EXPECT_EQ(upload.text(), "Waking up System............... Success\r\n"
                             "Transmit System Variables..............\r\n"
                             "Update Deployment Start Time... Success\r\n"
                             "Update Number of Cells......... Success\r\n"
                             "Update Default Temperature..... Success\r\n"
                             "Set Output Format.............. Success\r\n"
                             "Set AutoSleep.................. Success\r\n"
                             "Save Setup..................... Success\r\n");
    EXPECT_EQ(upload.high(), 7);
    EXPECT_EQ(qpx.views.destroyed, 2);

    // The planner got what the instrument holds.
    EXPECT_EQ(front.plannerShown, 1);
    EXPECT_EQ(front.inputs.user, qpx.user);
    EXPECT_EQ(front.inputs.system, qpx.system);
    EXPECT_EQ(front.inputs.operation, qpx.operation);
    EXPECT_EQ(front.inputs.wavesOption, 1);
    EXPECT_FALSE(front.inputs.planning);
    EXPECT_EQ(front.inputs.recorder.capacityBytes, 64 << 20);
    EXPECT_EQ(front.inputs.recorder.usedBytes, 16 * 65536);

    EXPECT_EQ(front.intervalText,
              "Time between Profiles: " + std::to_string(qpx.user.profilingInterval) + " seconds");
    // What follows the echo of "deploy" is the instrument's own: its "OK" opens the output.
    EXPECT_EQ(front.shown,
              "\nOK\r\n00001 2001/07/04 09:05:00 12.3\r\n00002 2001/07/04 09:25:00 12.4\r\n");
    // The disconnect message comes only after the display has closed.
    EXPECT_EQ(front.messagesBeforeDisplayClosed, 0u);
    ASSERT_EQ(qpx.messages.entries.size(), 1u);
    EXPECT_EQ(qpx.messages.entries[0].kind, RecordingMessageSink::Entry::Kind::Information);
    EXPECT_EQ(qpx.messages.entries[0].title, "QPX deployment");
    EXPECT_EQ(qpx.messages.entries[0].text,
              "Now disconnect the communication cable from \nthe system for deployment.");
    EXPECT_EQ(qpx.port.closeCount(), 1);
}

// The same run on the simulated instrument, from the port scan and "Go!" on: the command lines
// it received, in order, and what it keeps afterwards.
TEST(ConnectedSetup, WholeDeploymentOnTheSimulator) {
    link::VirtualClock clock;
    SimulatedPortOpener opener(clock);
    opener.instruments[1] = sim::QpxScenario();
    const auto scan = operations::ScanPorts(opener, false, 0);
    ASSERT_EQ(scan.selected, 1);
    std::unique_ptr<link::Port> slot;
    operations::ConnectionSettings settings;
    RecordingMessageSink messages;
    std::string goLog;
    ASSERT_TRUE(operations::ConnectInstrument(opener, clock, slot, settings, scan.selected, 9600,
                                              messages, std::nullopt,
                                              [&](std::string_view t) { goLog.append(t); }));
    EXPECT_EQ(goLog, "Open Port........................ Success\r\n"
                     "Waking up System................. Success\r\n"
                     "QPX found on COM2\r\n");
    sim::Instrument& instrument = opener.lastInstrument();

    KeptProgressViews views;
    link::Link link{*slot, messages, std::nullopt};
    struct SimFront : operations::ConnectedSetupFrontEnd {
        link::Clock& clock;
        int ticks = 0;
        explicit SimFront(link::Clock& c) : clock(c) {}
        std::optional<planning::AcceptedPlan> runPlanner(const planning::PlannerInputs& in,
                                                         link::Link&) override {
            planning::DeploymentPlanner planner;
            planner.open(in);
            auto plan = planner.deploy().value;
            if (plan) {
                plan->start = kStart;
                plan->cells = 25;
            }
            return plan;
        }
        void runDisplay(DeploymentDisplay& display) override {
            for (; ticks < 25; ++ticks) {
                clock.sleepMs(DeploymentDisplay::kTickMs);
                display.tick();
            }
        }
    } front(clock);
    EXPECT_EQ(RunConnectedSetup(link, views, front, 1), ConnectedSetupOutcome::Deployed);
    EXPECT_EQ(instrument.transcript(),
              (Lines{"Ver", "Ver", "Get CONF", "Get OPER", "Get USER", "enablewaves", "bdir", "Ver",
                     "StartDate 2001/07/04", "StartTime 09:05:00", "nc 25", "of ascii",
                     "AutoSleep on", "SaveSetup", "deploy"}));
    ASSERT_EQ(views.views.size(), 2u);
    EXPECT_EQ(views.views[0].text(), kDownloadLog);
    EXPECT_EQ(views.views[1].text(), "Waking up System............... Success\r\n"
                                     "Transmit System Variables..............\r\n"
                                     "Update Deployment Start Time... Success\r\n"
                                     "Update Number of Cells......... Success\r\n"
                                     "Set Output Format.............. Success\r\n"
                                     "Set AutoSleep.................. Success\r\n"
                                     "Save Setup..................... Success\r\n");
    EXPECT_EQ(messages.texts(),
              (Lines{"Now disconnect the communication cable from \nthe system for deployment."}));
    EXPECT_EQ(slot->closeCount(), 1);
    // "SaveSetup" made the instrument keep the change.
    EXPECT_EQ(instrument.savedStructures().userSetup.numberOfCells, 25);
}

TEST(ConnectedSetup, CancelledPlannerClosesThePortAndSendsNothing) {
    ScriptedQpx qpx;
    FrontEnd front(qpx);
    front.cancel = true;
    EXPECT_EQ(RunConnectedSetup(qpx.link, qpx.views, front, 0), ConnectedSetupOutcome::Cancelled);
    EXPECT_EQ(qpx.lines.back(), "bdir");
    EXPECT_EQ(front.inputs.unitSystem, 0);
    EXPECT_EQ(qpx.port.closeCount(), 1);
    EXPECT_TRUE(qpx.messages.entries.empty());
}

TEST(ConnectedSetup, RefusedDeployShowsNoDisplayAndNoMessage) {
    ScriptedQpx qpx;
    // Twelve lines go well (download and an untouched upload); "deploy" never echoes right.
    qpx.device.echoPlan.assign(12, Echo::Correct);
    qpx.device.echoPlan.insert(qpx.device.echoPlan.end(), 10, Echo::Wrong);
    FrontEnd front(qpx);
    EXPECT_EQ(RunConnectedSetup(qpx.link, qpx.views, front, 1),
              ConnectedSetupOutcome::DeployRefused);
    EXPECT_EQ(qpx.lines.back(), "deploy");
    EXPECT_TRUE(front.intervalText.empty());
    EXPECT_TRUE(qpx.messages.entries.empty());
    EXPECT_EQ(qpx.port.closeCount(), 1);
}

TEST(ConnectedSetup, FailedUploadSendsNoDeploy) {
    ScriptedQpx qpx;
    qpx.refused = {"SaveSetup"};
    FrontEnd front(qpx);
    EXPECT_EQ(RunConnectedSetup(qpx.link, qpx.views, front, 1),
              ConnectedSetupOutcome::UploadFailed);
    EXPECT_EQ(qpx.lines.back(), "SaveSetup");
    EXPECT_EQ(qpx.port.closeCount(), 1);
    EXPECT_TRUE(front.intervalText.empty());
}

TEST(ConnectedSetup, ClosedPortDoesNothing) {
    ScriptedQpx qpx;
    qpx.port.close();
    FrontEnd front(qpx);
    EXPECT_EQ(RunConnectedSetup(qpx.link, qpx.views, front, 1), ConnectedSetupOutcome::NoPort);
    EXPECT_TRUE(qpx.views.views.empty());
    EXPECT_EQ(front.plannerShown, 0);
}

TEST(ConnectedSetup, EmptyCardAndSilentWavesReplyStillSucceed) {
    ScriptedQpx qpx;
    qpx.card.files.clear();
    qpx.card.usedUnits = 0;
    qpx.device.replies["enablewaves"] = ">";
    FrontEnd front(qpx);
    front.cancel = true;
    RunConnectedSetup(qpx.link, qpx.views, front, 1);
    EXPECT_EQ(qpx.views.views[0].text(), kDownloadLog);
    EXPECT_EQ(front.plannerShown, 1);
    EXPECT_EQ(front.inputs.wavesOption, 0);
    EXPECT_EQ(front.inputs.recorder.usedBytes, 0);
}

struct DownloadFault {
    const char* name;
    void (*inject)(ScriptedQpx&);
    std::string lastLine; // the last line the instrument got
    std::string label;    // the line that fails
    int passedSteps;
    bool operMessage;
};

void PrintTo(const DownloadFault& f, std::ostream* os) {
    *os << f.name;
}

class DownloadStep : public testing::TestWithParam<DownloadFault> {};

// A failing step ends the download on its line: "Failed" after its label, the lines before it
// successes, the port closed once, nothing more sent and no planner.
TEST_P(DownloadStep, FailureEndsTheSequenceThere) {
    const DownloadFault& f = GetParam();
    ScriptedQpx qpx;
    f.inject(qpx);
    FrontEnd front(qpx);
    EXPECT_EQ(RunConnectedSetup(qpx.link, qpx.views, front, 1),
              ConnectedSetupOutcome::DownloadFailed);
    ASSERT_EQ(qpx.views.views.size(), 1u);
    const auto& view = qpx.views.views[0];
    const std::string passed = kDownloadLog.substr(0, static_cast<std::size_t>(f.passedSteps) * 41);
    EXPECT_EQ(view.text(), passed + f.label + "Failed\r\n");
    EXPECT_EQ(view.position(), f.passedSteps);
    EXPECT_TRUE(view.finished());
    EXPECT_FALSE(view.succeeded());
    EXPECT_EQ(qpx.views.destroyed, 1);
    EXPECT_EQ(qpx.lines.back(), f.lastLine);
    EXPECT_EQ(qpx.port.closeCount(), 1);
    EXPECT_EQ(front.plannerShown, 0);
    const auto texts = qpx.messages.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string(operations::kOperFailedMessage)),
              f.operMessage ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, DownloadStep,
    testing::Values(DownloadFault{"wakeUp", [](ScriptedQpx& q) { q.refused = {"Ver"}; }, "Ver",
                                  "Waking up System............... ", 0, false},
                    DownloadFault{"otherSystem",
                                  [](ScriptedQpx& q) {
                                      q.device.replies["Ver"] = "Kelvra CLV Version 2.10\r\n>";
                                  },
                                  "systemtype", "Waking up System............... ", 0, false},
                    DownloadFault{"conf", [](ScriptedQpx& q) { q.refused = {"Get CONF"}; },
                                  "Get CONF", "Get System Configuration....... ", 1, false},
                    DownloadFault{"oper", [](ScriptedQpx& q) { q.refused = {"Get OPER"}; },
                                  "Get OPER", "Get Sensor Operation Config.... ", 2, true},
                    DownloadFault{"user", [](ScriptedQpx& q) { q.refused = {"Get USER"}; },
                                  "Get USER", "Get User Setup................. ", 3, false},
                    DownloadFault{"waves",
                                  [](ScriptedQpx& q) {
                                      q.device.echoPlan.assign(4, Echo::Correct);
                                      q.device.echoPlan.insert(q.device.echoPlan.end(), 10,
                                                               Echo::Wrong);
                                  },
                                  "enablewaves", "Get Waves Option............... ", 4, false},
                    DownloadFault{"recorder", [](ScriptedQpx& q) { q.card.refuseBdir = true; },
                                  "bdir", "Get Recorder Settings.......... ", 5, false}),
    [](const auto& param) { return std::string(param.param.name); });

struct WavesReply {
    const char* text;
    int option;
};

TEST(DecodeWavesOption, FindsTheWordsInAnyCaseInTheirOrder) {
    for (const auto& c :
         {WavesReply{"YES", 1}, WavesReply{"basic waves", 1}, WavesReply{"Frequency only", 1},
          WavesReply{"DIRECTIONAL", 2}, WavesReply{"nondirectional", 2},
          WavesReply{"Directional, frequency", 1}, WavesReply{"NO", 0}, WavesReply{"", 0}}) {
        EXPECT_EQ(DecodeWavesOption(c.text), c.option) << c.text;
    }
}

TEST(DeploymentDisplay, ShowsTheIntervalAndClosesThePortOnceAfterItsPause) {
    ScriptedQpx qpx;
    model::UserSetup user;
    user.profilingInterval = 1200;
    {
        DeploymentDisplay display(qpx.port, user);
        EXPECT_EQ(display.intervalText(), "Time between Profiles: 1200 seconds");
        display.tick(); // nothing waiting: nothing read, nothing shown
        EXPECT_TRUE(display.received().empty());
        const auto before = qpx.clock.nowMs();
        display.close();
        EXPECT_EQ(qpx.clock.nowMs() - before, 200);
        EXPECT_FALSE(display.holdsPort());
        display.tick();
    }
    EXPECT_EQ(qpx.port.closeCount(), 1);
}

// A PC-QPX stores its intervals in tenths of a second; the display shows seconds as the planner
// does.
TEST(DeploymentDisplay, ShowsAPcQpxIntervalInSeconds) {
    struct Case {
        std::uint16_t stored;
        std::uint8_t pulseCoherent;
        const char* text;
    };
    for (const Case& c : {Case{600, 1, "Time between Profiles: 60 seconds"},
                          Case{605, 1, "Time between Profiles: 60.5 seconds"},
                          Case{5, 1, "Time between Profiles: 0.5 seconds"},
                          Case{600, 0, "Time between Profiles: 600 seconds"}}) {
        ScriptedQpx qpx;
        model::UserSetup user;
        user.profilingInterval = c.stored;
        user.pulseCoherentMode = c.pulseCoherent;
        DeploymentDisplay display(qpx.port, user);
        EXPECT_EQ(display.intervalText(), c.text);
    }
}

} // namespace
} // namespace qpx::test
