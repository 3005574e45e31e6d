#pragma once

#include <string>

namespace qpx::planning {

// A failed check of a dialog model, for the front end to show: one message box with OK, then the
// keyboard focus on the control with the template id `focusId` (0: leave the focus where it is),
// its whole text selected when `selectText` is set. Used by the profile assistant and the
// advanced and waves settings models.
struct DialogMessage {
    std::string text;
    int focusId = 0;
    bool selectText = false;

    friend bool operator==(const DialogMessage&, const DialogMessage&) = default;
};

} // namespace qpx::planning
