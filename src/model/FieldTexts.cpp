#include "model/FieldTexts.h"

#include <array>
#include <cstddef>

namespace qpx::model {
namespace {

template <std::size_t N>
std::string_view Pick(const std::array<std::string_view, N>& table, int code) {
    if (code < 0 || static_cast<std::size_t>(code) >= N) {
        return {};
    }
    return table[static_cast<std::size_t>(code)];
}

constexpr std::array<std::string_view, 4> kBeamGeometryTexts{
    "2_Beams", "3_Beams", "4_Beams_One_Vertical", "4_Beams_JANUS"};
constexpr std::array<std::string_view, 3> kSensorOrientationTexts{"Down", "Up", "Side"};
constexpr std::array<std::string_view, 3> kExtPressureSensorTexts{"None", "PAROS", "DRUCK"};
constexpr std::array<std::string_view, 2> kBurstModeTexts{"DISABLED", "ENABLED"};
constexpr std::array<std::string_view, 3> kCoordinateSystemTexts{"Beam", "XYZ", "ENU"};
constexpr std::array<std::string_view, 2> kFlagTexts{"No", "Yes"};

} // namespace

std::string_view FrequencyText(int systemFrequency) {
    return Pick(kFrequencyTexts, systemFrequency);
}
std::string_view BeamGeometryText(int beamGeometry) {
    return Pick(kBeamGeometryTexts, beamGeometry);
}
std::string_view SensorOrientationText(int orientation) {
    return Pick(kSensorOrientationTexts, orientation);
}
std::string_view ExtPressureSensorText(int sensor) {
    return Pick(kExtPressureSensorTexts, sensor);
}
std::string_view TemperatureModeText(int mode) {
    return Pick(kTemperatureModeTexts, mode);
}
std::string_view BurstModeText(int burstMode) {
    return Pick(kBurstModeTexts, burstMode);
}
std::string_view CoordinateSystemText(int system) {
    return Pick(kCoordinateSystemTexts, system);
}
std::string_view OutputModeText(int outputMode) {
    return Pick(kOutputModeTexts, outputMode);
}
std::string_view RecorderEnabledText(int enabled) {
    return Pick(kRecorderEnabledTexts, enabled);
}
std::string_view FlagText(int flag) {
    return Pick(kFlagTexts, flag);
}

} // namespace qpx::model
