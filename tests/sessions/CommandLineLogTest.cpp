#include "sim/CommandLineLog.h"

#include "sim/Instrument.h"
#include "sim/Scenario.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Entries = std::vector<std::pair<std::string, bool>>;

Entries Taken(sim::CommandLineLog& log) {
    Entries entries;
    for (const sim::CommandLineLog::Entry& entry : log.take()) {
        entries.emplace_back(entry.text, entry.wakeUp);
    }
    return entries;
}

// The host's side of a line: bytes one millisecond apart.
struct Host {
    sim::Instrument& instrument;
    sim::Micros at = 0;
    void send(std::string_view text) {
        for (const char c : text) {
            at += sim::FromMs(1);
            instrument.receive(static_cast<std::uint8_t>(c), at);
        }
    }
    void wait(int ms) {
        at += sim::FromMs(ms);
        instrument.advanceTo(at);
    }
};

TEST(CommandLineLog, GivesAWakeUpAheadOfTheLinesThatFollowAndEachLineOnce) {
    sim::Instrument instrument(sim::PlusOnlyScenario());
    sim::CommandLineLog log(instrument);
    Host host{instrument};
    host.send("Ver\r"); // asleep: not heard
    host.send("++++++++++");
    host.wait(2000);
    host.send("Ver\r");
    EXPECT_EQ(Taken(log), (Entries{{"++++++++++", true}, {"Ver", false}}));
    host.send("Date\r");
    EXPECT_EQ(Taken(log), (Entries{{"Date", false}}));
    EXPECT_TRUE(Taken(log).empty());

    // A log begun late, as qpx-sim's server over an instrument that has been used, starts from
    // then on.
    sim::CommandLineLog late(instrument);
    late.skipSeen();
    host.send("Time\r");
    EXPECT_EQ(Taken(late), (Entries{{"Time", false}}));
}

// Typed to an awake instrument the wake-up string is a command line like any other: the line
// faults that fire on a command line must tell the two apart.
TEST(CommandLineLog, TheWakeUpStringTypedWhileAwakeIsALine) {
    sim::Instrument instrument(sim::QpxScenario());
    sim::CommandLineLog log(instrument);
    Host host{instrument};
    host.send("++++++++++\r");
    EXPECT_EQ(Taken(log), (Entries{{"++++++++++", false}}));
}

} // namespace
} // namespace qpx::test
