#include "model/SystemConfiguration.h"

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using model::SystemConfiguration;
using Bytes = std::array<std::uint8_t, model::kSystemConfigurationSize>;

// Every byte different and non-zero, with the three checked fields made valid: a layout that
// dropped, moved or swapped any field would not reproduce it.
Bytes PatternBytes() {
    Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    bytes[0] = 0x10;
    bytes[25] = 5;
    bytes[26] = 4;
    return bytes;
}

TEST(SystemConfigurationLayout, RoundTripKeepsEveryByte) {
    const Bytes bytes = PatternBytes();
    const auto decoded = model::DecodeSystemConfiguration(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(model::Encode(decoded.value()), bytes);
}

struct FieldCase {
    const char* field;
    std::size_t offset;
    std::vector<std::uint8_t> stored;
    std::function<long long(const SystemConfiguration&)> read;
    long long expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.field;
}

class SystemConfigurationField : public ::testing::TestWithParam<FieldCase> {};

// Offsets, widths, byte order and signedness of the fields the program reads.
TEST_P(SystemConfigurationField, ReadsFromItsOffset) {
    const FieldCase& c = GetParam();
    Bytes bytes = PatternBytes();
    std::copy(c.stored.begin(), c.stored.end(), bytes.begin() + static_cast<long>(c.offset));
    const auto decoded = model::DecodeSystemConfiguration(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(c.read(decoded.value()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SystemConfigurationField,
    ::testing::Values(
        FieldCase{"structureSize", 2, {0x60, 0x00}, [](auto& c) { return c.structureSize; }, 96},
        FieldCase{
            "confReserved4", 4, {1, 2, 3, 4}, [](auto& c) { return c.confReserved4; }, 0x04030201},
        FieldCase{"cpuSoftwareVersion", 12, {16}, [](auto& c) { return c.cpuSoftwareVersion; }, 16},
        FieldCase{"boardRevision", 14, {'D'}, [](auto& c) { return c.boardRevision; }, 'D'},
        FieldCase{"serialNumber", 15, {'Q'}, [](auto& c) { return c.serialNumber[0]; }, 'Q'},
        FieldCase{"serialNumber end", 24, {'Z'}, [](auto& c) { return c.serialNumber[9]; }, 'Z'},
        FieldCase{"systemFrequency", 25, {7}, [](auto& c) { return c.systemFrequency; }, 7},
        FieldCase{"numberOfBeams", 26, {2}, [](auto& c) { return c.numberOfBeams; }, 2},
        FieldCase{"slantAngle", 28, {0x06, 0xFF}, [](auto& c) { return c.slantAngle; }, -250},
        FieldCase{"pressureSensorInstalled",
                  34,
                  {1},
                  [](auto& c) { return c.pressureSensorInstalled; },
                  1},
        FieldCase{"matrix first",
                  36,
                  {0x00, 0x04},
                  [](auto& c) { return c.transformationMatrix[0]; },
                  1024},
        FieldCase{"matrix last",
                  66,
                  {0x2C, 0xFD},
                  [](auto& c) { return c.transformationMatrix[15]; },
                  -724},
        FieldCase{"pressureScale",
                  70,
                  {0xFD, 0xFF, 0xFF, 0xFF},
                  [](auto& c) { return c.pressureScale; },
                  -3},
        FieldCase{"pressureOffset",
                  74,
                  {0xFA, 0x00, 0x00, 0x00},
                  [](auto& c) { return c.pressureOffset; },
                  250},
        FieldCase{"extPressureSensor", 80, {2}, [](auto& c) { return c.extPressureSensor; }, 2},
        FieldCase{"ctdSensorInstalled", 81, {1}, [](auto& c) { return c.ctdSensorInstalled; }, 1},
        FieldCase{"pressureScale2", 82, {0xFB, 0xFF}, [](auto& c) { return c.pressureScale2; }, -5},
        FieldCase{"confReserved86", 86, {0xAB}, [](auto& c) { return c.confReserved86; }, 0xAB},
        FieldCase{
            "confReserved87 end", 95, {0xCD}, [](auto& c) { return c.confReserved87[8]; }, 0xCD}),
    [](const auto& testInfo) {
        std::string name = testInfo.param.field;
        std::erase(name, ' ');
        return name;
    });

struct RejectCase {
    std::size_t offset;
    std::uint8_t value;
    const char* message;
};

void PrintTo(const RejectCase& c, std::ostream* os) {
    *os << "byte " << c.offset << " = " << unsigned{c.value};
}

class SystemConfigurationRejects : public ::testing::TestWithParam<RejectCase> {};

// A frequency or beam count that would index past a table is refused at the door.
TEST_P(SystemConfigurationRejects, ByDecodeAndDownloadCopy) {
    Bytes bytes = PatternBytes();
    bytes[GetParam().offset] = GetParam().value;
    const auto decoded = model::DecodeSystemConfiguration(bytes);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error(), GetParam().message);
    const auto copied = model::CopyReceivedSystemConfiguration(bytes);
    ASSERT_FALSE(copied.ok());
    EXPECT_EQ(copied.error(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SystemConfigurationRejects,
    ::testing::Values(RejectCase{0, 0x12, "SystemConfiguration: structure id 0x12, expected 0x10"},
                      RejectCase{25, 8, "SystemConfiguration: frequency code 8 outside 0 to 7"},
                      RejectCase{25, 255, "SystemConfiguration: frequency code 255 outside 0 to 7"},
                      RejectCase{26, 1, "SystemConfiguration: number of beams 1 outside 2 to 4"},
                      RejectCase{26, 5, "SystemConfiguration: number of beams 5 outside 2 to 4"}));

TEST(SystemConfigurationDecode, RefusesAnyOtherSize) {
    const Bytes bytes = PatternBytes();
    for (std::size_t size : {std::size_t{0}, std::size_t{64}, std::size_t{95}}) {
        const auto decoded = model::DecodeSystemConfiguration(std::span(bytes).first(size));
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.error(),
                  "SystemConfiguration: " + std::to_string(size) + " bytes, expected 96");
    }
    std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
    longer.push_back(0);
    EXPECT_FALSE(model::DecodeSystemConfiguration(longer).ok());
}

TEST(SystemConfigurationDownload, HoldsByte86AsZeroAndEveryOtherByteUnchanged) {
    Bytes received = PatternBytes();
    received[86] = 0x5A;
    received[24] = 0; // a terminated serial number, so the string rule changes nothing
    const auto copied = model::CopyReceivedSystemConfiguration(received);
    ASSERT_TRUE(copied.ok()) << copied.error();
    Bytes expected = received;
    expected[86] = 0;
    EXPECT_EQ(model::Encode(copied.value()), expected);
}

TEST(SystemConfigurationDownload, CopiesTheSerialNumberAsAString) {
    Bytes received = PatternBytes();
    const std::array<std::uint8_t, 10> serial{'Q', 'P', 'X', '1', 0, 'J', 'U', 'N', 'K', '!'};
    std::copy(serial.begin(), serial.end(), received.begin() + 15);
    const auto copied = model::CopyReceivedSystemConfiguration(received);
    ASSERT_TRUE(copied.ok()) << copied.error();
    const std::array<char, 10> expected{'Q', 'P', 'X', '1'};
    EXPECT_EQ(copied.value().serialNumber, expected);
}

TEST(SystemConfigurationDownload, CutsAnUnterminatedSerialNumberToNineCharacters) {
    Bytes received = PatternBytes();
    const std::string serial = "ABCDEFGHIJ";
    std::copy(serial.begin(), serial.end(), received.begin() + 15);
    const auto copied = model::CopyReceivedSystemConfiguration(received);
    ASSERT_TRUE(copied.ok()) << copied.error();
    EXPECT_EQ(std::string(copied.value().serialNumber.data()), "ABCDEFGHI");
    EXPECT_EQ(copied.value().systemFrequency, 5) << "byte 25 is always the frequency code";
    EXPECT_EQ(model::Encode(copied.value())[25], 5);
}

TEST(SystemConfigurationDownload, TakesTheShortBlockOfAnOldInstrument) {
    Bytes full = PatternBytes();
    full[1] = 1;
    full[24] = 0;
    const auto copied = model::CopyReceivedSystemConfiguration(
        std::span(full).first<model::kSystemConfigurationLegacySize>());
    ASSERT_TRUE(copied.ok()) << copied.error();
    const Bytes held = model::Encode(copied.value());
    EXPECT_TRUE(std::equal(held.begin(), held.begin() + 64, full.begin()));
    EXPECT_TRUE(std::all_of(held.begin() + 64, held.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(SystemConfigurationDownload, RefusesOtherLengths) {
    const Bytes bytes = PatternBytes();
    for (std::size_t size : {std::size_t{0}, std::size_t{63}, std::size_t{65}, std::size_t{95}}) {
        const auto copied = model::CopyReceivedSystemConfiguration(std::span(bytes).first(size));
        ASSERT_FALSE(copied.ok());
        EXPECT_EQ(copied.error(),
                  "SystemConfiguration: " + std::to_string(size) + " bytes, expected 64 or 96");
    }
}

} // namespace
} // namespace qpx::test
