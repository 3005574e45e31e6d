#include "sim/Scenario.h"

#include <array>
#include <string>
#include <string_view>

namespace qpx::sim {

Scenario QpxScenario(int frequencyIndex) {
    Scenario scenario;
    scenario.frequencyIndex = frequencyIndex;
    return scenario;
}

Scenario SleepingScenario(int frequencyIndex) {
    Scenario scenario = QpxScenario(frequencyIndex);
    scenario.sleeping = true;
    return scenario;
}

Scenario PlusOnlyScenario(int frequencyIndex) {
    Scenario scenario = SleepingScenario(frequencyIndex);
    scenario.wakesOnBreak = false;
    return scenario;
}

Scenario CompassScenario(int frequencyIndex) {
    Scenario scenario = SleepingScenario(frequencyIndex);
    scenario.banner = "\r\nKelvra QPX Current Profiler\r\nCompass starting, please wait\r\n";
    // Long enough to miss the host's first prompt wait, short enough for its compass wait.
    scenario.promptDelayMs = 15000;
    return scenario;
}

Scenario SdiScenario() {
    Scenario scenario = SleepingScenario();
    scenario.banner = "\r\nSDI-12 Interface Ready\r\n";
    return scenario;
}

Scenario SystemScenario(SystemKind kind) {
    struct Identity {
        SystemKind kind;
        std::string_view versionText;
        std::string_view systemTypeText;
    };
    // The QPX is the default scenario's own.
    static constexpr std::array<Identity, 6> kIdentities{{
        {SystemKind::Merovane, "Kelvra MRV Merovane Version 1.20", "MRV"},
        {SystemKind::Clv, "Kelvra CLV Current Logger Version 2.10", "CLV"},
        {SystemKind::ClvReportingWqs, "Kelvra CLV Current Logger Version 2.10", "CLV WQS"},
        {SystemKind::Rill, "Kelvra Rill Flow Meter Version 1.05", "Rill"},
        {SystemKind::Zeb, "Kelvra ZEB Version 3.00", "ZEB"},
        {SystemKind::Wqs, "Kelvra WQS Water Quality Sonde Version 1.40", "WQS"},
    }};
    Scenario scenario;
    for (const Identity& identity : kIdentities) {
        if (identity.kind == kind) {
            scenario.versionText = std::string(identity.versionText);
            scenario.systemTypeText = std::string(identity.systemTypeText);
        }
    }
    return scenario;
}

} // namespace qpx::sim
