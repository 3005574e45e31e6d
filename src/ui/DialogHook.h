#pragma once

#include <QDialog>
#include <functional>

namespace qpx::ui {

// Called with each modal dialog of a sequence once it is on screen, from inside its own event
// loop. The program leaves it unset; tests use it to type and click into the dialog and close it,
// since nothing else can reach a dialog while exec() blocks.
using DialogHook = std::function<void(QDialog&)>;

// What the planner windows take from their owner besides the models.
struct PlannerHooks {
    DialogHook onShown;
    // "&Help" of the planner; the main window's help. Unset: the button does nothing.
    std::function<void()> help;
};

// Runs `dialog` modally and returns its result; `hook` (when set) is called once it shows.
int ExecModal(QDialog& dialog, const DialogHook& hook);

} // namespace qpx::ui
