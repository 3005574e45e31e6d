#include "ui/PlanViewsWindow.h"

#include "model/TextFormat.h"
#include "model/Units.h"
#include "planning/VelocityPrecision.h"
#include "platform/TextFile.h"
#include "ui/DialogWidgets.h"
#include "ui/PlanViewPainting.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <filesystem>

namespace qpx::ui {
namespace {

// A positive number typed in the C locale's form; nothing for an empty or other box.
std::optional<double> PositiveNumber(const QString& text) {
    const std::string typed = text.trimmed().toStdString();
    double value = 0.0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), value);
    if (typed.empty() || error != std::errc() || end != typed.data() + typed.size() ||
        !(value > 0.0) || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString DaysText(const std::optional<float>& days) {
    return days ? CoreText(model::FormatText("%.1f", static_cast<double>(*days)))
                : QStringLiteral("unavailable");
}

} // namespace

WaterColumnView::WaterColumnView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("waterColumn"));
    setAccessibleName(QStringLiteral("Water column"));
    setMinimumSize(300, 360);
}

void WaterColumnView::setColumn(std::optional<planning::WaterColumn> column, bool metric) {
    column_ = std::move(column);
    metric_ = metric;
    update();
}

void WaterColumnView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintWaterColumn(painter, rect(), column_, metric_);
}

EnduranceChartView::EnduranceChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("enduranceChart"));
    setAccessibleName(QStringLiteral("Endurance chart"));
    setMinimumSize(480, 320);
    setMouseTracking(true);
}

void EnduranceChartView::setSweep(std::vector<planning::EndurancePoint> sweep) {
    sweep_ = std::move(sweep);
    update();
}

void EnduranceChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintEnduranceChart(painter, rect(), sweep_);
}

void EnduranceChartView::mouseMoveEvent(QMouseEvent* event) {
    const auto interval = EnduranceIntervalAt(rect(), sweep_, event->position().x());
    if (!interval) {
        QToolTip::hideText();
        return;
    }
    // The sweep point nearest on the logarithmic axis.
    const auto nearest =
        std::min_element(sweep_.begin(), sweep_.end(), [&](const auto& a, const auto& b) {
            return std::abs(std::log(a.profilingInterval / *interval)) <
                   std::abs(std::log(b.profilingInterval / *interval));
        });
    QToolTip::showText(event->globalPosition().toPoint(),
                       QStringLiteral("Profiling interval ") +
                           CoreText(planning::IntervalText(nearest->profilingInterval)) +
                           QStringLiteral(": battery ") + DaysText(nearest->batteryDays) +
                           QStringLiteral(" days, recorder ") + DaysText(nearest->recorderDays) +
                           QStringLiteral(" days"),
                       this);
}

PlanViewsWindow::PlanViewsWindow(QWidget* parent, const planning::DeploymentPlanner& planner,
                                 link::MessageSink& messages)
    : QDialog(parent), planner_(planner), messages_(messages) {
    setWindowTitle(QStringLiteral("Plan Views"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setAccessibleName(QStringLiteral("Views"));
    tabs_->addTab(buildColumnTab(), QStringLiteral("Water Column"));
    tabs_->addTab(buildEnduranceTab(), QStringLiteral("Endurance"));
    tabs_->addTab(buildPrecisionTab(), QStringLiteral("Precision"));
    layout->addWidget(tabs_);
    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save &Picture..."), this);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    save->setAutoDefault(false);
    close->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &PlanViewsWindow::choosePictureFile);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    refresh();
}

QWidget* PlanViewsWindow::buildColumnTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QHBoxLayout(tab);
    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    boundary_ = new QLineEdit(tab);
    boundary_->setObjectName(QStringLiteral("boundaryDistance"));
    boundaryLabel_ = Caption(new QLabel(tab), boundary_);
    form->addRow(boundaryLabel_, boundary_);
    left->addLayout(form);
    column_ = new WaterColumnView(tab);
    left->addWidget(column_, 1);
    layout->addLayout(left, 3);
    centres_ = new QTableWidget(0, 2, tab);
    centres_->setObjectName(QStringLiteral("cellCentres"));
    centres_->setAccessibleName(QStringLiteral("Cell centres"));
    centres_->verticalHeader()->hide();
    centres_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    centres_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(centres_, 2);
    connect(boundary_, &QLineEdit::textChanged, this, &PlanViewsWindow::refresh);
    return tab;
}

QWidget* PlanViewsWindow::buildEnduranceTab() {
    endurance_ = new EnduranceChartView(this);
    return endurance_;
}

QWidget* PlanViewsWindow::buildPrecisionTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    auto* form = new QFormLayout;
    pingRate_ = new QLineEdit(QStringLiteral("1"), tab);
    pingRate_->setObjectName(QStringLiteral("pingRate"));
    form->addRow(Caption(new QLabel(QStringLiteral("Pings per second:"), tab), pingRate_),
                 pingRate_);
    layout->addLayout(form);
    precision_ = new QLabel(tab);
    precision_->setObjectName(QStringLiteral("precision"));
    precision_->setWordWrap(true);
    precision_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    assumptions_ = new QLabel(tab);
    assumptions_->setObjectName(QStringLiteral("assumptions"));
    assumptions_->setWordWrap(true);
    layout->addWidget(precision_);
    layout->addWidget(assumptions_);
    layout->addStretch();
    connect(pingRate_, &QLineEdit::textChanged, this, &PlanViewsWindow::refresh);
    return tab;
}

void PlanViewsWindow::refresh() {
    const bool metric = planner_.metric();
    const QString unit = metric ? QStringLiteral("m") : QStringLiteral("ft");
    const QString boundaryName = planner_.systemConfiguration().sensorOrientation == 0
                                     ? QStringLiteral("Distance to the bottom (")
                                     : QStringLiteral("Distance to the surface (");
    boundaryLabel_->setText(boundaryName + unit + QStringLiteral("):"));
    boundary_->setAccessibleName(boundaryLabel_->text());

    const auto boundary = PositiveNumber(boundary_->text());
    const auto column = planning::PlannedWaterColumn(planner_, boundary);
    column_->setColumn(column, metric);
    centres_->setHorizontalHeaderLabels(
        {QStringLiteral("Cell"), QStringLiteral("Centre (") + unit + QStringLiteral(")")});
    const int rows = column ? static_cast<int>(column->cells.size()) : 0;
    centres_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const auto& cell = column->cells[static_cast<std::size_t>(row)];
        QString mark;
        if (cell.outOfWater) {
            mark = QStringLiteral(" (out of the water)");
        } else if (cell.contaminated) {
            mark = QStringLiteral(" (side lobes)");
        }
        centres_->setItem(row, 0, new QTableWidgetItem(QString::number(cell.number)));
        centres_->setItem(
            row, 1, new QTableWidgetItem(CoreText(model::FormatText("%.2f", cell.centre)) + mark));
    }

    endurance_->setSweep(planning::EnduranceSweep(planner_));

    const double pingRate = PositiveNumber(pingRate_->text()).value_or(planning::kDefaultPingRate);
    precision_->setText(CoreText(planning::PrecisionText(planner_, pingRate)));
    assumptions_->setText(CoreText(planning::PrecisionAssumptions(pingRate)));
}

QString PlanViewsWindow::savePicture(const QString& path) const {
    QWidget* view = tabs_->currentWidget();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(view->size());
        svg.setViewBox(QRect(QPoint(0, 0), view->size()));
        svg.setTitle(windowTitle() + QStringLiteral(": ") + tabs_->tabText(tabs_->currentIndex()));
        QPainter painter(&svg);
        view->render(&painter);
    } else if (!view->grab().save(&buffer, "PNG")) {
        return QStringLiteral("the picture could not be made");
    }
    const std::string reason = platform::SaveFileReplacing(
        std::filesystem::path(path.toStdU16String()),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return CoreText(reason);
}

void PlanViewsWindow::choosePictureFile() {
    QFileDialog dialog(this, QStringLiteral("Save Picture"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(
        {QStringLiteral("PNG picture (*.png)"), QStringLiteral("SVG picture (*.svg)")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    const QString reason = savePicture(path);
    if (!reason.isEmpty()) {
        messages_.showMessage((QStringLiteral("The picture could not be saved to ") + path +
                               QStringLiteral(": ") + reason + QStringLiteral("."))
                                  .toStdString());
    }
}

} // namespace qpx::ui
