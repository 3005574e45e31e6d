#include "instrument/PulseSettings.h"

#include "model/TextFormat.h"

namespace qpx::instrument {

std::array<std::string, 3> PulseSettingCommands(const PulseSettings& settings) {
    return {model::FormatText("pl %6.2f", static_cast<double>(settings.pulseLength)),
            model::FormatText("pg %6.2f", static_cast<double>(settings.userPulseLag)),
            model::FormatText("rpg %6.2f", static_cast<double>(settings.userResLag))};
}

} // namespace qpx::instrument
