#include "planning/DefaultStructures.h"

#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

std::uint16_t U16(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// Buffers start dirty: the builders must clear everything they do not set.
template <std::size_t N>
std::array<std::uint8_t, N> Dirty() {
    std::array<std::uint8_t, N> bytes;
    bytes.fill(0xA5);
    return bytes;
}

struct FrequencyDefaults {
    int index;
    std::uint16_t cells;
    std::uint16_t cellSize;
    std::uint16_t blanking;
    std::uint16_t word22;
    std::uint16_t word24;
    std::uint16_t word26;
};

void PrintTo(const FrequencyDefaults& c, std::ostream* os) {
    *os << "frequency index " << c.index;
}

class DefaultsByFrequency : public ::testing::TestWithParam<FrequencyDefaults> {};

TEST_P(DefaultsByFrequency, SystemConfigurationBytes) {
    auto b = Dirty<96>();
    planning::DefaultSystemConfiguration(b, GetParam().index);
    std::array<std::uint8_t, 96> expected{};
    expected[0] = 0x10;
    expected[1] = 2;
    expected[2] = 64;
    expected[14] = 'D';
    std::memcpy(&expected[15], "DEFAULT", 7);
    expected[25] = static_cast<std::uint8_t>(GetParam().index);
    expected[26] = 3;    // beams
    expected[27] = 1;    // "3_Beams"
    expected[28] = 250;  // slant angle 25.0 degrees
    expected[30] = 1;    // "Up"
    expected[32] = 1;    // recorder
    expected[33] = 1;    // temperature sensor
    expected[34] = 1;    // pressure sensor
    expected[70] = 0x00; // pressureScale 100000000 = 0x05F5E100
    expected[71] = 0xE1;
    expected[72] = 0xF5;
    expected[73] = 0x05;
    expected[78] = 1;
    EXPECT_EQ(b, expected);
    EXPECT_TRUE(model::DecodeSystemConfiguration(b).ok());
}

TEST_P(DefaultsByFrequency, UserSetupBytes) {
    const FrequencyDefaults& d = GetParam();
    auto b = Dirty<256>();
    planning::DefaultUserSetup(b, d.index);
    std::array<std::uint8_t, 256> expected{};
    auto put16 = [&expected](std::size_t offset, unsigned value) {
        expected[offset] = static_cast<std::uint8_t>(value & 0xFF);
        expected[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    expected[0] = 0x12;
    expected[1] = 2;
    put16(2, 256);
    put16(12, 200);   // 20.0 degC
    put16(14, 345);   // 34.5 ppt
    put16(16, 15209); // sound speed x 10
    put16(18, d.cells);
    put16(20, d.cellSize);
    put16(22, d.blanking);
    expected[28] = 1; // measured temperature
    put16(29, 120);
    put16(31, 1200);
    put16(37, 1200);
    put16(39, 1);
    expected[41] = 2; // ENU
    expected[43] = 1;
    expected[44] = 1;
    expected[46] = 1;
    std::memcpy(&expected[47], "DEF", 3);
    put16(56, 1995);
    expected[58] = 1;
    expected[59] = 1;
    expected[244] = 1;
    EXPECT_EQ(b, expected);
    EXPECT_TRUE(model::DecodeUserSetup(b).ok());
}

TEST_P(DefaultsByFrequency, OperationConfigurationBytes) {
    const FrequencyDefaults& d = GetParam();
    auto b = Dirty<86>();
    planning::DefaultOperationConfiguration(b, d.index);
    std::array<std::uint8_t, 86> expected{};
    auto put16 = [&expected](std::size_t offset, unsigned value) {
        expected[offset] = static_cast<std::uint8_t>(value & 0xFF);
        expected[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    expected[0] = 0x11;
    expected[1] = 2;
    put16(2, 86);
    put16(12, 5);
    put16(14, 4);
    put16(16, 1);
    put16(18, 50);
    put16(20, 5);
    put16(22, d.word22);
    put16(24, d.word24);
    put16(26, d.word26);
    put16(28, 1);
    EXPECT_EQ(b, expected);
    EXPECT_TRUE(model::DecodeOperationConfiguration(b).ok());
}

TEST_P(DefaultsByFrequency, TypedFormsMatchTheBuffers) {
    const int index = GetParam().index;
    std::array<std::uint8_t, 96> conf{};
    std::array<std::uint8_t, 256> setup{};
    std::array<std::uint8_t, 86> oper{};
    planning::DefaultSystemConfiguration(conf, index);
    planning::DefaultUserSetup(setup, index);
    planning::DefaultOperationConfiguration(oper, index);
    EXPECT_EQ(model::Encode(planning::MakeDefaultSystemConfiguration(index)), conf);
    EXPECT_EQ(model::Encode(planning::MakeDefaultUserSetup(index)), setup);
    EXPECT_EQ(model::Encode(planning::MakeDefaultOperationConfiguration(index)), oper);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, DefaultsByFrequency,
                         ::testing::Values(FrequencyDefaults{0, 12, 50, 20, 0, 10, 10},
                                           FrequencyDefaults{1, 20, 100, 40, 0, 30, 30},
                                           FrequencyDefaults{2, 30, 200, 80, 0, 80, 80},
                                           FrequencyDefaults{3, 30, 400, 100, 1, 130, 100},
                                           FrequencyDefaults{4, 30, 400, 150, 1, 200, 150},
                                           FrequencyDefaults{5, 25, 100, 50, 0, 45, 45},
                                           FrequencyDefaults{6, 12, 20, 10, 0, 8, 7},
                                           FrequencyDefaults{7, 30, 800, 400, 4, 500, 300}));

// The simulator may ask for any index; the copy must still be one the decoders accept.
TEST(DefaultStructures, FrequencyOutsideTheTableIsClamped) {
    std::array<std::uint8_t, 96> conf{};
    planning::DefaultSystemConfiguration(conf, 12);
    EXPECT_EQ(conf[25], 7);
    EXPECT_TRUE(model::DecodeSystemConfiguration(conf).ok());
    planning::DefaultSystemConfiguration(conf, -3);
    EXPECT_EQ(conf[25], 0);
    EXPECT_EQ(planning::MakeDefaultUserSetup(12).cellSize, 800);
}

struct WavesCase {
    int wavesIndex;
    std::uint8_t before;
    std::uint8_t after;
};

void PrintTo(const WavesCase& c, std::ostream* os) {
    *os << "waves " << c.wavesIndex << " on 0x" << std::hex << unsigned{c.before};
}

class WavesOption : public ::testing::TestWithParam<WavesCase> {};

TEST_P(WavesOption, ChangesOnlyTheWaveFields) {
    std::array<std::uint8_t, 256> setup{};
    planning::DefaultUserSetup(setup, 1);
    setup[249] = GetParam().before;
    const auto original = setup;
    planning::ApplyWavesOption(setup, GetParam().wavesIndex);
    EXPECT_EQ(setup[248], 4);
    EXPECT_EQ(setup[249], GetParam().after);
    EXPECT_EQ(U16(setup.data(), 250), 1024);
    EXPECT_EQ(setup[252], 1);
    for (std::size_t i = 0; i < setup.size(); ++i) {
        if (i < 248 || i > 252) {
            EXPECT_EQ(setup[i], original[i]) << "byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, WavesOption,
    ::testing::Values(WavesCase{0, 0x00, 0xF0}, WavesCase{1, 0x00, 0x00}, WavesCase{2, 0x00, 0x10},
                      // Bits 0, 6 and 7 survive; the wave type and rate bits do not.
                      WavesCase{1, 0xFF, 0xC1}, WavesCase{2, 0xC1, 0xD1}, WavesCase{0, 0x0C, 0xF0},
                      // Indices the list never offers still compute on 8 bits.
                      WavesCase{3, 0x00, 0x20}, WavesCase{17, 0x00, 0x00},
                      WavesCase{-1, 0x00, 0xE0}, WavesCase{2147483647, 0x00, 0xE0}));

TEST(WavesOption, TypedFormMatchesTheBuffer) {
    model::UserSetup typed = planning::MakeDefaultUserSetup(3);
    typed.waveOptions = 0x41;
    std::array<std::uint8_t, 256> buffer = model::Encode(typed);
    planning::ApplyWavesOption(typed, 2);
    planning::ApplyWavesOption(buffer, 2);
    EXPECT_EQ(model::Encode(typed), buffer);
    EXPECT_EQ(typed.waveOptions, 0x51);
}

TEST(DefaultStructures, PlanningDefaultsFor1500kHz) {
    auto setup = planning::MakeDefaultUserSetup(1);
    planning::ApplyWavesOption(setup, 0);
    EXPECT_EQ(setup.numberOfCells, 20);
    EXPECT_EQ(setup.cellSize, 100);
    EXPECT_EQ(setup.blankingDistance, 40);
    EXPECT_EQ(setup.waveOptions, 0xF0);
    EXPECT_EQ(setup.waveInterval, 4);
    EXPECT_EQ(setup.waveSamples, 1024);
    EXPECT_EQ(setup.waveEnabled, 1);
    EXPECT_EQ(setup.pulseCoherentMode, 0);
    EXPECT_EQ(std::string(setup.deploymentName.data()), "DEF");
}

} // namespace
} // namespace qpx::test
