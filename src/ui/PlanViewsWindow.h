#pragma once

#include "link/MessageSink.h"
#include "planning/DeploymentPlanner.h"
#include "planning/EnduranceSweep.h"
#include "planning/WaterColumn.h"

#include <QDialog>
#include <QWidget>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QTabWidget;
class QTableWidget;

namespace qpx::ui {

// The water column as PaintWaterColumn draws it.
class WaterColumnView : public QWidget {
public:
    explicit WaterColumnView(QWidget* parent);
    void setColumn(std::optional<planning::WaterColumn> column, bool metric);
    QSize sizeHint() const override { return {360, 420}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<planning::WaterColumn> column_;
    bool metric_ = true;
};

// The endurance chart as PaintEnduranceChart draws it, with both values at the pointer's
// interval in a tooltip.
class EnduranceChartView : public QWidget {
public:
    explicit EnduranceChartView(QWidget* parent);
    void setSweep(std::vector<planning::EndurancePoint> sweep);
    const std::vector<planning::EndurancePoint>& sweep() const { return sweep_; }
    QSize sizeHint() const override { return {560, 380}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::vector<planning::EndurancePoint> sweep_;
};

// "Plan Views": the water column with its cells, the endurance chart and the velocity-precision
// estimate of the planner's values. Modeless; it reads the planner and never edits it, and the
// planner window calls refresh() whenever its estimates are renewed.
class PlanViewsWindow : public QDialog {
    Q_OBJECT
public:
    PlanViewsWindow(QWidget* parent, const planning::DeploymentPlanner& planner,
                    link::MessageSink& messages);

    void refresh();

    QTabWidget* tabs() const { return tabs_; }
    // Saves the view of the current tab: PNG, or SVG for a name ending in ".svg". Empty on
    // success, else the reason.
    QString savePicture(const QString& path) const;

private:
    QWidget* buildColumnTab();
    QWidget* buildEnduranceTab();
    QWidget* buildPrecisionTab();
    void choosePictureFile();

    const planning::DeploymentPlanner& planner_;
    link::MessageSink& messages_;
    QTabWidget* tabs_ = nullptr;
    WaterColumnView* column_ = nullptr;
    QTableWidget* centres_ = nullptr;
    QLineEdit* boundary_ = nullptr;
    QLabel* boundaryLabel_ = nullptr;
    EnduranceChartView* endurance_ = nullptr;
    QLabel* precision_ = nullptr;
    QLabel* precisionInputs_ = nullptr;
    QLabel* assumptions_ = nullptr;
    QLineEdit* pingRate_ = nullptr;
};

} // namespace qpx::ui
