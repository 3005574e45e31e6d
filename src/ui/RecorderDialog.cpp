#include "ui/RecorderDialog.h"

#include "ui/DialogWidgets.h"
#include "ui/InstrumentExchange.h"
#include "ui/ProgressWindowFactory.h"
#include "ui/TemplateId.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace qpx::ui {
namespace {

using namespace qpx::instrument;
using qpx::operations::RecorderListRow;

} // namespace

RecorderDialog::RecorderDialog(QWidget* parent, RecorderDialogModel& model, link::Link& link)
    : GuardedDialog(parent), model_(model), link_(link),
      progress_(std::make_unique<ProgressWindowFactory>(this, link.clock())) {
    setWindowTitle(CoreText(kRecorderTitle));
    SetTemplateId(this, kTemplateId);

    auto* group = new QGroupBox(QStringLiteral("Recorder File Listing:"), this);
    list_ = new QTreeWidget(group);
    SetTemplateId(list_, kRecorderListId);
    list_->setAccessibleName(group->title());
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setColumnCount(static_cast<int>(kRecorderColumns.size()));
    QStringList titles;
    for (const RecorderColumn& column : kRecorderColumns) {
        titles.append(CoreText(column.title));
    }
    list_->setHeaderLabels(titles);
    for (int i = 0; i < list_->columnCount(); ++i) {
        const auto& column = kRecorderColumns[static_cast<std::size_t>(i)];
        list_->setColumnWidth(i, column.width);
        list_->headerItem()->setTextAlignment(i, Qt::AlignCenter);
    }
    fileCount_ = StaticText(group, kFileCountTextId);
    fileCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(list_, 1);
    groupLayout->addWidget(fileCount_);

    auto* space = new QFormLayout;
    used_ = CaptionedValue(space, this, kUsedSpaceTextId, QStringLiteral("Used Space:"));
    free_ = CaptionedValue(space, this, kFreeSpaceTextId, QStringLiteral("Free Space:"));

    QPushButton* format = Button(this, kFormatButtonId, "&Format");
    QPushButton* close = Button(this, kCloseButtonId, "&Close");
    close->setDefault(true);
    connect(format, &QPushButton::clicked, this, &RecorderDialog::formatClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addLayout(space);
    buttons->addStretch();
    buttons->addWidget(format);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(360, 300)));
}

RecorderDialog::~RecorderDialog() = default;

void RecorderDialog::openDirectory() {
    {
        const InstrumentExchange exchange;
        if (!exchange) {
            return;
        }
        model_.open(link_);
    }
    showDirectory();
}

void RecorderDialog::refresh() {
    {
        const InstrumentExchange exchange;
        if (!exchange) {
            return;
        }
        model_.refresh(link_);
    }
    showDirectory();
}

void RecorderDialog::formatClicked() {
    {
        const InstrumentExchange exchange;
        if (!exchange) {
            return;
        }
        model_.format(link_, *progress_);
    }
    showDirectory();
    list_->setFocus(Qt::OtherFocusReason);
}

void RecorderDialog::showDirectory() {
    list_->clear();
    for (const RecorderListRow& row : model_.rows()) {
        auto* item =
            new QTreeWidgetItem(list_, QStringList{CoreText(row.name), CoreText(row.size),
                                                   CoreText(row.date), CoreText(row.time)});
        for (int i = 0; i < list_->columnCount(); ++i) {
            item->setTextAlignment(i, Qt::AlignCenter);
        }
    }
    fitColumns();
    fileCount_->setText(CoreText(model_.fileCountText()));
    SetValueText(used_, CoreText(model_.usedText()));
    SetValueText(free_, CoreText(model_.freeText()));
}

// The template's widths were set for its own font: a file name or date wider than that in this
// font widens its column instead of being cut off, and the window widens with the list so that
// no column sits behind a scroll bar.
void RecorderDialog::fitColumns() {
    const QFontMetrics metrics = list_->fontMetrics();
    const int padding =
        metrics.horizontalAdvance(QStringLiteral("  ")) +
        2 * list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_);
    int total = 0;
    for (int i = 0; i < list_->columnCount(); ++i) {
        int wanted = std::max(kRecorderColumns[static_cast<std::size_t>(i)].width,
                              list_->header()->sectionSizeHint(i));
        for (int row = 0; row < list_->topLevelItemCount(); ++row) {
            wanted = std::max(wanted, metrics.horizontalAdvance(list_->topLevelItem(row)->text(i)) +
                                          padding);
        }
        list_->setColumnWidth(i, wanted);
        total += wanted;
    }
    list_->setMinimumWidth(total + 2 * list_->frameWidth() +
                           list_->verticalScrollBar()->sizeHint().width());
    if (width() < sizeHint().width()) {
        resize(sizeHint().width(), height());
    }
}

} // namespace qpx::ui
