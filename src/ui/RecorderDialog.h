#pragma once

#include "instrument/RecorderDialogModel.h"
#include "link/Link.h"
#include "ui/GuardedDialog.h"

#include <memory>

class QLabel;
class QTreeWidget;

namespace qpx::ui {

class ProgressWindowFactory;

// "Recorder" (template 137): the card's files as a report view with the four columns, the file
// count, used and free space, "&Format" with its confirmation and status window, and "&Close".
// Bound to an instrument::RecorderDialogModel; the directory is read over `link`.
class RecorderDialog : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 137;

    RecorderDialog(QWidget* parent, instrument::RecorderDialogModel& model, link::Link& link);
    ~RecorderDialog() override;

    // On opening: the list emptied and the directory read (the wait cursor meanwhile).
    void openDirectory();

    // The format's status windows, owned by this dialog.
    ProgressWindowFactory& progressWindows() const { return *progress_; }
    QTreeWidget* list() const { return list_; }

public slots:
    // Reads the directory again and shows it.
    void refresh();
    void formatClicked();

private:
    void showDirectory();
    void fitColumns();

    instrument::RecorderDialogModel& model_;
    link::Link& link_;
    std::unique_ptr<ProgressWindowFactory> progress_;

    QTreeWidget* list_ = nullptr;
    QLabel* fileCount_ = nullptr;
    QLabel* used_ = nullptr;
    QLabel* free_ = nullptr;
};

} // namespace qpx::ui
