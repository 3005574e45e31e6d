#pragma once

#include <array>
#include <string_view>

namespace qpx::model {

// Frequency names by systemFrequency. Two of them have no blank before "kHz"; the hardware view
// shows them so.
inline constexpr std::array<std::string_view, 8> kFrequencyTexts{
    "3000 kHz", "1500 kHz", "750 kHz", "500 kHz", "250kHz", "1000 kHz", "5000 kHz", "125kHz"};

// The words of the settings the instrument, the planner's lists and the views name alike: the
// upload sends these words and the planner lists them.
inline constexpr std::array<std::string_view, 2> kTemperatureModeTexts{"User", "Measured"};
inline constexpr std::array<std::string_view, 2> kOutputModeTexts{"Auto", "Polled"};
inline constexpr std::array<std::string_view, 2> kRecorderEnabledTexts{"Disabled", "Enabled"};

// Texts of the one-byte code fields, as the views show them. A code outside its table (only a
// corrupt or unknown instrument sends one) gives an empty text, never a read past the table.
std::string_view FrequencyText(int systemFrequency);     // "3000 kHz" ... "125kHz"
std::string_view BeamGeometryText(int beamGeometry);     // "2_Beams" ...
std::string_view SensorOrientationText(int orientation); // "Down", "Up", "Side"
std::string_view ExtPressureSensorText(int sensor);      // "None", "PAROS", "DRUCK"
std::string_view TemperatureModeText(int mode);          // "User", "Measured"
std::string_view BurstModeText(int burstMode);           // "DISABLED", "ENABLED"
std::string_view CoordinateSystemText(int system);       // "Beam", "XYZ", "ENU"
std::string_view OutputModeText(int outputMode);         // "Auto", "Polled"
std::string_view RecorderEnabledText(int enabled);       // "Disabled", "Enabled"
std::string_view FlagText(int flag);                     // "No", "Yes"

} // namespace qpx::model
