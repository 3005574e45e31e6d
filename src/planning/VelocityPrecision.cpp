#include "planning/VelocityPrecision.h"

#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/SoundSpeed.h"
#include "planning/SystemLimits.h"

#include <cmath>
#include <numbers>

namespace qpx::planning {
namespace {

constexpr double kEmpiricalFactor = 1.4;

bool PositiveFinite(double value) {
    return std::isfinite(value) && value > 0.0;
}

} // namespace

std::optional<PrecisionEstimate> EstimatePrecision(const PrecisionInputs& in) {
    if (!PositiveFinite(in.soundSpeed) || !PositiveFinite(in.frequencyHz) ||
        !PositiveFinite(in.cellSize) || !PositiveFinite(in.pings) || !PositiveFinite(in.snr) ||
        !(in.slantDegrees > 0.0 && in.slantDegrees < 90.0) || (in.beams != 3 && in.beams != 4)) {
        return std::nullopt;
    }
    const double slant = in.slantDegrees * std::numbers::pi / 180.0;
    const double wavelength = in.soundSpeed / in.frequencyHz;
    const double alongBeam = in.cellSize / std::cos(slant);
    const double noise = std::sqrt(1.0 + 36.0 / in.snr + 30.0 / (in.snr * in.snr));
    PrecisionEstimate estimate;
    estimate.radialSinglePing = kEmpiricalFactor * in.soundSpeed * wavelength /
                                (8.0 * std::numbers::pi * alongBeam) * noise;
    const double geometry = in.beams == 3 ? std::sqrt(2.0 / 3.0) / std::sin(slant)
                                          : 1.0 / (std::numbers::sqrt2 * std::sin(slant));
    estimate.horizontal = estimate.radialSinglePing * geometry / std::sqrt(in.pings);
    return estimate;
}

std::optional<PrecisionInputs> PlannedPrecisionInputs(const DeploymentPlanner& planner,
                                                      double pingRate) {
    if (planner.pulseCoherent()) {
        return std::nullopt;
    }
    const model::SystemConfiguration& system = planner.systemConfiguration();
    // The limits table stands in its nearest row for an index it lacks; an estimate would then
    // be for another head's frequency.
    if (system.systemFrequency >= kFrequencyCount) {
        return std::nullopt;
    }
    const AdvancedBlock& advanced = planner.advancedBlock();
    PrecisionInputs in;
    in.soundSpeed = SoundSpeed(advanced.salinity, advanced.temperatureC, 0.0f);
    in.frequencyHz = SystemLimitsFor(system.systemFrequency).frequencyKHz * 1000.0;
    in.cellSize = planner.metric() ? planner.cellSize() : model::FeetToMetres(planner.cellSize());
    in.slantDegrees = system.slantAngle * 0.1;
    in.beams = system.numberOfBeams;
    in.pings = planner.averagingInterval() * pingRate;
    if (!EstimatePrecision(in)) {
        return std::nullopt;
    }
    return in;
}

std::optional<PrecisionEstimate> PlannedPrecision(const DeploymentPlanner& planner,
                                                  double pingRate) {
    const auto inputs = PlannedPrecisionInputs(planner, pingRate);
    return inputs ? EstimatePrecision(*inputs) : std::nullopt;
}

std::string PrecisionText(const DeploymentPlanner& planner, double pingRate) {
    if (planner.pulseCoherent()) {
        return "No precision estimate for a PC-QPX: the model is for narrowband profiling; the "
               "PC-QPX Settings window shows the ambiguity velocities.";
    }
    const auto inputs = PlannedPrecisionInputs(planner, pingRate);
    const auto estimate = inputs ? EstimatePrecision(*inputs) : std::nullopt;
    if (!estimate) {
        return "Velocity precision: unavailable for these settings.";
    }
    const bool metric = planner.metric();
    const double scale = metric ? 100.0 : model::kFeetPerMetre;
    const char* unit = metric ? "cm/s" : "ft/s";
    const char* format = metric ? "%.2f" : "%.3f";
    return "Horizontal velocity precision: " +
           model::FormatText(format, estimate->horizontal * scale) + " " + unit +
           model::FormatText(" over %.0f pings (", inputs->pings) +
           model::FormatText(format, estimate->radialSinglePing * scale) + " " + unit +
           " radial, single ping).";
}

std::string PrecisionInputsText(const DeploymentPlanner& planner, double pingRate) {
    const auto in = PlannedPrecisionInputs(planner, pingRate);
    if (!in) {
        return {};
    }
    const bool metric = planner.metric();
    const double toShown = metric ? 1.0 : model::kFeetPerMetre;
    const char* unit = metric ? "m" : "ft";
    const double alongBeam = in->cellSize / std::cos(in->slantDegrees * std::numbers::pi / 180.0);
    return model::FormatText("Sound speed %.1f m/s, %.0f kHz, %d beams at %.1f degrees, ",
                             in->soundSpeed, in->frequencyHz / 1000.0, in->beams,
                             in->slantDegrees) +
           model::FormatText("%.2f %s cells (%.2f %s along the beam), %.0f pings.",
                             in->cellSize * toShown, unit, alongBeam * toShown, unit, in->pings);
}

std::string PrecisionAssumptions(double pingRate) {
    return "Instrument noise only; assumes " + model::FormatGeneral(pingRate, 3) +
           (pingRate == 1.0 ? " ping" : " pings") +
           " per second and a strong signal (30 dB); real precision is lower near the end of the "
           "range and in turbulent water.";
}

} // namespace qpx::planning
