#pragma once

#include "link/MessageSink.h"
#include "planning/DeploymentPlanner.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qpx::ui {

// The profile assistant (template 231, "Profile Assistant"): a frameless tool window of the
// planner that slides out from behind the planner's left edge. It binds the planner's
// ProfileAssistant model; "Transfer Values            >>>" goes through the planner, which
// then holds the new cells, cell size and blanking, and transferred() tells the planner window
// to show them.
//
// It is a child window of the planner so that it takes input while the planner runs modally.
// Its controls carry their own template ids, two of which (1008, 1009) the planner also uses:
// look them up from this window, not from the planner.
class ProfileAssistantDialog : public QWidget {
    Q_OBJECT
public:
    ProfileAssistantDialog(QWidget* planner, planning::DeploymentPlanner& model,
                           link::MessageSink& messages);

    // Shows the model's values (after the planner has opened it).
    void showValues();
    // The planner's toggle button: starts a slide out or back.
    void toggle();

    // The slide's timer, for tests to read its interval; slideStep() is its tick.
    const QTimer& slideTimer() const { return slideTimer_; }

public slots:
    void slideStep();

signals:
    void transferred();

private:
    void maximumRangeEdited(const QString& text);
    void transferClicked();
    void showSuggestion();
    void showMessage(const planning::DialogMessage& message);
    int slideHeight(int width, int height) const;

    QWidget* planner_;
    planning::DeploymentPlanner& model_;
    link::MessageSink& messages_;
    QTimer slideTimer_;

    QLabel* maximumLabel_ = nullptr;
    QLineEdit* maximumRange_ = nullptr;
    QLineEdit* cells_ = nullptr;
    QLabel* cellSizeLabel_ = nullptr;
    QLineEdit* cellSize_ = nullptr;
    QLabel* blankingLabel_ = nullptr;
    QLineEdit* blanking_ = nullptr;
    QLabel* rangeText_ = nullptr;
    QPushButton* transfer_ = nullptr;
};

} // namespace qpx::ui
