#include "ui/DeploymentReviewDialog.h"

#include "operations/ClockSync.h"
#include "ui/DialogWidgets.h"
#include "ui/InstrumentExchange.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

namespace qpx::ui {
namespace {

constexpr const char* kWarningPrefix = "Warning: ";
constexpr int kMinimumWidth = 720;
// What a warning's text has of that width, less the margins and its mark.
constexpr int kNarrowestWarningWidth = kMinimumWidth - 100;
constexpr const char* kClockNotRead =
    "The instrument's clock could not be read. Nothing was changed.";

QString Text(std::string_view text) {
    return CoreText(text);
}

// A section of label-value lines; the value is announced by its label.
QGroupBox* LinesGroup(QWidget* parent, const QString& title,
                      const std::vector<instrument::ReviewLine>& lines) {
    auto* group = new QGroupBox(title, parent);
    auto* form = new QFormLayout(group);
    for (const instrument::ReviewLine& line : lines) {
        auto* caption = new QLabel(Text(line.label) + u':', group);
        auto* value = new QLabel(Text(line.text), group);
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setObjectName(Text(line.key));
        value->setAccessibleName(Text(line.label));
        value->setAccessibleDescription(value->text());
        caption->setBuddy(value);
        form->addRow(caption, value);
    }
    // Beside the wrapped warnings the window's layout works height for width, which would
    // squeeze a group of fixed lines.
    group->setMinimumHeight(group->sizeHint().height());
    return group;
}

// The warnings above everything else, each one line, marked so that nobody reads past them.
QFrame* WarningArea(QWidget* parent, const std::vector<instrument::ReviewWarning>& warnings) {
    auto* area = new QFrame(parent);
    area->setObjectName(QStringLiteral("warnings"));
    area->setFrameShape(QFrame::StyledPanel);
    area->setStyleSheet(QStringLiteral("QFrame#warnings { background: #fff4ce; border: 1px solid "
                                       "#c8a000; } QLabel { color: #5c3c00; }"));
    area->setAccessibleName(QStringLiteral("Warnings"));
    auto* rows = new QVBoxLayout(area);
    const QPixmap icon = area->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16);
    for (const instrument::ReviewWarning& warning : warnings) {
        auto* row = new QHBoxLayout;
        auto* mark = new QLabel(area);
        mark->setPixmap(icon);
        mark->setAccessibleName(QStringLiteral("Warning"));
        auto* text = new QLabel(QString::fromUtf8(kWarningPrefix) + Text(warning.text), area);
        text->setTextFormat(Qt::PlainText);
        // Read whole, never clipped at the window's edge.
        text->setWordWrap(true);
        text->setObjectName(QStringLiteral("warning"));
        text->setAccessibleName(text->text());
        QFont bold = text->font();
        bold.setBold(true);
        text->setFont(bold);
        // The lines it wraps into at the window's narrowest, so that a short screen (where the
        // window is held to its minimum height) never lays the sections over each other.
        text->setMinimumHeight(text->heightForWidth(kNarrowestWarningWidth));
        row->addWidget(mark, 0, Qt::AlignTop);
        row->addWidget(text, 1);
        rows->addLayout(row);
    }
    return area;
}

QPushButton* ReviewButton(QWidget* parent, std::string_view text) {
    auto* button = new QPushButton(Text(text), parent);
    // Only the default button takes Enter: a focused button with autoDefault would take it
    // whatever the warnings say.
    button->setAutoDefault(false);
    return button;
}

} // namespace

DeploymentReviewDialog::DeploymentReviewDialog(QWidget* parent,
                                               planning::DeploymentPlanner& planner,
                                               planning::AcceptedPlan plan, link::Link& link,
                                               link::MessageSink& messages,
                                               std::filesystem::path* recordsFolder)
    : GuardedDialog(parent), planner_(planner), plan_(std::move(plan)), link_(link),
      messages_(messages), recordsFolder_(recordsFolder) {
    setWindowTitle(Text(instrument::kReviewTitle));
    setModal(true);
    build();
    rebuild();
    // The first Enter goes where the warnings say, whichever button has the focus.
    (back_->isDefault() ? back_ : deploy_)->setFocus(Qt::OtherFocusReason);
}

QStringList DeploymentReviewDialog::warningTexts() const {
    QStringList texts;
    for (const QLabel* label :
         content_->findChildren<QLabel*>(QStringLiteral("warning"), Qt::FindChildrenRecursively)) {
        texts << label->text();
    }
    return texts;
}

QStringList DeploymentReviewDialog::commandTexts() const {
    QStringList texts;
    for (int row = 0; row < commands_->count(); ++row) {
        texts << commands_->item(row)->text();
    }
    return texts;
}

void DeploymentReviewDialog::build() {
    duration_ = new QLineEdit(this);
    duration_->setText(Text(planner_.plannedDurationText()));
    duration_->installEventFilter(this);
    connect(duration_, &QLineEdit::editingFinished, this, [this] { takeDuration(); });

    remarks_ = new QPlainTextEdit(this);
    remarks_->setPlainText(Text(planner_.operatorRemarks()));
    remarks_->setTabChangesFocus(true);
    remarks_->setFixedHeight(remarks_->fontMetrics().lineSpacing() * 4 + 12);
    connect(remarks_, &QPlainTextEdit::textChanged, this,
            [this] { planner_.setOperatorRemarks(remarks_->toPlainText().toStdString()); });

    auto* form = new QFormLayout;
    form->addRow(Caption(new QLabel(Text(instrument::kPlannedDurationLabel), this), duration_),
                 duration_);
    form->addRow(Caption(new QLabel(Text(instrument::kRemarksLabel), this), remarks_), remarks_);
    remarks_->setAccessibleName(Text(instrument::kRemarksLabel));
    duration_->setAccessibleName(Text(instrument::kPlannedDurationLabel));

    if (recordsFolder_ != nullptr) {
        folder_ = new QLabel(this);
        folder_->setTextFormat(Qt::PlainText);
        folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        folder_->setAccessibleName(QStringLiteral("Records folder"));
        changeFolder_ = ReviewButton(this, "Change &Folder...");
        changeFolder_->setAccessibleName(QStringLiteral("Change Folder"));
        connect(changeFolder_, &QPushButton::clicked, this, &DeploymentReviewDialog::changeFolder);
        auto* row = new QHBoxLayout;
        row->addWidget(folder_, 1);
        row->addWidget(changeFolder_);
        form->addRow(Caption(new QLabel(QStringLiteral("Records folder"), this), folder_), row);
        showFolder();
    }

    checkClock_ = ReviewButton(this, instrument::kCheckClockText);
    deploy_ = ReviewButton(this, instrument::kReviewDeployText);
    back_ = ReviewButton(this, instrument::kReviewBackText);
    checkClock_->setAccessibleName(QStringLiteral("Check Clock"));
    deploy_->setAccessibleName(QStringLiteral("Deploy"));
    back_->setAccessibleName(QStringLiteral("Back to Planner"));
    connect(checkClock_, &QPushButton::clicked, this, &DeploymentReviewDialog::checkClock);
    connect(deploy_, &QPushButton::clicked, this, &DeploymentReviewDialog::deployClicked);
    // Like Escape and the close box: asked during "Check Clock", the window goes back once the
    // read is over (GuardedDialog holds the request), never under it.
    connect(back_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkClock_);
    buttons->addStretch();
    buttons->addWidget(deploy_);
    buttons->addWidget(back_);

    layout_ = new QVBoxLayout(this);
    content_ = new QWidget(this);
    layout_->addWidget(content_, 1);
    layout_->addLayout(form);
    layout_->addLayout(buttons);
    setMinimumWidth(kMinimumWidth);
}

QWidget* DeploymentReviewDialog::buildContent() {
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    if (!review_.warnings.empty()) {
        column->addWidget(WarningArea(content, review_.warnings));
    }
    auto* sections = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(LinesGroup(content, QStringLiteral("Instrument"), review_.instrument));
    left->addWidget(LinesGroup(content, QStringLiteral("Start"), review_.start));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(LinesGroup(content, QStringLiteral("Estimates"), review_.estimates));
    right->addStretch();
    sections->addLayout(left);
    sections->addLayout(right);
    column->addLayout(sections);

    auto* commandsGroup = new QGroupBox(QStringLiteral("Command lines"), content);
    auto* commandsLayout = new QVBoxLayout(commandsGroup);
    commands_ = new QListWidget(commandsGroup);
    commands_->setAccessibleName(QStringLiteral("Command lines"));
    commands_->setSelectionMode(QAbstractItemView::NoSelection);
    commands_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const std::string& line : review_.commands) {
        commands_->addItem(Text(line));
    }
    commands_->setMinimumHeight(commands_->fontMetrics().lineSpacing() * 9);
    commandsLayout->addWidget(commands_);
    column->addWidget(commandsGroup, 1);
    return content;
}

void DeploymentReviewDialog::rebuild() {
    review_ = instrument::MakeDeploymentReview(planner_, plan_, link_.identity,
                                               link_.clock().localTime());
    QWidget* content = buildContent();
    delete layout_->replaceWidget(content_, content);
    delete content_;
    content_ = content;
    // One default at a time: false first, so the dialog never has two.
    const bool warned = !review_.warnings.empty();
    (warned ? deploy_ : back_)->setDefault(false);
    (warned ? back_ : deploy_)->setDefault(true);
}

bool DeploymentReviewDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the duration box takes the value and shows the review it makes; it presses no
    // button, so a duration that is refused or raises a warning is seen before anything is sent.
    if (watched == duration_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            takeDuration();
            return true;
        }
    }
    return GuardedDialog::eventFilter(watched, event);
}

bool DeploymentReviewDialog::takeDuration() {
    const std::string typed = duration_->text().toStdString();
    if (typed == planner_.plannedDurationText()) {
        return true;
    }
    if (const auto refused = planner_.plannedDurationChanged(typed)) {
        SetBoxText(duration_, planner_.plannedDurationText());
        messages_.showMessage(refused->text);
        return false;
    }
    rebuild();
    return true;
}

void DeploymentReviewDialog::ending(int result) {
    const std::string typed = duration_->text().toStdString();
    if (typed != planner_.plannedDurationText()) {
        static_cast<void>(planner_.plannedDurationChanged(typed));
        // The box loses the focus as the window hides: a refused text left in it would bring
        // its message up after the window has gone.
        SetBoxText(duration_, planner_.plannedDurationText());
    }
    GuardedDialog::ending(result);
}

void DeploymentReviewDialog::checkClock() {
    if (!link_.port.isOpen()) {
        return;
    }
    std::optional<planning::ClockReading> reading;
    {
        InstrumentExchange exchange;
        if (!exchange) {
            return;
        }
        if (const auto instrumentTime = operations::ReadInstrumentClock(link_)) {
            link::Clock& clock = link_.clock();
            reading = planning::ClockReading{clock.localTime(), clock.utcOffsetSeconds(),
                                             *instrumentTime};
        }
    }
    if (!reading) {
        messages_.showMessage(kClockNotRead);
        return;
    }
    planner_.noteClockReading(*reading);
    rebuild();
}

void DeploymentReviewDialog::changeFolder() {
    if (InstrumentExchange::Refused() || recordsFolder_ == nullptr) {
        return;
    }
    if (const auto chosen = ChooseRecordsFolder(this, dialogHook_, QStringLiteral("Records Folder"),
                                                *recordsFolder_)) {
        *recordsFolder_ = *chosen;
        showFolder();
    }
}

void DeploymentReviewDialog::showFolder() {
    if (folder_ != nullptr && recordsFolder_ != nullptr) {
        SetValueText(folder_, FolderText(*recordsFolder_));
    }
}

void DeploymentReviewDialog::deployClicked() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    // A duration typed but not yet taken (no Enter, no change of focus) is taken now; a refused
    // one stops here with its message.
    if (!takeDuration()) {
        return;
    }
    accept();
}

} // namespace qpx::ui
