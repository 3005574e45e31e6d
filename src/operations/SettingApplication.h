#pragma once

#include "operations/SettingArgument.h"
#include "planning/DeploymentPlanner.h"

#include <optional>
#include <string>
#include <vector>

namespace qpx::operations {

// What became of one setting applied to the planner.
struct SettingOutcome {
    bool accepted = false;
    // Why it was refused: the planner's or sub-dialog's own message, or why the box cannot be
    // typed into at all (disabled in planning mode, read-only while measured, ...).
    std::string message;
    // Messages the dialogs show without refusing the value (the waves dialog's duration rule
    // keeps the length as typed and is checked again by "&Deploy").
    std::vector<std::string> notes;
    // Refused because its box cannot be typed into now (`message` says why), not for its value.
    bool gated = false;
};

// Why the setting's box cannot be typed into now, asked of the planner's enabling queries; nothing
// when it can.
std::optional<std::string> SettingGated(const planning::DeploymentPlanner& planner,
                                        SettingName name);

// Applies one setting exactly as typing it into its box would: the planner's text and selection
// events, or for the advanced and waves settings their sub-dialog opened on the planner's values,
// the box edited and OK pressed. A refused setting keeps the planner's previous value (its box
// keeps the text typed, as on screen); a refused sub-dialog setting changes nothing. Lengths and
// the temperature are in the planner's unit system.
SettingOutcome ApplySetting(planning::DeploymentPlanner& planner, const SettingArgument& setting);

} // namespace qpx::operations
