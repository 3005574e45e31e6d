#include "instrument/PcQpxSettings.h"

#include "model/DisplayConversions.h"
#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/CheckRange.h"
#include "planning/DeploymentValues.h"
#include "planning/SystemLimits.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace qpx::instrument {
namespace {

using model::CentimetresToMetres;
using model::kFeetPerMetre;

// In English units a value less than 1 cm outside a bound is moved onto it.
constexpr float kPulseTolerance = 0.01f;
constexpr float kMinPulseLength = 0.02f;
constexpr float kMaxPulseLength = 1.0f;

// The framework's message for a box that does not hold a number.
constexpr const char* kNotANumberMessage = "Please enter a number.";

float ToShownUnit(float metres, bool metric) {
    return metric ? metres : model::MetresToFeet(metres);
}

std::string LimitText(std::optional<float> value) {
    if (!value || !std::isfinite(*value)) {
        return std::string(planning::kUnavailableText);
    }
    return model::FormatText("%5.2f", static_cast<double>(*value));
}

// V = c^2 / (4 F R) with the sound speed in 0.1 m/s and the frequency in kHz; nothing when the
// system ResLag (or the frequency) leaves no divisor.
std::optional<float> MaxVerticalVelocity(std::int16_t soundSpeed, float frequencyKHz,
                                         float systemResLag) {
    const float divisor = systemResLag * frequencyKHz;
    if (divisor == 0.0f) {
        return std::nullopt;
    }
    const int squared = soundSpeed * soundSpeed;
    return static_cast<float>(squared * 2.5e-6 / divisor);
}

// H = V / sin(slant angle); nothing for a vertical beam, which has no horizontal limit.
std::optional<float> MaxHorizontalVelocity(std::optional<float> vertical, std::int16_t slantAngle) {
    const double sine = std::sin(slantAngle * 0.1 * 0.01745329251995);
    if (!vertical || sine == 0.0) {
        return std::nullopt;
    }
    return static_cast<float>(*vertical / sine);
}

} // namespace

PcQpxSettings::PcQpxSettings(model::UnitSystem unitSystem, const model::SystemConfiguration& conf,
                             const model::UserSetup& user,
                             const model::OperationConfiguration& oper)
    : metric_(model::IsMetric(unitSystem)), conf_(conf), user_(user), oper_(oper) {
    display();
}

std::string_view PcQpxSettings::label(int labelId) const {
    struct Label {
        int id;
        std::string_view metric;
        std::string_view english;
    };
    static constexpr std::array<Label, 7> kLabels{{
        {kPulseLengthLabelId, "Pulse Length (m):", "Pulse Length (ft):"},
        {kUserPulseLagLabelId, "User Pulse Lag (m):", "User Pulse Lag (ft):"},
        {kUserResLagLabelId, "User ResLag (m):", "User ResLag (ft):"},
        {kSystemLagLabelId, "System Lag (m):", "System Lag (ft):"},
        {kSystemResLagLabelId, "System ResLag (m):", "System ResLag (ft):"},
        {kMaxVerticalVelLabelId, "Max Vertical Vel (m/s):", "Max Vertical Vel (ft/s):"},
        {kMaxHorizontalVelLabelId, "Max Horizontal Vel (m/s):", "Max Horizontal Vel (ft/s):"},
    }};
    for (const Label& entry : kLabels) {
        if (entry.id == labelId) {
            return metric_ ? entry.metric : entry.english;
        }
    }
    return {};
}

std::string PcQpxSettings::text(int controlId) const {
    switch (controlId) {
    case kPulseLengthEditId:
        return pulseLength_.text;
    case kUserPulseLagEditId:
        return userPulseLag_.text;
    case kUserResLagEditId:
        return userResLag_.text;
    case kSystemLagId:
        return systemLagText_;
    case kSystemResLagId:
        return systemResLagText_;
    case kMaxVerticalVelId:
        return verticalText_;
    case kMaxHorizontalVelId:
        return horizontalText_;
    case kMinCorrLevelId:
        return minCorrText_;
    default:
        return {};
    }
}

void PcQpxSettings::showInput(LengthInput& input, std::uint32_t centimetres) {
    const float metres = CentimetresToMetres(centimetres);
    input.heldMetres = metres;
    input.text = model::FormatGeneral(ToShownUnit(metres, metric_));
}

void PcQpxSettings::display() {
    const auto& limits = planning::SystemLimitsFor(conf_.systemFrequency);
    const float resLag = CentimetresToMetres(oper_.systemResLag);
    const auto vertical = MaxVerticalVelocity(user_.soundSpeed, limits.frequencyKHz, resLag);
    const auto horizontal = MaxHorizontalVelocity(vertical, conf_.slantAngle);
    const auto shown = [this](std::optional<float> value) -> std::optional<float> {
        if (!value) {
            return std::nullopt;
        }
        return ToShownUnit(*value, metric_);
    };

    systemResLagText_ = LimitText(shown(resLag));
    verticalText_ = LimitText(shown(vertical));
    horizontalText_ = LimitText(shown(horizontal));
    showInput(pulseLength_, oper_.pulseLength);
    showInput(userPulseLag_, oper_.userPulseLag);
    showInput(userResLag_, oper_.userResLag);
    systemLagText_ = LimitText(shown(CentimetresToMetres(oper_.systemLag)));
    minCorrText_ = model::FormatText("%3d", oper_.operByte59);
}

void PcQpxSettings::pulseLengthChanged(std::string text) {
    pulseLength_ = {std::move(text), std::nullopt};
}

void PcQpxSettings::userPulseLagChanged(std::string text) {
    userPulseLag_ = {std::move(text), std::nullopt};
}

void PcQpxSettings::userResLagChanged(std::string text) {
    userResLag_ = {std::move(text), std::nullopt};
}

PcQpxSettings::Reading PcQpxSettings::read(const LengthInput& input, int editId) const {
    if (input.heldMetres) {
        return {input.heldMetres, std::nullopt};
    }
    const auto value = model::ParseFloat(input.text);
    if (!value) {
        return {std::nullopt, planning::DialogMessage{kNotANumberMessage, editId, true}};
    }
    return {metric_ ? *value : model::FeetToMetres(*value), std::nullopt};
}

std::optional<planning::DialogMessage> PcQpxSettings::readFields() const {
    for (const auto& [input, id] : {std::pair{&pulseLength_, kPulseLengthEditId},
                                    std::pair{&userPulseLag_, kUserPulseLagEditId},
                                    std::pair{&userResLag_, kUserResLagEditId}}) {
        if (auto reading = read(*input, id); reading.message) {
            return reading.message;
        }
    }
    return std::nullopt;
}

std::string PcQpxSettings::lengthLimitsMessage(const char* metricFormat, const char* englishFormat,
                                               float min, float max) const {
    if (metric_) {
        return model::FormatText(metricFormat, static_cast<double>(min), static_cast<double>(max));
    }
    return model::FormatText(englishFormat, min * kFeetPerMetre, max * kFeetPerMetre);
}

PcQpxUpdate PcQpxSettings::update() const {
    if (auto failure = readFields()) {
        return {std::nullopt, std::move(failure)};
    }
    PulseSettings values{*read(pulseLength_, kPulseLengthEditId).value,
                         *read(userPulseLag_, kUserPulseLagEditId).value,
                         *read(userResLag_, kUserResLagEditId).value};

    if (!planning::CheckRange(values.pulseLength, kMinPulseLength, kMaxPulseLength, kPulseTolerance,
                              metric_)) {
        return {std::nullopt,
                planning::DialogMessage{
                    lengthLimitsMessage("Pulse Length should be in the range of %5.2f to %5.2f m.",
                                        "Pulse Length should be in the range of %5.2f to %5.2f ft.",
                                        kMinPulseLength, kMaxPulseLength),
                    kPulseLengthEditId, true}};
    }

    // The lag range mixes the blanking word (whole metres) with a cell size in metres before
    // scaling; that is the instrument's own rule and is kept as it is.
    const auto& limits = planning::SystemLimitsFor(conf_.systemFrequency);
    const float minLag = static_cast<float>(
        (static_cast<std::int16_t>(oper_.operWord22) + limits.pcMinCellSize) * 0.01);
    const float maxLag = static_cast<float>(static_cast<std::int16_t>(oper_.operWord24));

    if (!planning::CheckRange(values.userPulseLag, minLag, maxLag, kPulseTolerance, metric_)) {
        return {std::nullopt, planning::DialogMessage{
                                  lengthLimitsMessage(
                                      "User Pulse Lag should be in the range of %5.2f to %5.2f m.",
                                      "User Pulse Lag should be in the range of %5.2f to %5.2f ft.",
                                      minLag, maxLag),
                                  kUserPulseLagEditId, true}};
    }

    // Exactly 0 switches ambiguity resolution off, whatever the lag range.
    if (values.userResLag != 0.0f &&
        !planning::CheckRange(values.userResLag, minLag, maxLag, kPulseTolerance, metric_)) {
        return {std::nullopt, planning::DialogMessage{
                                  lengthLimitsMessage(
                                      "User ResLag should be in the range of %5.2f to %5.2f "
                                      "m.\nTo disable ambiguity resolution set User ResLag to 0.",
                                      "User ResLag should be in the range of %5.2f to %5.2f "
                                      "ft.\nTo disable ambiguity resolution set User ResLag to 0.",
                                      minLag, maxLag),
                                  kUserResLagEditId, true}};
    }
    return {values, std::nullopt};
}

void PcQpxSettings::applyReadBack(const model::OperationConfiguration& oper) {
    oper_ = oper;
    display();
}

} // namespace qpx::instrument
