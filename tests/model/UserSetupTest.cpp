#include "model/UserSetup.h"

#include <array>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Bytes = std::array<std::uint8_t, model::kUserSetupSize>;

Bytes PatternBytes() {
    Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 5 + 1);
    }
    bytes[0] = 0x12;
    return bytes;
}

TEST(UserSetupLayout, RoundTripKeepsEveryByte) {
    const Bytes bytes = PatternBytes();
    const auto decoded = model::DecodeUserSetup(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(model::Encode(decoded.value()), bytes);
}

// The odd offsets after byte 28 and the split date and time are where a layout goes wrong.
TEST(UserSetupLayout, FieldsSitAtTheirOffsets) {
    model::UserSetup setup;
    setup.defaultTemperature = -15;
    setup.soundSpeed = 15209;
    setup.temperatureMode = 1;
    setup.averagingInterval = 0x1234;
    setup.profilingInterval = 0xABCD;
    setup.profilesPerBurst = 0x0102;
    setup.coordinateSystem = 2;
    setup.deploymentName = {'D', 'E', 'F'};
    setup.startDate = {1995, 31, 12};
    setup.startTime = {59, 23, 99, 58};
    setup.comment1[0] = 'a';
    setup.comment3[59] = 'z';
    setup.userByte245 = 2;
    setup.waveOptions = 0x10;
    setup.waveSamples = 1024;
    setup.pulseCoherentMode = 1;
    setup.userReserved255 = 0x77;
    const Bytes b = model::Encode(setup);

    EXPECT_EQ(b[12], 0xF1);
    EXPECT_EQ(b[13], 0xFF);
    EXPECT_EQ(b[16] | b[17] << 8, 15209);
    EXPECT_EQ(b[28], 1);
    EXPECT_EQ(b[29], 0x34);
    EXPECT_EQ(b[30], 0x12);
    EXPECT_EQ(b[31], 0xCD);
    EXPECT_EQ(b[32], 0xAB);
    EXPECT_EQ(b[39], 0x02);
    EXPECT_EQ(b[40], 0x01);
    EXPECT_EQ(b[41], 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[47])), "DEF");
    EXPECT_EQ(b[56] | b[57] << 8, 1995);
    EXPECT_EQ(b[58], 31); // day before month
    EXPECT_EQ(b[59], 12);
    EXPECT_EQ(b[60], 59); // minute, hour, hundredths, second
    EXPECT_EQ(b[61], 23);
    EXPECT_EQ(b[62], 99);
    EXPECT_EQ(b[63], 58);
    EXPECT_EQ(b[64], 'a');
    EXPECT_EQ(b[243], 'z');
    EXPECT_EQ(b[245], 2);
    EXPECT_EQ(b[249], 0x10);
    EXPECT_EQ(b[250] | b[251] << 8, 1024);
    EXPECT_EQ(b[254], 1);
    EXPECT_EQ(b[255], 0x77);
}

TEST(UserSetupDecode, RefusesWrongIdAndSize) {
    Bytes bytes = PatternBytes();
    bytes[0] = 0x10;
    const auto wrongId = model::DecodeUserSetup(bytes);
    ASSERT_FALSE(wrongId.ok());
    EXPECT_EQ(wrongId.error(), "UserSetup: structure id 0x10, expected 0x12");

    const Bytes good = PatternBytes();
    const auto truncated = model::DecodeUserSetup(std::span(good).first(255));
    ASSERT_FALSE(truncated.ok());
    EXPECT_EQ(truncated.error(), "UserSetup: 255 bytes, expected 256");
}

// Nothing but the id is judged: odd values are the planner's to validate.
TEST(UserSetupDecode, TakesUnusualValuesAsTheyAre) {
    Bytes bytes = PatternBytes();
    bytes[249] = 0xFF; // wave type bits 3, rate code 3
    bytes[254] = 7;
    const auto decoded = model::DecodeUserSetup(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(decoded.value().waveOptions, 0xFF);
    EXPECT_EQ(decoded.value().pulseCoherentMode, 7);
}

} // namespace
} // namespace qpx::test
