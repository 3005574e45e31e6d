#include "model/Units.h"

namespace qpx::model {

// Double factors on single-precision values, rounded back to single precision once.
float MetresToFeet(float metres) {
    return static_cast<float>(metres * kFeetPerMetre);
}

float FeetToMetres(float feet) {
    return static_cast<float>(feet * kMetresPerFoot);
}

float CelsiusToFahrenheit(float celsius) {
    return static_cast<float>(celsius * 1.8 + 32.0);
}

float FahrenheitToCelsius(float fahrenheit) {
    return static_cast<float>((fahrenheit - 32.0) * 0.5555556);
}

} // namespace qpx::model
