#include "serial/SerialPortOpener.h"

#include "serial/PermissionMessage.h"
#include "serial/PseudoTerminal.h"
#include "serial/SystemClock.h"
#include "support/TempDir.h"

#include <fstream>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using link::kPortFailure;
using link::kPortOk;
using link::kPortUnavailable;

class Opener : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pty.ok()); }

    PseudoTerminal pty;
    serial::SystemClock clock;
    serial::SerialPortOpener opener{clock, serial::PortList({"", pty.path()})};
};

TEST_F(Opener, OpensTheDeviceBehindANumberAndNoneWhereThereIsNone) {
    EXPECT_EQ(opener.deviceName(1), pty.path());
    link::OpenResult opened = opener.open(1, 9600, 'N', 8, 1);
    EXPECT_EQ(opened.status, kPortOk) << opened.message;
    ASSERT_NE(opened.port, nullptr);
    EXPECT_EQ(opened.port->status(), kPortOk);
    EXPECT_TRUE(opened.message.empty());

    for (int index : {0, 2, 7, -1, 8}) {
        SCOPED_TRACE(index);
        link::OpenResult none = opener.open(index, 9600, 'N', 8, 1);
        EXPECT_EQ(none.status, kPortFailure);
        EXPECT_EQ(none.port, nullptr);
        EXPECT_FALSE(none.message.empty());
    }
    EXPECT_EQ(opener.open(0, 9600, 'N', 8, 1).message, "COM1 has no serial device behind it.");
}

TEST_F(Opener, RefusesWhatIsNotASerialDevice) {
    TempDir dir;
    const std::string file = (dir.path() / "capture.bin").string();
    std::ofstream(file) << "not a port";
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {(dir.path() / "ttyQPX").string(),
         "No serial device at " + (dir.path() / "ttyQPX").string() + "."},
        {file, file + " is not a serial device (not a character device)."},
        {dir.path().string(),
         dir.path().string() + " is not a serial device (not a character device)."},
        {"/dev/null", "/dev/null is not a serial device (not a terminal)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        link::OpenResult result = opener.openDevice(c.path, 9600, 'N', 8, 1);
        EXPECT_EQ(result.status, kPortFailure);
        EXPECT_EQ(result.port, nullptr);
        EXPECT_EQ(result.message, c.message);
    }
}

TEST_F(Opener, RefusesLineSettingsOutsideTheirRange) {
    const struct {
        int baud;
        char parity;
        int dataBits;
        int stopBits;
    } cases[] = {{0, 'N', 8, 1},    {9600, 'X', 8, 1}, {9600, 'n', 8, 1}, {9600, 'N', 4, 1},
                 {9600, 'N', 9, 1}, {9600, 'N', 8, 0}, {9600, 'N', 8, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << c.parity << c.dataBits << c.stopBits);
        link::OpenResult result =
            opener.openDevice(pty.path(), c.baud, c.parity, c.dataBits, c.stopBits);
        EXPECT_EQ(result.status, kPortFailure);
        EXPECT_EQ(result.port, nullptr);
        EXPECT_TRUE(result.message.starts_with("Unsupported line settings: ")) << result.message;
    }
}

struct LineCase {
    int baud;
    speed_t speed;
    char parity;
    int stopBits;
    bool odd;
    bool stick; // mark or space
};

class LineSettings : public ::testing::TestWithParam<LineCase> {};

// A pseudo-terminal forces 8 data bits and clears the parity enable, but keeps the rest of what
// was set, so the letters' mapping and the stop bits can still be read back on the master.
TEST_P(LineSettings, ReachTheDevice) {
    const LineCase c = GetParam();
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    serial::SystemClock clock;
    serial::SerialPortOpener opener(clock, serial::PortList());
    link::OpenResult opened = opener.openDevice(pty.path(), c.baud, c.parity, 7, c.stopBits);
    ASSERT_EQ(opened.status, kPortOk) << opened.message;

    termios line{};
    ASSERT_EQ(::tcgetattr(pty.master(), &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), c.speed);
    EXPECT_EQ(::cfgetispeed(&line), c.speed);
    EXPECT_EQ((line.c_cflag & PARODD) != 0, c.odd);
    EXPECT_EQ((line.c_cflag & CMSPAR) != 0, c.stick);
    EXPECT_EQ((line.c_cflag & CSTOPB) != 0, c.stopBits == 2);
    EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);
}

INSTANTIATE_TEST_SUITE_P(Letters, LineSettings,
                         ::testing::Values(LineCase{9600, B9600, 'N', 1, false, false},
                                           LineCase{115200, B115200, 'E', 1, false, false},
                                           LineCase{300, B300, 'O', 2, true, false},
                                           LineCase{19200, B19200, 'M', 1, true, true},
                                           LineCase{57600, B57600, 'S', 2, false, true}));

TEST_F(Opener, DeviceHeldElsewhereIsUnavailableUntilReleased) {
    link::OpenResult first = opener.openDevice(pty.path(), 9600, 'N', 8, 1);
    ASSERT_EQ(first.status, kPortOk) << first.message;

    link::OpenResult second = opener.openDevice(pty.path(), 9600, 'N', 8, 1);
    EXPECT_EQ(second.status, kPortUnavailable);
    EXPECT_EQ(second.port, nullptr);
    EXPECT_EQ(second.message, pty.path() + " is in use by another program.");

    first.port->close();
    EXPECT_EQ(opener.openDevice(pty.path(), 9600, 'N', 8, 1).status, kPortOk);
}

TEST_F(Opener, DeviceWithoutPermissionIsUnavailableAndSaysWhy) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root bypasses permission checks";
    }
    ASSERT_EQ(::chmod(pty.path().c_str(), 0), 0);
    link::OpenResult result = opener.open(1, 9600, 'N', 8, 1);
    EXPECT_EQ(result.status, kPortUnavailable);
    EXPECT_EQ(result.port, nullptr);
    EXPECT_TRUE(result.message.starts_with("Permission denied for " + pty.path() + ": "))
        << result.message;
}

TEST(PermissionDeniedMessage, NamesTheGroupOnlyWhereJoiningItHelps) {
    const std::string generic = ": your user may not read and write it; ask the administrator "
                                "for access.";
    EXPECT_EQ(serial::PermissionDeniedMessage("/dev/ttyUSB0", "dialout", true),
              "Permission denied for /dev/ttyUSB0: add your user to the group 'dialout' (sudo "
              "usermod -aG dialout $USER) and log in again.");
    EXPECT_EQ(serial::PermissionDeniedMessage("/dev/ttyS0", "dialout", false),
              "Permission denied for /dev/ttyS0" + generic);
    EXPECT_EQ(serial::PermissionDeniedMessage("/dev/ttyS0", "root", true),
              "Permission denied for /dev/ttyS0" + generic);
    EXPECT_EQ(serial::PermissionDeniedMessage("/dev/ttyS0", "", true),
              "Permission denied for /dev/ttyS0" + generic);
}

} // namespace
} // namespace qpx::test
