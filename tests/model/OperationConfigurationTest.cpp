#include "model/OperationConfiguration.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Held = std::array<std::uint8_t, model::kOperationConfigurationSize>;
using Wire = std::array<std::uint8_t, model::kOperationConfigurationWireSize>;

template <std::size_t N>
std::array<std::uint8_t, N> PatternBytes() {
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 11 + 2);
    }
    bytes[0] = 0x11;
    return bytes;
}

std::uint32_t Wide(std::uint8_t low, std::uint8_t high) {
    return static_cast<std::uint32_t>(low | high << 8);
}

TEST(OperationConfigurationLayout, HeldRoundTripKeepsEveryByte) {
    const Held bytes = PatternBytes<86>();
    const auto decoded = model::DecodeOperationConfiguration(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(model::Encode(decoded.value()), bytes);
}

// Each received field lands at its held place; 16-bit values only fill the low halves.
TEST(OperationConfigurationWidening, MovesEveryFieldToItsHeldOffset) {
    const Wire w = PatternBytes<64>();
    const auto widened = model::WidenOperationConfiguration(w, 16);
    ASSERT_TRUE(widened.ok()) << widened.error();
    const model::OperationConfiguration& o = widened.value();
    EXPECT_EQ(o.operWord12, Wide(w[12], w[13]));
    EXPECT_EQ(o.operWord36, Wide(w[36], w[37]));
    EXPECT_EQ(o.operByte38, w[38]);
    EXPECT_EQ(o.operLong39, Wide(w[39], w[40]));
    EXPECT_EQ(o.pulseLength, Wide(w[41], w[42]));
    EXPECT_EQ(o.operLong47, Wide(w[43], w[44]));
    EXPECT_EQ(o.userPulseLag, Wide(w[45], w[46]));
    EXPECT_EQ(o.systemLag, Wide(w[47], w[48]));
    EXPECT_EQ(o.operByte59, w[49]);
    EXPECT_EQ(o.operLong60, Wide(w[50], w[51]));
    EXPECT_EQ(o.operLong72, Wide(w[56], w[57]));
    EXPECT_EQ(o.userResLag, Wide(w[58], w[59]));
    EXPECT_EQ(o.systemResLag, Wide(w[60], w[61]));
    EXPECT_EQ(o.operWord84, Wide(w[62], w[63]));

    const Held held = model::Encode(o);
    EXPECT_TRUE(std::equal(held.begin(), held.begin() + 39, w.begin()));
    for (std::size_t offset : {41u, 45u, 49u, 53u, 57u, 62u, 66u, 70u, 74u, 78u, 82u}) {
        EXPECT_EQ(held[offset], 0) << "high half at held offset " << offset;
        EXPECT_EQ(held[offset + 1], 0) << "high half at held offset " << offset;
    }
    EXPECT_EQ(model::NarrowOperationConfiguration(o), w);
}

TEST(OperationConfigurationWidening, TakesSixteenBitValuesUnsigned) {
    Wire w = PatternBytes<64>();
    w[41] = 0xFF; // pulseLength
    w[42] = 0xFF;
    w[58] = 0xFF; // userResLag
    w[59] = 0xFF;
    const auto widened = model::WidenOperationConfiguration(w, 0);
    ASSERT_TRUE(widened.ok()) << widened.error();
    EXPECT_EQ(widened.value().pulseLength, 65535u);
    EXPECT_EQ(widened.value().userResLag, 65535u);
}

class SystemLagVersion : public ::testing::TestWithParam<std::uint8_t> {};

TEST_P(SystemLagVersion, TakesTheSystemLagsFromVersionSixteenOn) {
    const std::uint8_t version = GetParam();
    const Wire w = PatternBytes<64>();
    const auto widened = model::WidenOperationConfiguration(w, version);
    ASSERT_TRUE(widened.ok()) << widened.error();
    const bool taken = version >= 16;
    EXPECT_EQ(widened.value().systemLag, taken ? Wide(w[47], w[48]) : 0u);
    EXPECT_EQ(widened.value().systemResLag, taken ? Wide(w[60], w[61]) : 0u);
    // The user lags do not depend on the version.
    EXPECT_EQ(widened.value().userPulseLag, Wide(w[45], w[46]));
    EXPECT_EQ(widened.value().userResLag, Wide(w[58], w[59]));
}

INSTANTIATE_TEST_SUITE_P(Versions, SystemLagVersion,
                         ::testing::Values(std::uint8_t{0}, std::uint8_t{15}, std::uint8_t{16},
                                           std::uint8_t{17}, std::uint8_t{255}));

TEST(OperationConfigurationNarrowing, KeepsOnlyTheLowHalves) {
    model::OperationConfiguration o;
    o.structureId = 0x11;
    o.pulseLength = 0x00012345;
    o.systemResLag = 0xFFFFFFFF;
    const Wire w = model::NarrowOperationConfiguration(o);
    EXPECT_EQ(w[41], 0x45);
    EXPECT_EQ(w[42], 0x23);
    EXPECT_EQ(w[60], 0xFF);
    EXPECT_EQ(w[61], 0xFF);
    EXPECT_EQ(w[62], 0); // operWord84 follows directly
}

TEST(OperationConfigurationDecode, RefusesWrongIdAndSize) {
    Held held = PatternBytes<86>();
    held[0] = 0x12;
    const auto wrongId = model::DecodeOperationConfiguration(held);
    ASSERT_FALSE(wrongId.ok());
    EXPECT_EQ(wrongId.error(), "OperationConfiguration: structure id 0x12, expected 0x11");

    Wire wire = PatternBytes<64>();
    wire[0] = 0x10;
    const auto wrongWireId = model::WidenOperationConfiguration(wire, 16);
    ASSERT_FALSE(wrongWireId.ok());
    EXPECT_EQ(wrongWireId.error(), "OperationConfiguration: structure id 0x10, expected 0x11");

    const Held good = PatternBytes<86>();
    const auto heldAsWire = model::WidenOperationConfiguration(good, 16);
    ASSERT_FALSE(heldAsWire.ok());
    EXPECT_EQ(heldAsWire.error(), "OperationConfiguration: 86 bytes, expected 64");
    const auto wireAsHeld = model::DecodeOperationConfiguration(std::span(good).first(64));
    ASSERT_FALSE(wireAsHeld.ok());
    EXPECT_EQ(wireAsHeld.error(), "OperationConfiguration: 64 bytes, expected 86");
}

} // namespace
} // namespace qpx::test
