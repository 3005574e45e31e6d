#include "ui/HardwareConfigDialog.h"

#include "ui/TemplateId.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <array>

namespace qpx::ui {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Which group box each value sits in (indexes into kHardwareConfigGroups); the matrix has the
// last group to itself.
struct Placement {
    int controlId;
    int group;
};
constexpr std::array<Placement, 20> kPlacements{{
    {instrument::kCpuVersionId, 0},        {instrument::kDspVersionId, 0},
    {instrument::kBoardRevisionId, 0},     {instrument::kSerialNumberId, 0},
    {instrument::kFrequencyId, 0},         {instrument::kWavesOptionId, 0},
    {instrument::kNumberOfBeamsId, 1},     {instrument::kBeamGeometryId, 1},
    {instrument::kSlantAngleId, 1},        {instrument::kOrientationId, 1},
    {instrument::kCompassId, 1},           {instrument::kRecorderId, 1},
    {instrument::kTemperatureSensorId, 1}, {instrument::kPressureSensorId, 1},
    {instrument::kExtPressureSensorId, 2}, {instrument::kExtSensorId, 2},
    {instrument::kCtdSensorId, 2},         {instrument::kPressureOffsetId, 3},
    {instrument::kPressureScaleId, 3},     {instrument::kPressureScale2Id, 3},
}};

int GroupOf(int controlId) {
    for (const Placement& placement : kPlacements) {
        if (placement.controlId == controlId) {
            return placement.group;
        }
    }
    return 0;
}

constexpr int kMatrixRows = 4;

} // namespace

HardwareConfigDialog::HardwareConfigDialog(QWidget* parent,
                                           const instrument::HardwareConfigView& view)
    : GuardedDialog(parent), matrixColumns_(view.matrix.columns) {
    setWindowTitle(Text(instrument::kHardwareConfigTitle));
    SetTemplateId(this, kTemplateId);

    std::array<QGroupBox*, 5> groups{};
    std::array<QFormLayout*, 4> forms{};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        groups[i] = new QGroupBox(Text(instrument::kHardwareConfigGroups[i]), this);
        if (i < forms.size()) {
            forms[i] = new QFormLayout(groups[i]);
        }
    }
    for (const instrument::HardwareConfigField& field : view.fields) {
        const auto group = static_cast<std::size_t>(GroupOf(field.controlId));
        auto* box = new QLineEdit(Text(field.text), groups[group]);
        SetTemplateId(box, field.controlId);
        box->setReadOnly(true);
        forms[group]->addRow(Text(field.label), box);
    }

    matrix_ = new QListWidget(groups[4]);
    SetTemplateId(matrix_, instrument::kMatrixListId);
    matrix_->setAccessibleName(groups[4]->title());
    matrix_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Top to bottom, then the next column: entry 4 x column + row.
    matrix_->setFlow(QListView::TopToBottom);
    matrix_->setWrapping(true);
    matrix_->setResizeMode(QListView::Adjust);
    matrix_->setSelectionMode(QAbstractItemView::NoSelection);
    matrix_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    matrix_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const std::string& entry : view.matrix.entries) {
        auto* item = new QListWidgetItem(Text(entry), matrix_);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    const int rowHeight = matrix_->fontMetrics().height() + 4;
    matrix_->setFixedHeight(kMatrixRows * rowHeight + 2 * matrix_->frameWidth() + 1);
    matrix_->setMinimumWidth(kMatrixRows *
                             matrix_->fontMetrics().horizontalAdvance(QStringLiteral("-00.000 ")));
    (new QVBoxLayout(groups[4]))->addWidget(matrix_);

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    SetTemplateId(close, kCloseId);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* columns = new QGridLayout;
    columns->addWidget(groups[0], 0, 0);
    columns->addWidget(groups[1], 1, 0);
    columns->addWidget(groups[2], 0, 1);
    columns->addWidget(groups[3], 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(groups[4]);
    layout->addLayout(buttons);
}

void HardwareConfigDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOutMatrix();
}

void HardwareConfigDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    layOutMatrix();
}

void HardwareConfigDialog::layOutMatrix() {
    const QSize client = matrix_->viewport()->size();
    const int width = instrument::MatrixColumnWidth(client.width(), matrixColumns_);
    // One pixel spare: the view starts a new column when an entry would reach the bottom edge.
    const QSize cell(width, (client.height() - 1) / kMatrixRows);
    // Every entry, empty or not, takes one whole cell, so a column holds exactly four.
    for (int i = 0; i < matrix_->count(); ++i) {
        matrix_->item(i)->setSizeHint(cell);
    }
    matrix_->setGridSize(cell);
}

} // namespace qpx::ui
