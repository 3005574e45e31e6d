#include "planning/AdvancedSettings.h"

#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/CheckRange.h"
#include "planning/SoundSpeed.h"

#include <cmath>
#include <limits>
#include <utility>

namespace qpx::planning {
namespace {

// The temperature box in English units shows degrees Fahrenheit rounded (half away from zero)
// to two decimals.
float ShownFahrenheit(float celsius) {
    const double fahrenheit = celsius * 1.8 + 32.0;
    return static_cast<float>(std::round(fahrenheit * 100.0) / 100.0);
}

// The framework's own field messages, which come before the dialog's checks.
DialogMessage NotANumber(int id) {
    return {"Please enter a number.", id, true};
}
DialogMessage NotAnInteger(int id) {
    return {"Please enter an integer.", id, true};
}

constexpr float kMinTemperatureC = -5.0f;
constexpr float kMaxTemperatureC = 50.0f;
// Half a degree: a bound typed in whole degrees Fahrenheit lands within that of the Celsius one.
constexpr float kTemperatureTolerance = 0.5f;
constexpr float kMaxSalinity = 60.0f;
constexpr float kMaxBurstInterval = 43200.0f;
constexpr int kMaxProfilesPerBurst = 1000;

} // namespace

AdvancedSettings::AdvancedSettings(model::UnitSystem unitSystem, const AdvancedBlock& block)
    : unitSystem_(unitSystem), temperatureMode_(block.temperatureMode),
      burstMode_(block.burstMode) {
    const float shownTemperature =
        metric() ? block.temperatureC : ShownFahrenheit(block.temperatureC);
    const std::string temperatureText = model::FormatGeneral(shownTemperature);
    temperature_ = {temperatureText, temperatureText, block.temperatureC};
    const std::string salinityText = model::FormatGeneral(block.salinity);
    salinity_ = {salinityText, salinityText, block.salinity};
    const std::string burstText = model::FormatGeneral(block.burstInterval);
    burstInterval_ = {burstText, burstText, block.burstInterval};
    profilesPerBurstText_ = model::FormatText("%d", block.profilesPerBurst);
    showSoundSpeed(block.salinity, block.temperatureC);
}

void AdvancedSettings::temperatureModeSelected(int index) {
    if (index >= 0) {
        temperatureMode_ = index;
    }
}

std::optional<DialogMessage> AdvancedSettings::burstModeSelected(int index) {
    if (index >= 0) {
        burstMode_ = index;
    }
    return readScreen().message;
}

void AdvancedSettings::temperatureTextChanged(std::string text) {
    temperature_.text = std::move(text);
}

void AdvancedSettings::salinityTextChanged(std::string text) {
    salinity_.text = std::move(text);
}

void AdvancedSettings::burstIntervalTextChanged(std::string text) {
    burstInterval_.text = std::move(text);
}

void AdvancedSettings::profilesPerBurstTextChanged(std::string text) {
    profilesPerBurstText_ = std::move(text);
}

std::optional<DialogMessage> AdvancedSettings::temperatureFocusLost() {
    return recomputeSoundSpeed();
}

std::optional<DialogMessage> AdvancedSettings::salinityFocusLost() {
    return recomputeSoundSpeed();
}

AdvancedSettings::ScreenReading AdvancedSettings::readScreen() const {
    ScreenValues values;
    // An untouched box gives back the value it was opened with, not the value its (rounded,
    // converted) text would read as.
    if (temperature_.untouched()) {
        values.temperatureC = temperature_.openedValue;
    } else {
        const std::optional<float> shown = model::ParseFloat(temperature_.text);
        if (!shown) {
            return {std::nullopt, NotANumber(kTemperatureId)};
        }
        values.temperatureC = metric() ? *shown : model::FahrenheitToCelsius(*shown);
    }
    if (salinity_.untouched()) {
        values.salinity = salinity_.openedValue;
    } else {
        const std::optional<float> salinity = model::ParseFloat(salinity_.text);
        if (!salinity) {
            return {std::nullopt, NotANumber(kSalinityId)};
        }
        values.salinity = *salinity;
    }
    if (!(values.salinity >= 0.0f && values.salinity <= kMaxSalinity)) {
        return {std::nullopt,
                DialogMessage{"Please enter a number between 0 and 60.", kSalinityId, true}};
    }
    if (burstInterval_.untouched()) {
        values.burstInterval = burstInterval_.openedValue;
    } else {
        const std::optional<float> interval = model::ParseFloat(burstInterval_.text);
        if (!interval) {
            return {std::nullopt, NotANumber(kBurstIntervalId)};
        }
        values.burstInterval = *interval;
    }
    const std::optional<long long> profiles = model::ParseInteger(profilesPerBurstText_);
    if (!profiles || *profiles < std::numeric_limits<int>::min() ||
        *profiles > std::numeric_limits<int>::max()) {
        return {std::nullopt, NotAnInteger(kProfilesPerBurstId)};
    }
    values.profilesPerBurst = static_cast<int>(*profiles);
    return {values, std::nullopt};
}

std::optional<DialogMessage> AdvancedSettings::recomputeSoundSpeed() {
    const ScreenReading reading = readScreen();
    if (reading.message) {
        return reading.message;
    }
    showSoundSpeed(reading.value->salinity, reading.value->temperatureC);
    return std::nullopt;
}

void AdvancedSettings::showSoundSpeed(float salinity, float temperatureC) {
    const double speed = SoundSpeed(salinity, temperatureC, 0.0f);
    soundSpeedText_ = model::FormatText("%10.2f", metric() ? speed : speed * model::kFeetPerMetre);
}

AdvancedSettings::OkResult AdvancedSettings::ok() const {
    const ScreenReading reading = readScreen();
    if (reading.message) {
        return {std::nullopt, reading.message};
    }
    ScreenValues values = *reading.value;

    if (!CheckRange(values.temperatureC, kMinTemperatureC, kMaxTemperatureC, kTemperatureTolerance,
                    metric())) {
        const std::string text =
            metric() ? model::FormatText(
                           "Water Temperature should be in the range of %5.1f to %5.1f deg C.",
                           -5.0, 50.0)
                     : model::FormatText(
                           "Water Temperature should be in the range of %5.1f to %5.1f deg F.",
                           23.0, 122.0);
        return {std::nullopt, DialogMessage{text, kTemperatureId, true}};
    }
    if (!(values.salinity >= 0.0f && values.salinity <= kMaxSalinity)) {
        return {std::nullopt, DialogMessage{"Water salinity should be in the range of 0 to 60.",
                                            kSalinityId, true}};
    }
    // 0 is the value held while burst mode is disabled. With bursts enabled it would make every
    // estimate divide by zero, and anything under a second is sent as 0.
    const float minBurstInterval = burstMode_ == 1 ? 1.0f : 0.0f;
    if (!(values.burstInterval >= minBurstInterval && values.burstInterval <= kMaxBurstInterval)) {
        return {std::nullopt, DialogMessage{"Burst Interval should be in the range of 1 to 43200.",
                                            kBurstIntervalId, true}};
    }
    if (!(values.profilesPerBurst > 0 && values.profilesPerBurst <= kMaxProfilesPerBurst)) {
        return {std::nullopt,
                DialogMessage{"Samples per Burst should be in the range of 1 to 1000.",
                              kProfilesPerBurstId, true}};
    }

    AdvancedBlock block;
    block.temperatureMode = temperatureMode_;
    block.temperatureC = values.temperatureC;
    block.salinity = values.salinity;
    block.burstMode = burstMode_;
    block.burstInterval = values.burstInterval;
    block.profilesPerBurst = values.profilesPerBurst;
    return {block, std::nullopt};
}

int AdvancedSettings::temperatureModeSelection() const {
    return temperatureMode_ == 0 || temperatureMode_ == 1 ? temperatureMode_ : -1;
}

int AdvancedSettings::burstModeSelection() const {
    return burstMode_ == 0 || burstMode_ == 1 ? burstMode_ : -1;
}

std::string AdvancedSettings::temperatureLabel() const {
    return metric() ? "Def Water Temp (deg C):" : "Def Water Temp (deg F):";
}

std::string AdvancedSettings::soundSpeedLabel() const {
    return metric() ? "Def Speed of Sound (m/s):" : "Def Speed of Sound (ft/s):";
}

} // namespace qpx::planning
