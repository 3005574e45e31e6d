#pragma once

#include "planning/PlanDeployment.h"
#include "ui/TemplateId.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace qpx::test {

// Planner inputs as a connected instrument would give them: the default structures of a
// frequency (20 cells of 1 m, blanking 0.4 m, intervals 120 / 1200 s at 1500 kHz), a 64 MB card
// with 1 MB used, and a wave series every 4 profiles when the waves option is set.
inline planning::PlannerInputs ConnectedInputs(int unitSystem = 1, int frequencyIndex = 1,
                                               int wavesOption = 1) {
    planning::PlannerInputs inputs = planning::PlanDeployment(
        unitSystem, planning::SystemChoice{frequencyIndex, 32, wavesOption});
    inputs.planning = false;
    inputs.recorder = planning::RecorderSpace{64 << 20, 1 << 20};
    return inputs;
}

// The control with a template id below `root`; fails the test when there is none.
template <typename T>
T* Control(QWidget* root, int id) {
    auto* control = qobject_cast<T*>(ui::FindByTemplateId(root, id));
    if (control == nullptr) {
        qWarning("no control with template id %d", id);
    }
    return control;
}

// Replaces the whole text of a box as a paste does: one edit by the user, whatever the text
// passes through on the way.
inline void PasteText(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    box->insert(text);
}

} // namespace qpx::test
