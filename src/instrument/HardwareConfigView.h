#pragma once

#include "model/SystemConfiguration.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::instrument {

inline constexpr std::string_view kHardwareConfigTitle = "QPX Hardware Configuration";
inline constexpr std::array<std::string_view, 5> kHardwareConfigGroups{
    "System Parameters", "Hardware Parameters", "Extensions", "Pressure Settings",
    "Transformation Matrix:"};

// Control ids of the view, as in its dialog template.
inline constexpr int kCpuVersionId = 1061;
inline constexpr int kDspVersionId = 1062;
inline constexpr int kBoardRevisionId = 1063;
inline constexpr int kSerialNumberId = 1040;
inline constexpr int kFrequencyId = 1048;
inline constexpr int kNumberOfBeamsId = 1049;
inline constexpr int kBeamGeometryId = 1050;
inline constexpr int kSlantAngleId = 1051;
inline constexpr int kOrientationId = 1052;
inline constexpr int kCompassId = 1044;
inline constexpr int kRecorderId = 1045;
inline constexpr int kTemperatureSensorId = 1046;
inline constexpr int kPressureSensorId = 1053;
inline constexpr int kPressureOffsetId = 1054;
inline constexpr int kPressureScaleId = 1055;
inline constexpr int kPressureScale2Id = 1056;
inline constexpr int kExtPressureSensorId = 1058;
inline constexpr int kExtSensorId = 1057;
inline constexpr int kCtdSensorId = 1047;
inline constexpr int kWavesOptionId = 1059;
inline constexpr int kMatrixListId = 1065;

// One shown value: its control, the label beside it and the text it shows.
struct HardwareConfigField {
    int controlId;
    std::string_view label;
    std::string text;
};

// List 1065 lays out 16 entries four to a column, so entry 4 x column + row holds the element
// of that row and column; entries outside the beams x beams matrix are empty.
struct TransformationMatrixView {
    int columns = 0; // the number of beams, at most 4 (0: nothing shown)
    std::array<std::string, 16> entries;
};

// Everything the read-only view shows. Nothing here depends on the unit system: the view shows
// degrees and dbar only. A code byte outside its listed values (geometry, orientation, a flag,
// the external pressure sensor, the frequency, the waves option) shows its number, so a
// technician can still read what the instrument holds.
struct HardwareConfigView {
    std::vector<HardwareConfigField> fields; // in the template's order
    TransformationMatrixView matrix;

    // The text of a control; empty for an id the view does not have.
    std::string text(int controlId) const;
};

HardwareConfigView MakeHardwareConfigView(const model::SystemConfiguration& conf, int wavesOption);

// Width of one matrix column: the list's client width shared by the shown columns. A matrix
// with no columns keeps the four-column layout instead of dividing by zero.
int MatrixColumnWidth(int clientWidth, int columns);

} // namespace qpx::instrument
