#include "instrument/HardwareConfigView.h"

#include "model/TextFormat.h"
#include "planning/DefaultStructures.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::MakeHardwareConfigView;

model::SystemConfiguration ExampleConfiguration() {
    model::SystemConfiguration conf = planning::MakeDefaultSystemConfiguration(1);
    conf.cpuSoftwareVersion = 16;
    conf.dspSoftwareVersion = 21;
    conf.pressureOffset = 250;
    conf.pressureScale = -3;
    conf.pressureScale2 = -5;
    return conf;
}

struct ShownField {
    int controlId;
    const char* text;
};

void PrintTo(const ShownField& f, std::ostream* os) {
    *os << f.controlId << " " << f.text;
}

class HardwareConfigViewFields : public testing::TestWithParam<ShownField> {};

TEST_P(HardwareConfigViewFields, ShowsTheStoredValueAsTheViewDoes) {
    const auto view = MakeHardwareConfigView(ExampleConfiguration(), 1);
    EXPECT_EQ(view.text(GetParam().controlId), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(DefaultInstrument, HardwareConfigViewFields,
                         testing::Values(ShownField{instrument::kCpuVersionId, "1.6"},
                                         ShownField{instrument::kDspVersionId, "2.1"},
                                         ShownField{instrument::kBoardRevisionId, "D"},
                                         ShownField{instrument::kSerialNumberId, "DEFAULT"},
                                         ShownField{instrument::kFrequencyId, "1500 kHz"},
                                         ShownField{instrument::kNumberOfBeamsId, "3"},
                                         ShownField{instrument::kBeamGeometryId, "3_Beams"},
                                         ShownField{instrument::kSlantAngleId, "25"},
                                         ShownField{instrument::kOrientationId, "Up"},
                                         ShownField{instrument::kCompassId, "No"},
                                         ShownField{instrument::kRecorderId, "Yes"},
                                         ShownField{instrument::kPressureOffsetId, "0.0025"},
                                         ShownField{instrument::kPressureScaleId, "-3e-08"},
                                         ShownField{instrument::kPressureScale2Id, "-5"},
                                         ShownField{instrument::kExtPressureSensorId, "None"},
                                         ShownField{instrument::kCtdSensorId, "No"},
                                         ShownField{instrument::kWavesOptionId, "Basic"}));

TEST(HardwareConfigView, PressureScaleOfOneDbarPerCountReadsOne) {
    const auto view = MakeHardwareConfigView(planning::MakeDefaultSystemConfiguration(0), 0);
    EXPECT_EQ(view.text(instrument::kPressureScaleId), "1");
    EXPECT_EQ(view.text(instrument::kFrequencyId), "3000 kHz");
    EXPECT_EQ(view.text(instrument::kWavesOptionId), "None");
}

TEST(HardwareConfigView, FrequencyLabelsKeepTheirOwnSpelling) {
    auto conf = planning::MakeDefaultSystemConfiguration(4);
    EXPECT_EQ(MakeHardwareConfigView(conf, 2).text(instrument::kFrequencyId), "250kHz");
    EXPECT_EQ(MakeHardwareConfigView(conf, 2).text(instrument::kWavesOptionId), "Directional");
}

// Codes no table lists show their number, not an empty box and not a read past a table.
TEST(HardwareConfigView, UnlistedCodesShowTheirNumber) {
    auto conf = ExampleConfiguration();
    conf.systemFrequency = 8;
    conf.beamGeometry = 7;
    conf.sensorOrientation = 3;
    conf.compassInstalled = 2;
    conf.extPressureSensor = 200;
    const auto view = MakeHardwareConfigView(conf, 5);
    EXPECT_EQ(view.text(instrument::kFrequencyId), "8");
    EXPECT_EQ(view.text(instrument::kBeamGeometryId), "7");
    EXPECT_EQ(view.text(instrument::kOrientationId), "3");
    EXPECT_EQ(view.text(instrument::kCompassId), "2");
    EXPECT_EQ(view.text(instrument::kExtPressureSensorId), "200");
    EXPECT_EQ(view.text(instrument::kWavesOptionId), "5");
}

TEST(HardwareConfigView, BoardRevisionZeroIsEmpty) {
    auto conf = ExampleConfiguration();
    conf.boardRevision = '\0';
    EXPECT_EQ(MakeHardwareConfigView(conf, 0).text(instrument::kBoardRevisionId), "");
}

TEST(HardwareConfigView, UnterminatedSerialNumberStopsAtItsWidth) {
    auto conf = ExampleConfiguration();
    std::memcpy(conf.serialNumber.data(), "ABCDEFGHIJ", 10);
    EXPECT_EQ(MakeHardwareConfigView(conf, 0).text(instrument::kSerialNumberId), "ABCDEFGHIJ");
}

// Element (row, column) of a B x B matrix is stored at row x B + column and shown in list entry
// 4 x column + row; every other entry stays empty, whatever the unused elements hold.
class HardwareConfigMatrix : public testing::TestWithParam<int> {};

TEST_P(HardwareConfigMatrix, FillsTheBeamsByBeamsGridOnly) {
    const int beams = GetParam();
    auto conf = ExampleConfiguration();
    conf.numberOfBeams = static_cast<std::uint8_t>(beams);
    for (std::size_t i = 0; i < conf.transformationMatrix.size(); ++i) {
        conf.transformationMatrix[i] = static_cast<std::int16_t>(100 * (static_cast<int>(i) + 1));
    }
    const auto view = MakeHardwareConfigView(conf, 0);
    EXPECT_EQ(view.matrix.columns, beams);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const auto& entry = view.matrix.entries[static_cast<std::size_t>(4 * column + row)];
            if (row < beams && column < beams) {
                const double value = 100.0 * (row * beams + column + 1) / 1024.0;
                EXPECT_EQ(entry, model::FormatText("%8.3f", value)) << row << "," << column;
            } else {
                EXPECT_EQ(entry, "") << row << "," << column;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Beams, HardwareConfigMatrix, testing::Values(2, 3, 4));

TEST(HardwareConfigView, MatrixElementsAreRightAlignedInEightCharacters) {
    auto conf = ExampleConfiguration();
    conf.transformationMatrix[0] = 1024;
    conf.transformationMatrix[1] = -724;
    const auto view = MakeHardwareConfigView(conf, 0);
    EXPECT_EQ(view.matrix.entries[0], "   1.000");
    EXPECT_EQ(view.matrix.entries[4], "  -0.707"); // row 0, column 1
}

TEST(HardwareConfigView, NoBeamsShowsNoMatrixAndDividesNothingByZero) {
    auto conf = ExampleConfiguration();
    conf.numberOfBeams = 0;
    const auto view = MakeHardwareConfigView(conf, 0);
    EXPECT_EQ(view.matrix.columns, 0);
    for (const auto& entry : view.matrix.entries) {
        EXPECT_EQ(entry, "");
    }
    EXPECT_EQ(instrument::MatrixColumnWidth(400, view.matrix.columns), 100);
    EXPECT_EQ(instrument::MatrixColumnWidth(300, 3), 100);
}

} // namespace
} // namespace qpx::test
