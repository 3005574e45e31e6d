#include "model/DisplayConversions.h"

#include "model/FieldTexts.h"
#include "model/TransformationMatrix.h"
#include "model/Units.h"

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

TEST(DisplayConversions, PressureCalibration) {
    EXPECT_DOUBLE_EQ(model::PressureOffsetDbar(250), 0.0025);
    EXPECT_DOUBLE_EQ(model::PressureScaleDbarPerCount(-3), -3e-8);
    EXPECT_DOUBLE_EQ(model::PressureScaleDbarPerCount(100000000), 1.0);
    EXPECT_DOUBLE_EQ(model::PressureScale2PdbarPerCount2(-5), -5.0);
}

TEST(DisplayConversions, ScaledFields) {
    EXPECT_FLOAT_EQ(model::SoftwareVersion(16), 1.6f);
    EXPECT_FLOAT_EQ(model::SlantAngleDegrees(-5), -0.5f);
    EXPECT_FLOAT_EQ(model::CentimetresToMetres(65535), 655.35f);
    EXPECT_FLOAT_EQ(model::TenthsToUnits(-15), -1.5f);
}

TEST(DisplayConversions, IntervalsAreTenthsOnlyInPulseCoherentMode) {
    EXPECT_FLOAT_EQ(model::IntervalSeconds(1200, 0), 1200.0f);
    EXPECT_FLOAT_EQ(model::IntervalSeconds(1200, 1), 120.0f);
    EXPECT_FLOAT_EQ(model::IntervalSeconds(5, 2), 0.5f);
}

TEST(DisplayConversions, MatrixElementText) {
    EXPECT_EQ(model::MatrixElementText(1024), "   1.000");
    EXPECT_EQ(model::MatrixElementText(-724), "  -0.707");
    EXPECT_EQ(model::MatrixElementText(-32768), " -32.000");
}

model::SystemConfiguration ConfWithCountingMatrix(std::uint8_t beams) {
    model::SystemConfiguration conf;
    conf.numberOfBeams = beams;
    for (std::size_t i = 0; i < conf.transformationMatrix.size(); ++i) {
        conf.transformationMatrix[i] = static_cast<std::int16_t>(100 + i);
    }
    return conf;
}

TEST(TransformationMatrix, IsPackedRowByRowForItsBeamCount) {
    const model::TransformationMatrix two(ConfWithCountingMatrix(2));
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two.stored(0, 0), 100);
    EXPECT_EQ(two.stored(0, 1), 101);
    EXPECT_EQ(two.stored(1, 0), 102); // not element 4: no gaps between rows
    EXPECT_EQ(two.stored(1, 1), 103);
    EXPECT_EQ(two.stored(2, 0), 0);

    const model::TransformationMatrix three(ConfWithCountingMatrix(3));
    EXPECT_EQ(three.stored(2, 2), 108);
    EXPECT_EQ(three.stored(0, 3), 0);
    EXPECT_DOUBLE_EQ(three.element(1, 0), 103 / 1024.0);

    const model::TransformationMatrix four(ConfWithCountingMatrix(4));
    EXPECT_EQ(four.stored(3, 3), 115);
}

TEST(TransformationMatrix, NeverReachesPastTheStoredElements) {
    const model::TransformationMatrix corrupt(ConfWithCountingMatrix(200));
    EXPECT_EQ(corrupt.size(), 4);
    EXPECT_EQ(corrupt.stored(3, 3), 115);
    EXPECT_EQ(corrupt.stored(4, 0), 0);
    EXPECT_EQ(corrupt.stored(-1, 0), 0);
}

// The two frequency names without a blank are easy to "correct" by mistake.
TEST(FieldTexts, CodesOutsideTheirTablesHaveNoText) {
    EXPECT_EQ(model::FrequencyText(4), "250kHz");
    EXPECT_EQ(model::FrequencyText(7), "125kHz");
    for (int code : {-1, 8, 255}) {
        EXPECT_EQ(model::FrequencyText(code), "") << code;
    }
    EXPECT_EQ(model::BeamGeometryText(4), "");
    EXPECT_EQ(model::SensorOrientationText(3), "");
    EXPECT_EQ(model::ExtPressureSensorText(3), "");
    EXPECT_EQ(model::FlagText(2), "");
}

TEST(Units, ConversionFactors) {
    EXPECT_TRUE(model::IsMetric(1));
    EXPECT_FALSE(model::IsMetric(0));
    EXPECT_FALSE(model::IsMetric(2));
    EXPECT_FLOAT_EQ(model::MetresToFeet(10.0f), 32.8084f);
    EXPECT_FLOAT_EQ(model::FeetToMetres(32.8084f), 10.0f);
    EXPECT_FLOAT_EQ(model::CelsiusToFahrenheit(20.0f), 68.0f);
    EXPECT_FLOAT_EQ(model::CelsiusToFahrenheit(-5.0f), 23.0f);
    EXPECT_FLOAT_EQ(model::FahrenheitToCelsius(122.0f), 50.0f);
    EXPECT_NEAR(model::FahrenheitToCelsius(122.5f), 50.28f, 0.005f);
}

} // namespace
} // namespace qpx::test
