#include "operations/Connection.h"

#include "support/RecordingMessageSink.h"
#include "support/SimulatedPortOpener.h"

#include <array>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using operations::BaudCodeFromRate;
using operations::BaudRateFromCode;
using operations::ConnectInstrument;
using operations::ConnectionSettings;
using operations::ScanPorts;

TEST(BaudRateCodes, MapBothWaysWithTheirDefaults) {
    for (int code = 0; code < 10; ++code) {
        EXPECT_EQ(BaudCodeFromRate(BaudRateFromCode(code)), code);
    }
    EXPECT_EQ(BaudRateFromCode(9), 115200);
    EXPECT_EQ(BaudRateFromCode(10), 9600);
    EXPECT_EQ(BaudRateFromCode(-1), 9600);
    EXPECT_EQ(BaudCodeFromRate(14400), 5);
    EXPECT_EQ(operations::ParityLetter(2), 'O');
    EXPECT_EQ(operations::ParityLetter(7), 'N');
}

TEST(ScanPorts, NoPortOpensMarksNothingAndSelectsNone) {
    link::VirtualClock clock;
    SimulatedPortOpener opener(clock);
    const auto scan = ScanPorts(opener, false, 0);
    EXPECT_EQ(scan.codes, (std::array<int, 8>{}));
    EXPECT_EQ(scan.selected, -1);
    ASSERT_EQ(opener.requests.size(), 8u);
    EXPECT_EQ(opener.requests[3].baud, 9600);
    EXPECT_EQ(opener.requests[3].parity, 'N');
    EXPECT_EQ(opener.requests[3].dataBits, 8);
    EXPECT_EQ(opener.requests[3].stopBits, 1);
}

TEST(ScanPorts, HeldPortStaysSelectableAndEachTestPortIsClosedAgain) {
    link::VirtualClock clock;
    SimulatedPortOpener opener(clock);
    opener.instruments[2] = sim::QpxScenario();
    opener.instruments[5] = sim::QpxScenario();
    opener.busy = {1, 4};
    auto scan = ScanPorts(opener, true, 4);
    EXPECT_EQ(scan.codes, (std::array<int, 8>{0, 3, 2, 0, 2, 2, 0, 0}));
    EXPECT_EQ(scan.selected, 4);
    for (const auto& line : opener.lines) {
        EXPECT_EQ(line.closes, 1);
    }
    // Not holding it: the red port cannot be selected, the first green one is.
    scan = ScanPorts(opener, false, 4);
    EXPECT_EQ(scan.codes[4], 3);
    EXPECT_EQ(scan.selected, 2);
}

struct Connect {
    link::VirtualClock clock;
    SimulatedPortOpener opener{clock};
    RecordingMessageSink messages;
    std::unique_ptr<link::Port> slot;
    ConnectionSettings settings;
    std::string log;

    bool go(int index, int baud) {
        return ConnectInstrument(opener, clock, slot, settings, index, baud, messages, std::nullopt,
                                 [this](std::string_view t) { log.append(t); });
    }
};

TEST(ConnectInstrument, QpxAndMerovaneAreAcceptedAndThePortKept) {
    for (const auto& [kind, found] :
         {std::pair{sim::SystemKind::Qpx, std::string("QPX found on COM3\r\n")},
          std::pair{sim::SystemKind::Merovane, std::string("Merovane found on COM3\r\n")}}) {
        Connect c;
        c.opener.instruments[2] = sim::SystemScenario(kind);
        ASSERT_TRUE(c.go(2, 115200));
        EXPECT_EQ(c.log, "Open Port........................ Success\r\n"
                         "Waking up System................. Success\r\n" +
                             found);
        ASSERT_TRUE(c.slot);
        EXPECT_TRUE(c.slot->isOpen());
        EXPECT_EQ(c.settings.portIndex, 2);
        EXPECT_EQ(c.settings.baudRate, 115200);
        const auto& request = c.opener.requests.back();
        EXPECT_EQ(request.baud, 115200);
        EXPECT_EQ(request.parity, 'N');
        EXPECT_EQ(request.dataBits, 8);
        EXPECT_EQ(request.stopBits, 1);
    }
}

TEST(ConnectInstrument, PausesTwoSecondsAfterSuccess) {
    Connect c;
    c.opener.instruments[0] = sim::QpxScenario();
    std::int64_t identified = -1;
    ASSERT_TRUE(ConnectInstrument(c.opener, c.clock, c.slot, c.settings, 0, 9600, c.messages,
                                  std::nullopt, [&](std::string_view t) {
                                      if (t.find("found") != std::string_view::npos) {
                                          identified = c.clock.nowMs();
                                      }
                                  }));
    EXPECT_EQ(c.clock.nowMs() - identified, 2000);
}

TEST(ConnectInstrument, OtherSystemsFailAndLeaveNoPortOpen) {
    for (auto kind : {sim::SystemKind::Clv, sim::SystemKind::Wqs, sim::SystemKind::Rill,
                      sim::SystemKind::Zeb}) {
        Connect c;
        c.opener.instruments[0] = sim::SystemScenario(kind);
        c.settings.portIndex = 6;
        EXPECT_FALSE(c.go(0, 9600));
        EXPECT_EQ(c.log, "Open Port........................ Success\r\n"
                         "Waking up System................. Failed\r\n");
        EXPECT_FALSE(c.slot);
        EXPECT_EQ(c.opener.lines.back().closes, 1);
        EXPECT_EQ(c.settings.portIndex, 6); // nothing written back
    }
}

TEST(ConnectInstrument, PortThatDoesNotOpenFailsAtOnce) {
    Connect c;
    EXPECT_FALSE(c.go(3, 9600));
    EXPECT_EQ(c.log, "Open Port........................ Failed\r\n");
    EXPECT_FALSE(c.slot);
}

} // namespace
} // namespace qpx::test
