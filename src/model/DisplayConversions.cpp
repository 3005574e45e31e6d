#include "model/DisplayConversions.h"

#include "model/TextFormat.h"

namespace qpx::model {

float SoftwareVersion(std::uint8_t version) {
    return static_cast<float>(version * 0.1);
}

float SlantAngleDegrees(std::int16_t slantAngle) {
    return static_cast<float>(slantAngle * 0.1);
}

double PressureOffsetDbar(std::int32_t pressureOffset) {
    return pressureOffset * 0.00001;
}

double PressureScaleDbarPerCount(std::int32_t pressureScale) {
    return pressureScale * 1e-8;
}

double PressureScale2PdbarPerCount2(std::int16_t pressureScale2) {
    return pressureScale2;
}

float CentimetresToMetres(std::uint32_t centimetres) {
    return static_cast<float>(centimetres * 0.01);
}

float TenthsToUnits(std::int16_t tenths) {
    return static_cast<float>(tenths * 0.1);
}

float IntervalSeconds(std::uint16_t interval, std::uint8_t pulseCoherentMode) {
    if (pulseCoherentMode != 0) {
        return static_cast<float>(interval * 0.1);
    }
    return static_cast<float>(interval);
}

double MatrixElement(std::int16_t stored) {
    return stored / 1024.0;
}

std::string MatrixElementText(std::int16_t stored) {
    return FormatText("%8.3f", MatrixElement(stored));
}

} // namespace qpx::model
