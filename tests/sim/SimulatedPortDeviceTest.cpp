#include "WireHelpers.h"
#include "sim/SimulatedLine.h"

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using sim::SimulatedLine;

TEST(SimulatedPortDevice, WaitReadableJumpsToTheNextArrival) {
    SimulatedLine line;
    Send(line.port(), "V");
    EXPECT_TRUE(line.port().waitReadable(100));
    EXPECT_EQ(line.clock().nowMs(), 3);
    EXPECT_EQ(line.port().readChar(), 'V');
    // Nothing coming: the whole time-out passes, in one step.
    EXPECT_FALSE(line.port().waitReadable(250));
    EXPECT_EQ(line.clock().nowMs(), 253);
}

TEST(SimulatedPortDevice, OnlyArrivedBytesAreVisible) {
    SimulatedLine line;
    Send(line.port(), "Ver\r");
    EXPECT_EQ(line.port().rxCount(), 0);
    EXPECT_EQ(line.port().peekChar(), link::kNoByte);
    line.clock().sleepMs(4); // echoes of 'V' and 'e' are in, 'r' is on its way
    EXPECT_EQ(line.port().rxCount(), 2);
    EXPECT_EQ(line.port().peekChar(), 'V');
}

TEST(SimulatedPortDevice, ClearRxDropsOnlyWhatHasArrived) {
    SimulatedLine line;
    Send(line.port(), "Ver\r");
    line.clock().sleepMs(4);
    ASSERT_EQ(line.port().clearRx(), 0);
    EXPECT_EQ(Collect(line.port()), "r\r\nKelvra QPX Current Profiler Version 1.70\r\n>");
}

TEST(SimulatedPortDevice, ClearTxDropsWhatHasNotStartedToLeave) {
    SimulatedLine line;
    Send(line.port(), std::string(100, 'a'));
    line.clock().sleepMs(10); // ten bytes have started (the tenth at 9.4 ms)
    ASSERT_EQ(line.port().clearTx(), 0);
    EXPECT_EQ(Collect(line.port()), std::string(10, 'a'));
}

TEST(SimulatedPortDevice, WaitWrittenEndsWhenTheLastByteHasLeftOrAtItsTimeOut) {
    SimulatedLine line;
    Send(line.port(), std::string(100, 'a'));
    EXPECT_FALSE(line.port().waitWritten(10));
    EXPECT_EQ(line.clock().nowMs(), 10);
    EXPECT_TRUE(line.port().waitWritten(1000));
    EXPECT_EQ(line.clock().nowMs(), 105); // 100 x 1.042 ms
    EXPECT_TRUE(line.port().waitWritten(0));
}

TEST(SimulatedPortDevice, BreakTakesItsTimeAndIsRecorded) {
    SimulatedLine line(sim::SleepingScenario());
    EXPECT_EQ(line.port().sendBreak(200), 0);
    EXPECT_EQ(line.clock().nowMs(), 200);
    EXPECT_EQ(line.record().breaks, 1);
    EXPECT_EQ(line.instrument().breakCount(), 1);
}

TEST(SimulatedPortDevice, ClosedDeviceFailsAndCloseIsCounted) {
    SimulatedLine line;
    line.port().close();
    line.port().close();
    EXPECT_EQ(line.record().closes, 1);
    EXPECT_LT(line.port().rxCount(), 0);
    EXPECT_LT(line.port().writeChar('a'), 0);

    link::Port& again = line.reopen();
    Send(again, "\r");
    EXPECT_EQ(Collect(again), "\r\n>");
}

TEST(SimulatedPortDevice, RecordKeepsEverythingTheHostSent) {
    SimulatedLine line;
    Send(line.port(), " Ver\r");
    EXPECT_EQ(AsText(line.record().written), " Ver\r");
}

TEST(SimulatedPortDevice, ReceiveBufferOverflowLosesTheNewestBytes) {
    SimulatedLine line;
    Send(line.port(), std::string(9000, 'a'));
    line.port().waitWritten(20000);
    line.clock().sleepMs(10);
    EXPECT_EQ(line.port().rxCount(), 8192);
}

} // namespace
} // namespace qpx::test
