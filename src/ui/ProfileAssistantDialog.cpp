#include "ui/ProfileAssistantDialog.h"

#include "ui/DialogWidgets.h"
#include "ui/InstrumentExchange.h"
#include "ui/TemplateId.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qpx::ui {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QLineEdit* ReadOnlyBox(QWidget* parent, int id) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    SetTemplateId(box, id);
    return box;
}

} // namespace

using planning::ProfileAssistant;

ProfileAssistantDialog::ProfileAssistantDialog(QWidget* planner, planning::DeploymentPlanner& model,
                                               link::MessageSink& messages)
    : QWidget(planner, Qt::Tool | Qt::FramelessWindowHint), planner_(planner), model_(model),
      messages_(messages) {
    setWindowTitle(QStringLiteral("Profile Assistant"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    SetTemplateId(this, 231);
    slideTimer_.setSingleShot(true);
    connect(&slideTimer_, &QTimer::timeout, this, &ProfileAssistantDialog::slideStep);

    auto* instruction = new QLabel(QString::fromUtf8(ProfileAssistant::instructionText()), this);
    instruction->setWordWrap(true);

    maximumLabel_ = new QLabel(this);
    SetTemplateId(maximumLabel_, 1290);
    maximumRange_ = new QLineEdit(this);
    SetTemplateId(maximumRange_, ProfileAssistant::kMaximumRangeId);
    cells_ = ReadOnlyBox(this, ProfileAssistant::kCellsId);
    cellSizeLabel_ = new QLabel(this);
    SetTemplateId(cellSizeLabel_, 1192);
    cellSize_ = ReadOnlyBox(this, ProfileAssistant::kCellSizeId);
    blankingLabel_ = new QLabel(this);
    SetTemplateId(blankingLabel_, 1193);
    blanking_ = ReadOnlyBox(this, ProfileAssistant::kBlankingId);
    rangeText_ = new QLabel(this);
    SetTemplateId(rangeText_, ProfileAssistant::kRangeTextId);
    transfer_ = new QPushButton(QStringLiteral("Transfer Values            >>>"), this);
    SetTemplateId(transfer_, ProfileAssistant::kTransferId);
    transfer_->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(Caption(maximumLabel_, maximumRange_), maximumRange_);
    form->addRow(Caption(new QLabel(QStringLiteral("Number of Cells:"), this), cells_), cells_);
    form->addRow(Caption(cellSizeLabel_, cellSize_), cellSize_);
    form->addRow(Caption(blankingLabel_, blanking_), blanking_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(form);
    layout->addWidget(rangeText_);
    layout->addWidget(transfer_);

    connect(maximumRange_, &QLineEdit::textEdited, this,
            &ProfileAssistantDialog::maximumRangeEdited);
    connect(transfer_, &QPushButton::clicked, this, &ProfileAssistantDialog::transferClicked);

    // Starts hidden, at its slide size.
    resize(ProfileAssistant::kWidth,
           slideHeight(ProfileAssistant::kWidth, ProfileAssistant::kHeight - 2));
    hide();
}

int ProfileAssistantDialog::slideHeight(int width, int height) const {
    // The window is as wide as the slide says; its wrapped instruction text may need more
    // height than the slide's at a large font, and then gets it.
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                     : layout()->totalMinimumSize().height();
    return std::max(height, needed);
}

void ProfileAssistantDialog::showValues() {
    const ProfileAssistant& assistant = model_.assistant();
    maximumLabel_->setText(Text(assistant.maximumLabel()));
    cellSizeLabel_->setText(Text(assistant.cellSizeLabel()));
    blankingLabel_->setText(Text(assistant.blankingLabel()));
    maximumRange_->setText(Text(assistant.maximumRangeText()));
    showSuggestion();
}

void ProfileAssistantDialog::showSuggestion() {
    const ProfileAssistant& assistant = model_.assistant();
    cells_->setText(Text(assistant.cellsText()));
    cellSize_->setText(Text(assistant.cellSizeText()));
    blanking_->setText(Text(assistant.blankingText()));
    rangeText_->setText(Text(assistant.rangeText()));
}

void ProfileAssistantDialog::showMessage(const planning::DialogMessage& message) {
    messages_.showMessage(message.text);
    if (message.focusId == ProfileAssistant::kMaximumRangeId) {
        maximumRange_->setFocus(Qt::OtherFocusReason);
        if (message.selectText) {
            maximumRange_->selectAll();
        }
    }
}

void ProfileAssistantDialog::maximumRangeEdited(const QString& text) {
    const auto message = model_.assistant().maximumRangeChanged(text.toStdString());
    // The suggestion follows the text also when the message comes.
    showSuggestion();
    if (message) {
        showMessage(*message);
    }
}

void ProfileAssistantDialog::transferClicked() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    if (const auto message = model_.transferFromAssistant()) {
        showMessage(*message);
        return;
    }
    emit transferred();
}

void ProfileAssistantDialog::toggle() {
    slideTimer_.start(model_.toggleAssistant());
}

void ProfileAssistantDialog::slideStep() {
    slideTimer_.stop();
    const QRect plannerRect = planner_->frameGeometry();
    const planning::SlideTick tick = model_.assistant().tick(plannerRect.left(), plannerRect.top());
    if (tick.placement) {
        const planning::AssistantPlacement& at = *tick.placement;
        setGeometry(at.left, at.top, at.width, slideHeight(at.width, at.height));
    }
    if (tick.show && !isVisible()) {
        show();
        // Behind the planner: the planner stays the active window on top.
        planner_->raise();
    }
    if (tick.hide) {
        hide();
    }
    if (tick.nextTimerMs > 0) {
        slideTimer_.start(tick.nextTimerMs);
    }
}

} // namespace qpx::ui
