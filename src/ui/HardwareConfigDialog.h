#pragma once

#include "instrument/HardwareConfigView.h"
#include "ui/GuardedDialog.h"

class QListWidget;

namespace qpx::ui {

// The read-only hardware view (template 178, "QPX Hardware Configuration"): every value of the
// instrument's SystemConfiguration as HardwareConfigView words it, and the transformation
// matrix in list 1065, four entries to a column so it reads as the matrix itself. It changes
// nothing; "&Close" is its only button.
class HardwareConfigDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 178;
    static constexpr int kCloseId = 1;

    HardwareConfigDialog(QWidget* parent, const instrument::HardwareConfigView& view);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layOutMatrix();

    int matrixColumns_;
    QListWidget* matrix_ = nullptr;
};

} // namespace qpx::ui
