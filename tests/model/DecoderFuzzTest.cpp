#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

// Random, truncated and oversized blocks: each decoder either refuses with a message or gives a
// structure that encodes back to exactly what it was given (after the download rules).
class DecoderFuzz : public ::testing::Test {
protected:
    std::vector<std::uint8_t> RandomBlock(std::size_t nominal) {
        std::uniform_int_distribution<int> sizeChoice(0, 5);
        std::size_t size = 0;
        switch (sizeChoice(rng_)) {
        case 0:
            size = 0;
            break;
        case 1:
            size = nominal - 1;
            break;
        case 2:
            size = nominal + 1;
            break;
        case 3:
            size = std::uniform_int_distribution<std::size_t>(0, 3 * nominal)(rng_);
            break;
        default:
            size = nominal;
            break;
        }
        std::vector<std::uint8_t> block(size);
        std::uniform_int_distribution<int> byte(0, 255);
        for (auto& b : block) {
            b = static_cast<std::uint8_t>(byte(rng_));
        }
        // Often make the checked fields plausible, so that the accepting path is exercised too.
        if (!block.empty() && byte(rng_) < 192) {
            block[0] = static_cast<std::uint8_t>(0x10 + byte(rng_) % 3);
        }
        if (block.size() > 26 && byte(rng_) < 192) {
            block[25] = static_cast<std::uint8_t>(byte(rng_) % 9);
            block[26] = static_cast<std::uint8_t>(1 + byte(rng_) % 5);
        }
        return block;
    }

    std::mt19937 rng_{20260107};
};

constexpr int kRounds = 4000;

TEST_F(DecoderFuzz, SystemConfiguration) {
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto block = RandomBlock(model::kSystemConfigurationSize);
        const auto decoded = model::DecodeSystemConfiguration(block);
        if (decoded.ok()) {
            ++accepted;
            const auto bytes = model::Encode(decoded.value());
            ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), block.begin(), block.end()));
        } else {
            ASSERT_FALSE(decoded.error().empty());
        }
        const auto copied = model::CopyReceivedSystemConfiguration(block);
        if (copied.ok()) {
            ASSERT_TRUE(block.size() == 96 || block.size() == 64);
            const auto& conf = copied.value();
            ASSERT_EQ(conf.confReserved86, 0);
            ASSERT_EQ(conf.serialNumber[9], '\0');
            ASSERT_LE(conf.systemFrequency, 7);
            ASSERT_GE(conf.numberOfBeams, 2);
            ASSERT_LE(conf.numberOfBeams, 4);
        } else {
            ASSERT_FALSE(copied.error().empty());
        }
    }
    EXPECT_GT(accepted, 100) << "the accepting path was hardly exercised";
}

TEST_F(DecoderFuzz, UserSetup) {
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto block = RandomBlock(model::kUserSetupSize);
        const auto decoded = model::DecodeUserSetup(block);
        if (decoded.ok()) {
            ++accepted;
            const auto bytes = model::Encode(decoded.value());
            ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), block.begin(), block.end()));
        } else {
            ASSERT_FALSE(decoded.error().empty());
        }
    }
    EXPECT_GT(accepted, 100);
}

TEST_F(DecoderFuzz, OperationConfiguration) {
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto held = RandomBlock(model::kOperationConfigurationSize);
        const auto decoded = model::DecodeOperationConfiguration(held);
        if (decoded.ok()) {
            ++accepted;
            const auto bytes = model::Encode(decoded.value());
            ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), held.begin(), held.end()));
        } else {
            ASSERT_FALSE(decoded.error().empty());
        }

        const auto wire = RandomBlock(model::kOperationConfigurationWireSize);
        const auto widened = model::WidenOperationConfiguration(wire, 16);
        if (widened.ok()) {
            ++accepted;
            const auto bytes = model::NarrowOperationConfiguration(widened.value());
            ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), wire.begin(), wire.end()));
        } else {
            ASSERT_FALSE(widened.error().empty());
        }
    }
    EXPECT_GT(accepted, 200);
}

} // namespace
} // namespace qpx::test
