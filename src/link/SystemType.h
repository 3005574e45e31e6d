#pragma once

#include <string_view>

namespace qpx::link {

// What WakeAndIdentify found at the other end of the line. Positive values are systems of the
// maker; negative ones say where the wake-up or identification stopped.
enum SystemType : int {
    kSystemQpx = 2,
    kSystemWqs = 3,
    kSystemClv = 4,
    kSystemRill = 5,
    kSystemClvReportingWqs = 6, // a CLV whose "systemtype" answer contains "WQS"
    kSystemZeb = 7,
    kSystemMerovane = 8,

    kSystemSdi12 = -1,        // an SDI-12 interface answered instead of the command prompt
    kSystemClearFailed = -2,  // clearing the receive buffer failed
    kSystemBreakFailed = -3,  // sending the break failed
    kSystemNoPrompt = -4,     // no prompt after every wake-up attempt, or the wake-up string failed
    kSystemVerNotEchoed = -5, // "Ver" was never echoed correctly
    kSystemUnknownVersion = -6, // a version text came but names no known system
};

// Only these two speak the protocol this program drives.
constexpr bool IsServedSystem(int systemType) {
    return systemType == kSystemQpx || systemType == kSystemMerovane;
}

// "QPX", "CLV", ... for a system type; "no instrument" for the failures.
constexpr std::string_view SystemName(int systemType) {
    switch (systemType) {
    case kSystemQpx:
        return "QPX";
    case kSystemWqs:
        return "WQS";
    case kSystemClv:
        return "CLV";
    case kSystemRill:
        return "Rill";
    case kSystemClvReportingWqs:
        return "CLV reporting WQS";
    case kSystemZeb:
        return "ZEB";
    case kSystemMerovane:
        return "Merovane";
    default:
        return "no instrument";
    }
}

} // namespace qpx::link
