#include "sim/Scenario.h"

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
    Scenario scenario;
    switch (kind) {
    case SystemKind::Qpx:
        break;
    case SystemKind::Merovane:
        scenario.versionText = "Kelvra MRV Merovane Version 1.20";
        scenario.systemTypeText = "MRV";
        break;
    case SystemKind::Clv:
        scenario.versionText = "Kelvra CLV Current Logger Version 2.10";
        scenario.systemTypeText = "CLV";
        break;
    case SystemKind::ClvReportingWqs:
        scenario.versionText = "Kelvra CLV Current Logger Version 2.10";
        scenario.systemTypeText = "CLV WQS";
        break;
    case SystemKind::Rill:
        scenario.versionText = "Kelvra Rill Flow Meter Version 1.05";
        scenario.systemTypeText = "Rill";
        break;
    case SystemKind::Zeb:
        scenario.versionText = "Kelvra ZEB Version 3.00";
        scenario.systemTypeText = "ZEB";
        break;
    case SystemKind::Wqs:
        scenario.versionText = "Kelvra WQS Water Quality Sonde Version 1.40";
        scenario.systemTypeText = "WQS";
        break;
    }
    return scenario;
}

} // namespace qpx::sim
