#pragma once

#include "screenshots/ShotWriter.h"
#include "sim/Scenario.h"

#include <QString>

namespace qpx::screenshots {

// One connected run of the whole program on the simulated instrument, driven through the real
// windows with the program's own hooks, each window saved as it shows.
struct ConnectedRun {
    int unitSystem = 1;
    sim::Scenario instrument;
    // Saves the planner and the sub-dialogs whose buttons are enabled. The sub-dialogs are saved
    // as <name><subDialogSuffix>; with a twin set, only where they look different from it.
    QString plannerName;
    QString subDialogSuffix;
    bool onlyWhereDifferent = false;
    // The rest of the sequence: connection window, progress windows, profile assistant, a
    // message box, then "&Deploy" and the deployment display. Otherwise "&Cancel".
    bool wholeSequence = false;
    // Restricts the sub-dialogs to the one of this button (0: all).
    int onlySubDialog = 0;
};

// The instrument the pictures show: a 1500 kHz QPX with directional waves, a card with three
// files, its clock a little behind the computer's.
sim::Scenario ShowcaseInstrument();

// Runs it; false when the sequence did not reach the planner (or, with the whole sequence, the
// deployment display).
bool Run(const ConnectedRun& run, ShotWriter& writer);

} // namespace qpx::screenshots
