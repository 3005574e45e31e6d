#include "WireHelpers.h"
#include "link/CommandExchange.h"
#include "link/FetchStructure.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "sim/SimulatedLine.h"
#include "support/RecordingMessageSink.h"

#include <array>

#include <gtest/gtest.h>

// The whole connected deployment as one sleeping instrument sees it, through the link layer.
namespace qpx::test {
namespace {

TEST(ConnectedDialogue, FromWakeUpToPeriodicOutput) {
    sim::Scenario scenario = sim::SleepingScenario();
    scenario.deploy.outputIntervalMs = 1000;
    scenario.recorderUsed = 16u * 65536u;
    sim::SimulatedLine line(scenario);
    RecordingMessageSink messages;
    link::Link link = line.link(messages);

    ASSERT_EQ(link::WakeAndIdentify(link), link::kSystemQpx);
    std::array<std::uint8_t, 512> buffer{};
    for (const char* get : {"Get CONF", "Get OPER", "Get USER"}) {
        ASSERT_EQ(link::FetchStructure(link, get, buffer), 1) << get;
    }
    ASSERT_EQ(link::SendCommand(link, "enablewaves", '>', true), 1);
    Collect(line.port(), 100);

    ASSERT_EQ(link::SendCommandExpectOk(link, "bdir", 3000), 1);
    line.clock().sleepMs(500);
    std::string transfer;
    for (int ack = 0; ack < 4; ++ack) {
        transfer += Exchange(line, "a");
    }
    EXPECT_EQ(transfer.substr(transfer.size() - 5), std::string("\x10\x00\xA6\xA5>", 5));

    for (const char* command : {"Deployment DEF", "StartDate 2001/07/04", "StartTime 09:05:00",
                                "nc 25", "Temp     20.00"}) {
        ASSERT_EQ(link::SendCommandExpectOk(link, command, 3000), 1) << command;
    }
    Collect(line.port(), 50); // the prompt the last command left
    EXPECT_EQ(Exchange(line, "Comments\r"), "Comments\r\nEnter 3 lines of comments\r\n");
    Exchange(line, "one\r");
    Exchange(line, "two\r");
    EXPECT_EQ(Exchange(line, "three\r"), "three\r\nOK\r\n>");
    for (const char* command : {"of ascii", "AutoSleep on", "SaveSetup"}) {
        ASSERT_EQ(link::SendCommandExpectOk(link, command, 3000), 1) << command;
    }
    ASSERT_EQ(link::SendCommand(link, "deploy", '>', true), 1);
    const std::string output = Collect(line.port(), 50) + [&] {
        line.clock().sleepMs(2100);
        return Collect(line.port(), 50);
    }();
    EXPECT_NE(output.find("Profile 2\r\n"), std::string::npos) << output;

    const std::vector<std::string> expected{"Ver",
                                            "Get CONF",
                                            "Get OPER",
                                            "Get USER",
                                            "enablewaves",
                                            "bdir",
                                            "Deployment DEF",
                                            "StartDate 2001/07/04",
                                            "StartTime 09:05:00",
                                            "nc 25",
                                            "Temp     20.00",
                                            "Comments",
                                            "one",
                                            "two",
                                            "three",
                                            "of ascii",
                                            "AutoSleep on",
                                            "SaveSetup",
                                            "deploy"};
    EXPECT_EQ(line.instrument().transcript(), expected);
    const model::UserSetup& saved = line.instrument().savedStructures().userSetup;
    EXPECT_EQ(saved.numberOfCells, 25);
    EXPECT_EQ(saved.defaultTemperature, 200);
    EXPECT_EQ(std::string(saved.comment3.data()), "three");
}

} // namespace
} // namespace qpx::test
