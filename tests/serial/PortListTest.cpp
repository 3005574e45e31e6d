#include "serial/PortList.h"

#include "serial/PortArgument.h"

#include <QByteArray>
#include <QtGlobal>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using serial::PortList;
using serial::SystemPort;
using Devices = std::vector<std::string>;

TEST(PortList, UsbAdaptersComeFirstThenBuiltInPortsEachInNameOrder) {
    const struct {
        const char* name;
        std::vector<SystemPort> ports;
        Devices expected;
    } cases[] = {
        {"groups and numeric order",
         {{"ttyS10", "/dev/ttyS10", false},
          {"ttyS2", "/dev/ttyS2", false},
          {"ttyACM0", "/dev/ttyACM0", false},
          {"ttyUSB1", "/dev/ttyUSB1", true},
          {"ttyUSB0", "/dev/ttyUSB0", true}},
         {"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS2", "/dev/ttyS10"}},
        {"a vendor identifier marks an adapter whatever its name",
         {{"ttyS0", "/dev/ttyS0", false}, {"ttyXRUSB0", "/dev/ttyXRUSB0", true}},
         {"/dev/ttyXRUSB0", "/dev/ttyS0"}},
        {"only the first eight",
         {{"ttyS0", "/dev/ttyS0", false},
          {"ttyS1", "/dev/ttyS1", false},
          {"ttyS2", "/dev/ttyS2", false},
          {"ttyS3", "/dev/ttyS3", false},
          {"ttyS4", "/dev/ttyS4", false},
          {"ttyS5", "/dev/ttyS5", false},
          {"ttyS6", "/dev/ttyS6", false},
          {"ttyS7", "/dev/ttyS7", false},
          {"ttyUSB0", "/dev/ttyUSB0", false}},
         {"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3", "/dev/ttyS4",
          "/dev/ttyS5", "/dev/ttyS6"}},
        {"macOS call-out devices stand for their twins",
         {{"tty.usbserial-14", "/dev/tty.usbserial-14", true},
          {"cu.usbserial-14", "/dev/cu.usbserial-14", true},
          {"cu.Bluetooth-Incoming-Port", "/dev/cu.Bluetooth-Incoming-Port", false},
          {"tty.Bluetooth-Incoming-Port", "/dev/tty.Bluetooth-Incoming-Port", false}},
         {"/dev/cu.usbserial-14", "/dev/cu.Bluetooth-Incoming-Port"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PortList::FromSystemPorts(c.ports), PortList(c.expected));
    }
}

TEST(PortList, EnvironmentValuePutsDevicesOnNumbersInOrder) {
    const PortList list = PortList::FromEnvironmentValue("/dev/pts/3::/dev/ttyS0", ':');
    EXPECT_EQ(list.device(0), "/dev/pts/3");
    EXPECT_EQ(list.device(1), "");
    EXPECT_EQ(list.device(2), "/dev/ttyS0");
    EXPECT_EQ(list.device(3), "");

    EXPECT_EQ(PortList::FromEnvironmentValue("", ':'), PortList());
    EXPECT_EQ(PortList::FromEnvironmentValue("a:b:c:d:e:f:g:h:i", ':'),
              PortList({"a", "b", "c", "d", "e", "f", "g", "h"}));
    EXPECT_EQ(PortList::FromEnvironmentValue("COM7;;\\\\.\\COM12", ';'),
              PortList({"COM7", "", "\\\\.\\COM12"}));
}

TEST(PortList, SystemListHonoursDeployQpxPorts) {
    // The platform's own separator, as a user sets the variable there.
    const std::string value =
        std::string("/dev/pts/7") + serial::kPortListSeparator + "/dev/ttyUSB4";
    qputenv("DEPLOYQPX_PORTS", QByteArray::fromStdString(value));
    const PortList list = PortList::FromSystem();
    qunsetenv("DEPLOYQPX_PORTS");
    EXPECT_EQ(list, PortList({"/dev/pts/7", "/dev/ttyUSB4"}));

#ifndef _WIN32
    // Windows' C library cannot hold an empty variable: setting it empty removes it.
    qputenv("DEPLOYQPX_PORTS", QByteArray());
    EXPECT_EQ(PortList::FromSystem(), PortList()) << "set but empty hides every port";
    qunsetenv("DEPLOYQPX_PORTS");
#endif
}

TEST(PortList, LabelShowsTheDeviceBesideTheNumber) {
    const PortList list({"/dev/ttyUSB0", ""});
    EXPECT_EQ(list.label(0), "COM1 (/dev/ttyUSB0)");
    EXPECT_EQ(list.label(1), "COM2 (no device)");
    EXPECT_EQ(PortList::WindowsNames().label(7), "COM8");
}

TEST(ParsePortArgument, TakesComNumbersAndDevicePaths) {
    const PortList ports({"/dev/ttyUSB0", "", "", "", "", "", "", "/dev/ttyS3"});
    const struct {
        const char* text;
        int index;
        const char* device;
        const char* error;
    } cases[] = {
        {"COM1", 0, "/dev/ttyUSB0", ""},
        {"com8", 7, "/dev/ttyS3", ""},
        {"/dev/pts/4", -1, "/dev/pts/4", ""},
        {"COMX", -1, "COMX", ""},
        {"COM2", -1, "", "COM2 has no serial device behind it."},
        {"COM9", -1, "", "Unknown port \"COM9\": use COM1 to COM8 or a device path."},
        {"COM0", -1, "", "Unknown port \"COM0\": use COM1 to COM8 or a device path."},
        {"", -1, "", "No port given: use COM1 to COM8 or a device path."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const serial::PortArgument parsed = serial::ParsePortArgument(c.text, ports);
        EXPECT_EQ(parsed.index, c.index);
        EXPECT_EQ(parsed.device, c.device);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.ok(), std::string(c.error).empty());
    }
}

} // namespace
} // namespace qpx::test
