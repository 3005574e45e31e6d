#pragma once

#include "model/UserSetup.h"
#include "operations/ChangeFlags.h"
#include "planning/DeploymentValues.h"

namespace qpx::operations {

// What an accepted plan changes on the instrument: the marks, the downloaded UserSetup with every
// changed field rewritten (the upload reads its command values from here), and the two wave
// values the upload sends but that are not written back into waveOptions.
struct ChangeDetection {
    ChangeFlags flags;
    model::UserSetup userSetup;
    // What "wsr" and "wst" carry when marked; otherwise the instrument's own values.
    int waveRateIndex = 0;
    int waveType = 0;

    int changedCount() const { return flags.changedCount(); }
};

// Compares the plan with the UserSetup downloaded from the instrument, item by item.
//
// Each value is first converted to its field's integer unit, to the nearest integer (a float
// nearest 0.35 m is 35 cm, not the 34 a truncation gives), and that integer is compared with the
// field, so a value nobody changed is never marked or sent again. Intervals are whole seconds,
// or tenths of a second when the downloaded UserSetup has pulseCoherentMode set: the planner
// shows a PC-QPX's tenths as seconds, and only tenths carry the half seconds it allows.
//
// Never marked, field kept as downloaded: a list index outside its list (no selection), a value
// its field cannot hold, and a wave type without a command word (0 "None", or 3 and 4 as bits
// 4-5 of waveOptions can decode), so the instrument's wave type stays as it is.
ChangeDetection DetectChanges(const planning::AcceptedPlan& plan,
                              const model::UserSetup& downloaded);

} // namespace qpx::operations
