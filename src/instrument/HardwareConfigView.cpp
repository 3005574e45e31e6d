#include "instrument/HardwareConfigView.h"

#include "model/DisplayConversions.h"
#include "model/FieldTexts.h"
#include "model/TextFormat.h"
#include "model/TransformationMatrix.h"

#include <cstddef>

namespace qpx::instrument {
namespace {

// A listed code shows its text; anything else its number.
std::string CodeText(std::string_view listed, int code) {
    return listed.empty() ? model::FormatText("%d", code) : std::string(listed);
}

std::string Flag(int flag) {
    return CodeText(model::FlagText(flag), flag);
}

std::string_view WavesOptionName(int wavesOption) {
    switch (wavesOption) {
    case 0:
        return "None";
    case 1:
        return "Basic";
    case 2:
        return "Directional";
    default:
        return {};
    }
}

// Values the template binds as float: up to six significant digits.
std::string FloatText(float value) {
    return model::FormatGeneral(value);
}
// Values bound as double: up to fifteen, so a scale of 1e8 counts x 1e-8 reads "1".
std::string DoubleText(double value) {
    return model::FormatGeneral(value, 15);
}

std::string SerialText(const std::array<char, 10>& serial) {
    std::string text;
    for (char c : serial) { // an unterminated field stops at its width
        if (c == '\0') {
            break;
        }
        text.push_back(c);
    }
    return text;
}

TransformationMatrixView MatrixView(const model::SystemConfiguration& conf) {
    const model::TransformationMatrix matrix(conf);
    TransformationMatrixView view;
    view.columns = matrix.size();
    for (int row = 0; row < matrix.size(); ++row) {
        for (int column = 0; column < matrix.size(); ++column) {
            view.entries[static_cast<std::size_t>(4 * column + row)] =
                model::MatrixElementText(matrix.stored(row, column));
        }
    }
    return view;
}

} // namespace

std::string HardwareConfigView::text(int controlId) const {
    for (const auto& field : fields) {
        if (field.controlId == controlId) {
            return field.text;
        }
    }
    return {};
}

HardwareConfigView MakeHardwareConfigView(const model::SystemConfiguration& conf, int wavesOption) {
    HardwareConfigView view;
    const std::string board =
        conf.boardRevision == '\0' ? std::string() : std::string(1, conf.boardRevision);
    view.fields = {
        {kCpuVersionId,
         "CPU Software Version #:", FloatText(model::SoftwareVersion(conf.cpuSoftwareVersion))},
        {kDspVersionId,
         "DSP Software Version #:", FloatText(model::SoftwareVersion(conf.dspSoftwareVersion))},
        {kBoardRevisionId, "Board Revision:", board},
        {kSerialNumberId, "Serial No.:", SerialText(conf.serialNumber)},
        {kFrequencyId, "System Frequency:",
         CodeText(model::FrequencyText(conf.systemFrequency), conf.systemFrequency)},
        {kNumberOfBeamsId, "Number of Beams:", model::FormatText("%d", conf.numberOfBeams)},
        {kBeamGeometryId,
         "Beam Geometry:", CodeText(model::BeamGeometryText(conf.beamGeometry), conf.beamGeometry)},
        {kSlantAngleId, "Slant Angle (deg):", FloatText(model::SlantAngleDegrees(conf.slantAngle))},
        {kOrientationId, "Sensor Orientation",
         CodeText(model::SensorOrientationText(conf.sensorOrientation), conf.sensorOrientation)},
        {kCompassId, "Compass:", Flag(conf.compassInstalled)},
        {kRecorderId, "Recorder:", Flag(conf.recorderInstalled)},
        {kTemperatureSensorId, "Temperature Sensor:", Flag(conf.temperatureSensorInstalled)},
        {kPressureSensorId, "Pressure Sensor:", Flag(conf.pressureSensorInstalled)},
        {kPressureOffsetId,
         "Pressure Offset (dbar):", DoubleText(model::PressureOffsetDbar(conf.pressureOffset))},
        {kPressureScaleId, "Press. Scale (dbar/count):",
         DoubleText(model::PressureScaleDbarPerCount(conf.pressureScale))},
        {kPressureScale2Id, "Press. Scale 2 (pdbar/c^2):",
         DoubleText(model::PressureScale2PdbarPerCount2(conf.pressureScale2))},
        {kExtPressureSensorId, "Ext. Press. Sensor:",
         CodeText(model::ExtPressureSensorText(conf.extPressureSensor), conf.extPressureSensor)},
        {kExtSensorId, "Ext Sensor:", Flag(conf.extSensorInstalled)},
        {kCtdSensorId, "CTD Sensor:", Flag(conf.ctdSensorInstalled)},
        {kWavesOptionId, "Waves Option:", CodeText(WavesOptionName(wavesOption), wavesOption)},
    };
    view.matrix = MatrixView(conf);
    return view;
}

int MatrixColumnWidth(int clientWidth, int columns) {
    return clientWidth / (columns >= 1 && columns <= 4 ? columns : 4);
}

} // namespace qpx::instrument
