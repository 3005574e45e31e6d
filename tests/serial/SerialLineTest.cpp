#include "link/CalendarMath.h"
#include "link/PortFunctions.h"
#include "serial/PortList.h"
#include "serial/PseudoTerminal.h"
#include "serial/SerialPortOpener.h"
#include "serial/SystemClock.h"

#include <QTimer>
#include <ctime>
#include <thread>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using link::kLineTerminator;
using std::chrono::steady_clock;

// The real backend on a pseudo-terminal, in real time. Kept few and short.
class SerialLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        link::OpenResult opened = opener.openDevice(pty.path(), 9600, 'N', 8, 1);
        ASSERT_EQ(opened.status, link::kPortOk) << opened.message;
        port = std::move(opened.port);
    }

    PseudoTerminal pty;
    serial::SystemClock clock;
    serial::SerialPortOpener opener{clock, serial::PortList()};
    std::unique_ptr<link::Port> port;
};

TEST_F(SerialLine, ReadStringTimedReturnsAsSoonAsTheLineHasArrived) {
    // Sent from a timer: it only fires if the wait keeps the event loop turning, as a GUI needs.
    QTimer::singleShot(100, [this] { pty.send("OK\r\n>"); });
    char buffer[80] = {};
    const auto start = steady_clock::now();
    const int n = link::ReadStringTimed(*port, buffer, 79, kLineTerminator, 3000);
    const long long ms = MsSince(start);

    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), "OK\r\n");
    EXPECT_GE(ms, 90);
    EXPECT_LT(ms, 1000);
    EXPECT_EQ(port->peekChar(), '>'); // nothing past the line was taken
}

TEST_F(SerialLine, ReadBufferTimedDeliversEveryByteValueAsSoonAsItIsThere) {
    const std::string sent = AllByteValues();
    std::thread instrument([this, &sent] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pty.send(sent);
    });
    std::uint8_t buffer[256] = {};
    const auto start = steady_clock::now();
    const int n = link::ReadBufferTimed(*port, buffer, 256, 3000);
    const long long ms = MsSince(start);
    instrument.join();

    ASSERT_EQ(n, 256);
    EXPECT_EQ(port->lastCount(), 256);
    // A line left in cooked mode would turn CR into LF, swallow XON/XOFF or strip bit 7.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer), 256), sent);
    EXPECT_LT(ms, 1000);
}

TEST_F(SerialLine, TimeOutWithoutDataLastsItsTimeAndDoesNotSpin) {
    std::uint8_t buffer[16] = {};
    const double cpuBefore = CpuMs();
    const auto start = steady_clock::now();
    const int n = link::ReadBufferTimed(*port, buffer, 16, 500);
    const long long ms = MsSince(start);
    const double cpu = CpuMs() - cpuBefore;

    EXPECT_EQ(n, 0);
    EXPECT_EQ(port->lastCount(), 0);
    EXPECT_GE(ms, 500);
    EXPECT_LT(ms, 900);
    EXPECT_LT(cpu, 50.0);
    EXPECT_EQ(link::ReadCharTimed(*port, 20), link::kNoByte);
}

TEST_F(SerialLine, WritesArriveOnTheFarEndUnchanged) {
    // A single byte must leave even when the caller does not wait for it.
    ASSERT_EQ(port->writeChar('A'), 1);
    EXPECT_EQ(pty.receive(1, 1000), "A");

    EXPECT_EQ(link::WriteStringTimed(*port, "Ver\r", kLineTerminator, 500), 4);
    EXPECT_EQ(pty.receive(4, 1000), "Ver\r");

    const std::string all = AllByteValues();
    ASSERT_EQ(port->writeBuffer(reinterpret_cast<const std::uint8_t*>(all.data()), 256), 256);
    EXPECT_TRUE(port->waitWritten(1000));
    EXPECT_EQ(pty.receive(256, 1000), all);
}

TEST_F(SerialLine, BreakLastsItsGivenTime) {
    const double cpuBefore = CpuMs();
    const auto start = steady_clock::now();
    EXPECT_EQ(port->sendBreak(200), 0);
    const long long ms = MsSince(start);
    EXPECT_GE(ms, 200);
    EXPECT_LT(ms, 600);
    EXPECT_LT(CpuMs() - cpuBefore, 20.0);
}

TEST_F(SerialLine, HungUpLineEndsTheWaitAndFailsFromThenOn) {
    QTimer::singleShot(100, [this] { pty.hangUp(); });
    std::uint8_t buffer[16] = {};
    const double cpuBefore = CpuMs();
    const auto start = steady_clock::now();
    EXPECT_EQ(link::ReadBufferTimed(*port, buffer, 16, 2000), 0);
    const long long ms = MsSince(start);

    EXPECT_LT(ms, 1000);
    EXPECT_LT(CpuMs() - cpuBefore, 50.0);
    EXPECT_LT(port->rxCount(), 0);
    EXPECT_LT(port->writeChar('x'), 0);
    EXPECT_LT(port->sendBreak(10), 0);
    EXPECT_LT(link::ClearRXBuffer(*port), 0);
}

TEST(SystemClock, SleepLastsItsTimeKeepsEventsGoingAndDoesNotSpin) {
    serial::SystemClock clock;
    bool timerFired = false;
    QTimer::singleShot(30, [&] { timerFired = true; });
    const double cpuBefore = CpuMs();
    const std::int64_t before = clock.nowMs();
    clock.sleepMs(200);
    const std::int64_t slept = clock.nowMs() - before;

    EXPECT_GE(slept, 200);
    EXPECT_LT(slept, 600);
    EXPECT_TRUE(timerFired);
    // A sleeping thread costs next to nothing; a spinning one burns most of the time even on a
    // busy machine.
    EXPECT_LT(CpuMs() - cpuBefore, 20.0);

    const std::int64_t again = clock.nowMs();
    clock.sleepMs(0);
    clock.sleepMs(-5);
    EXPECT_LT(clock.nowMs() - again, 20);
}

TEST(SystemClock, LocalTimeIsTheComputersWallClock) {
    serial::SystemClock clock;
    const link::CalendarTime now = clock.localTime();
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&t, &local);
    const link::CalendarTime expected{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                      local.tm_hour,        local.tm_min,     local.tm_sec};
    EXPECT_NEAR(static_cast<double>(link::SecondsFromCalendar(now)),
                static_cast<double>(link::SecondsFromCalendar(expected)), 2.0);
}

} // namespace
} // namespace qpx::test
