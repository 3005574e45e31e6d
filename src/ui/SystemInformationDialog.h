#pragma once

#include "planning/SystemInformation.h"
#include "ui/GuardedDialog.h"

class QComboBox;

namespace qpx::ui {

// "System Information" (template 135): the instrument planning mode plans for, chosen from
// three fixed lists. Bound to the SystemInformation model; choice() is valid after OK.
class SystemInformationDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 135;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    explicit SystemInformationDialog(QWidget* parent);

    planning::SystemChoice choice() const { return model_.accept(); }

private:
    planning::SystemInformation model_;
};

} // namespace qpx::ui
