#pragma once

namespace qpx::model {

// The unit system every dialog shows: 1 metric, any other value English.
using UnitSystem = int;
inline constexpr UnitSystem kMetricUnits = 1;
inline constexpr UnitSystem kEnglishUnits = 0;
constexpr bool IsMetric(UnitSystem units) {
    return units == kMetricUnits;
}

// The two factors are not exact inverses of each other; each direction uses its own.
inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kMetresPerFoot = 0.3047999902464003;

float MetresToFeet(float metres);
float FeetToMetres(float feet);
float CelsiusToFahrenheit(float celsius);
float FahrenheitToCelsius(float fahrenheit);

// What the instrument can record besides profiles (also the planning-mode choice).
enum class WavesOption : int {
    None = 0,
    NonDirectional = 1,
    Directional = 2,
};

} // namespace qpx::model
