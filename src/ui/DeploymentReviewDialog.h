#pragma once

#include "instrument/DeploymentReview.h"
#include "link/Link.h"
#include "link/MessageSink.h"
#include "planning/DeploymentPlanner.h"
#include "planning/DeploymentValues.h"
#include "ui/DialogHook.h"
#include "ui/GuardedDialog.h"
#include "ui/RecordFolder.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace qpx::ui {

// The last look between the planner's "&Deploy" and the upload ("Deployment Review"): the
// warnings, the instrument, the start, the estimates and the exact command lines the upload
// will send, with the review's own values (planned duration, remarks) and the records folder.
// Everything shown comes from instrument::MakeDeploymentReview; the window only binds it.
//
// "&Deploy" accepts, "&Back to Planner" (and Escape) rejects. With a warning on show, Enter
// goes back: no button but the default one ever takes Enter, and the default follows the
// warnings every time the review is rebuilt.
class DeploymentReviewDialog final : public GuardedDialog {
    Q_OBJECT
public:
    // `planner` holds the plan "&Deploy" accepted; the review's duration, remarks and clock
    // reading go into it. `recordsFolder`: where the record is to be kept, changed by
    // "Change &Folder..." (none: the row is not shown).
    DeploymentReviewDialog(QWidget* parent, planning::DeploymentPlanner& planner,
                           planning::AcceptedPlan plan, link::Link& link,
                           link::MessageSink& messages, std::filesystem::path* recordsFolder);

    // Called with the folder dialog once it shows (tests answer it through it).
    void setDialogHook(DialogHook hook) { dialogHook_ = std::move(hook); }

    const instrument::DeploymentReview& review() const { return review_; }
    // The warnings as shown, one line each.
    QStringList warningTexts() const;
    QStringList commandTexts() const;

    QPushButton* deployButton() const { return deploy_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* checkClockButton() const { return checkClock_; }
    QPushButton* changeFolderButton() const { return changeFolder_; }
    QLineEdit* plannedDurationBox() const { return duration_; }
    QPlainTextEdit* remarksBox() const { return remarks_; }
    QLabel* folderLabel() const { return folder_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // However the review ends, a duration typed and not yet taken is taken (a refused one
    // leaves the old value), so that it waits in the planner for the next "&Deploy".
    void ending(int result) override;

private:
    void build();
    // The review again from the planner's present state: its warnings, texts and default button.
    void rebuild();
    QWidget* buildContent();
    // The duration as typed goes to the planner; false (and the old value back in the box) when
    // it is refused.
    bool takeDuration();
    void checkClock();
    void changeFolder();
    void deployClicked();
    void showFolder();

    planning::DeploymentPlanner& planner_;
    planning::AcceptedPlan plan_;
    link::Link& link_;
    link::MessageSink& messages_;
    std::filesystem::path* recordsFolder_;
    DialogHook dialogHook_;
    instrument::DeploymentReview review_;

    QVBoxLayout* layout_ = nullptr;
    QWidget* content_ = nullptr;
    QListWidget* commands_ = nullptr;
    QLineEdit* duration_ = nullptr;
    QPlainTextEdit* remarks_ = nullptr;
    QLabel* folder_ = nullptr;
    QPushButton* changeFolder_ = nullptr;
    QPushButton* checkClock_ = nullptr;
    QPushButton* deploy_ = nullptr;
    QPushButton* back_ = nullptr;
};

} // namespace qpx::ui
