#include "ui/DeploymentDialog.h"

#include "planning/DeploymentValidation.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/DialogWidgets.h"
#include "ui/InstrumentExchange.h"
#include "ui/PlanViewsWindow.h"
#include "ui/ProfileAssistantDialog.h"
#include "ui/TemplateId.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qpx::ui {
namespace {

using planning::DeploymentPlanner;

} // namespace

link::CalendarTime CalendarFromDateTime(const QDateTime& dateTime) {
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return link::CalendarTime{date.year(), date.month(),  date.day(),
                              time.hour(), time.minute(), time.second()};
}

QDateTime DateTimeFromCalendar(const link::CalendarTime& time) {
    const QDate date(time.year, time.month, time.day);
    const QTime clock(time.hour, time.minute, time.second);
    if (!date.isValid() || !clock.isValid()) {
        return {};
    }
    return QDateTime(date, clock);
}

DeploymentDialog::DeploymentDialog(QWidget* parent, DeploymentPlanner& planner,
                                   link::MessageSink& messages)
    : GuardedDialog(parent), planner_(planner), messages_(messages) {
    setWindowTitle(QStringLiteral("System Deployment"));
    SetTemplateId(this, kTemplateId);
    build();
}

DeploymentDialog::~DeploymentDialog() = default;

QLineEdit* DeploymentDialog::addCheckedBox(planning::CheckedBox check) {
    QLineEdit* box = Box(this, planning::LiveCheckFor(check).boxId);
    const std::size_t index = checked_.size();
    checked_.push_back(CheckedEntry{box, check});
    connect(box, &QLineEdit::textEdited, this,
            [this, index](const QString& text) { boxEdited(checked_[index], text); });
    return box;
}

// The widgets are made in a fixed order (their order among the dialog's children and the tab
// order follow it): the left column's fields, the right column's groups and buttons, then the
// layouts, then the assistant window.
void DeploymentDialog::build() {
    // The planner's own controls come first among the children, before the assistant window's,
    // so a search by template id from the dialog finds these.
    QGroupBox* commentsGroup = buildPlainFields();
    QFormLayout* settings = buildSettingsFields();
    QGroupBox* powerGroup = buildPowerGroup();
    auto* summaryGroup = new QGroupBox(QStringLiteral("Deployment Summary: "), this);
    freeSpaceText_ = StaticText(summaryGroup, DeploymentPlanner::kFreeSpaceTextId);
    (new QVBoxLayout(summaryGroup))->addWidget(freeSpaceText_);
    buildButtons();
    arrange(settings, commentsGroup, powerGroup, summaryGroup);
    buildAssistant();
}

QGroupBox* DeploymentDialog::buildPlainFields() {
    fileName_ = Box(this, planning::kFileNameBoxId);
    connect(fileName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { planner_.fileNameChanged(text.toStdString()); });
    start_ = new QDateTimeEdit(this);
    SetTemplateId(start_, DeploymentPlanner::kStartDateTimeId);
    start_->setDisplayFormat(QString::fromUtf8(DeploymentPlanner::kDateTimeFormat));
    connect(start_, &QDateTimeEdit::dateTimeChanged, this, [this] { takeStartTime(); });

    auto* commentsGroup = new QGroupBox(QStringLiteral("Comments: "), this);
    auto* commentsLayout = new QVBoxLayout(commentsGroup);
    const int commentIds[3] = {planning::kComment1BoxId, planning::kComment2BoxId,
                               planning::kComment3BoxId};
    for (int i = 0; i < 3; ++i) {
        comments_[i] = Box(commentsGroup, commentIds[i]);
        // One group caption over three boxes: each is told apart by its line.
        comments_[i]->setAccessibleName(commentsGroup->title() +
                                        QStringLiteral("line %1").arg(i + 1));
        commentsLayout->addWidget(comments_[i]);
        connect(comments_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { planner_.commentChanged(i, text.toStdString()); });
    }
    return commentsGroup;
}

QFormLayout* DeploymentDialog::buildSettingsFields() {
    using planning::CheckedBox;
    averaging_ = addCheckedBox(CheckedBox::Averaging);
    profiling_ = addCheckedBox(CheckedBox::Profiling);
    coordinate_ = Combo(this, DeploymentPlanner::kCoordinateId);
    connect(coordinate_, &QComboBox::currentIndexChanged, this,
            [this](int index) { planner_.coordinateSelected(index); });
    cells_ = addCheckedBox(CheckedBox::Cells);
    cellSizeLabel_ = StaticText(this, DeploymentPlanner::kCellSizeLabelId);
    cellSize_ = addCheckedBox(CheckedBox::CellSize);
    blankingLabel_ = StaticText(this, DeploymentPlanner::kBlankingLabelId);
    blanking_ = addCheckedBox(CheckedBox::Blanking);
    rangeText_ = StaticText(this, DeploymentPlanner::kRangeTextId);
    outputMode_ = Combo(this, DeploymentPlanner::kOutputModeId);
    connect(outputMode_, &QComboBox::currentIndexChanged, this,
            [this](int index) { planner_.outputModeSelected(index); });
    recorderEnabled_ = Combo(this, DeploymentPlanner::kRecorderEnabledId);

    auto* settings = new QFormLayout;
    settings->addRow(QStringLiteral("File Name:"), fileName_);
    settings->addRow(QStringLiteral("Start Date/Time:"), start_);
    settings->addRow(QStringLiteral("Averaging Interval (s):"), averaging_);
    settings->addRow(QStringLiteral("Profiling Interval (s):"), profiling_);
    settings->addRow(QStringLiteral("Coordinate System:"), coordinate_);
    settings->addRow(QStringLiteral("Number of Cells:"), cells_);
    settings->addRow(Caption(cellSizeLabel_, cellSize_), cellSize_);
    settings->addRow(Caption(blankingLabel_, blanking_), blanking_);
    settings->addRow(rangeText_);
    settings->addRow(QStringLiteral("Output Mode:"), outputMode_);
    settings->addRow(QStringLiteral("Recorder Enabled:"), recorderEnabled_);
    return settings;
}

QGroupBox* DeploymentDialog::buildPowerGroup() {
    auto* powerGroup = new QGroupBox(QStringLiteral("Power Management:"), this);
    batteryType_ = Combo(powerGroup, DeploymentPlanner::kBatteryTypeId);
    connect(batteryType_, &QComboBox::currentIndexChanged, this, [this](int index) {
        planner_.batteryTypeSelected(index);
        showEstimates();
    });
    batteryPacks_ = addCheckedBox(planning::CheckedBox::BatteryPacks);
    batteryPacks_->setParent(powerGroup);
    capacity_ = Box(powerGroup, DeploymentPlanner::kCapacityId);
    capacity_->setReadOnly(true);
    powerDraw_ = Box(powerGroup, DeploymentPlanner::kPowerDrawId);
    powerDraw_->setReadOnly(true);
    powerText_ = StaticText(powerGroup, DeploymentPlanner::kPowerTextId);
    auto* power = new QFormLayout(powerGroup);
    power->addRow(QStringLiteral("Battery Pack Type:"), batteryType_);
    power->addRow(QStringLiteral("Number of Battery Packs:"), batteryPacks_);
    power->addRow(QStringLiteral("Battery Capacity (Wh):"), capacity_);
    power->addRow(QStringLiteral("Power Consumption (W):"), powerDraw_);
    power->addRow(powerText_);
    return powerGroup;
}

void DeploymentDialog::buildButtons() {
    advanced_ = Button(this, DeploymentPlanner::kAdvancedButtonId, "Show  &Advanced Settings...");
    waves_ = Button(this, DeploymentPlanner::kWavesButtonId, "Show  &Waves Settings...");
    pcQpx_ = Button(this, DeploymentPlanner::kPcQpxButtonId, "Show  &PC-QPX Settings...");
    hardware_ =
        Button(this, DeploymentPlanner::kHardwareButtonId, "Show H&ardware Configuration...");
    recorder_ = Button(this, DeploymentPlanner::kRecorderButtonId, "Show &Recorder Details...");
    systemTime_ = Button(this, DeploymentPlanner::kSystemTimeButtonId, "Show System &Time...");
    assistantButton_ = Button(this, DeploymentPlanner::kAssistantButtonId, "");
    // Alt+P is shared with "Show &PC-QPX Settings..." and Alt+C with "&Cancel": a shared letter
    // moves the focus between its buttons instead of pressing one, so neither is pressed by
    // mistake (Escape still cancels).
    savePlan_ = Button(this, kSavePlanId, "Save &Plan...");
    openPlan_ = Button(this, kOpenPlanId, "&Open Plan...");
    saveCommands_ = Button(this, kSaveCommandsId, "Save &Commands...");
    planViews_ = Button(this, kPlanViewsId, "Show Plan &Views...");
    deploy_ = Button(this, DeploymentPlanner::kDeployId, "&Deploy");
    deploy_->setDefault(true);
    cancel_ = Button(this, kCancelId, "&Cancel");
    helpButton_ = Button(this, kHelpId, "&Help");

    connect(advanced_, &QPushButton::clicked, this, &DeploymentDialog::openAdvancedSettings);
    connect(waves_, &QPushButton::clicked, this, &DeploymentDialog::openWavesSettings);
    connect(pcQpx_, &QPushButton::clicked, this, &DeploymentDialog::openPcQpxSettings);
    connect(hardware_, &QPushButton::clicked, this, &DeploymentDialog::openHardwareConfiguration);
    connect(recorder_, &QPushButton::clicked, this, &DeploymentDialog::openRecorderDetails);
    connect(systemTime_, &QPushButton::clicked, this, &DeploymentDialog::openSystemTime);
    connect(savePlan_, &QPushButton::clicked, this, &DeploymentDialog::savePlan);
    connect(openPlan_, &QPushButton::clicked, this, &DeploymentDialog::openPlan);
    connect(saveCommands_, &QPushButton::clicked, this, &DeploymentDialog::saveCommands);
    connect(planViews_, &QPushButton::clicked, this, &DeploymentDialog::showPlanViews);
    connect(deploy_, &QPushButton::clicked, this, &DeploymentDialog::deployClicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_ && !InstrumentExchange::Refused()) {
            help_();
        }
    });
}

void DeploymentDialog::arrange(QFormLayout* settings, QGroupBox* commentsGroup,
                               QGroupBox* powerGroup, QGroupBox* summaryGroup) {
    auto* subDialogs = new QVBoxLayout;
    for (QPushButton* button : {advanced_, waves_, pcQpx_, hardware_, recorder_, systemTime_,
                                planViews_, assistantButton_}) {
        subDialogs->addWidget(button);
    }
    subDialogs->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(powerGroup);
    right->addWidget(summaryGroup);
    right->addLayout(subDialogs);

    auto* left = new QVBoxLayout;
    left->addLayout(settings);
    left->addWidget(commentsGroup);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    // The files at the left of the bottom row, the window's own ending at its right.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(savePlan_);
    buttons->addWidget(openPlan_);
    buttons->addWidget(saveCommands_);
    buttons->addStretch();
    buttons->addWidget(deploy_);
    buttons->addWidget(cancel_);
    buttons->addWidget(helpButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

void DeploymentDialog::buildAssistant() {
    assistant_ = new ProfileAssistantDialog(this, planner_, messages_);
    connect(assistantButton_, &QPushButton::clicked, this, [this] {
        if (InstrumentExchange::Refused()) {
            return;
        }
        assistant_->toggle();
        assistantButton_->setText(CoreText(planner_.assistantButtonText()));
    });
    connect(assistant_, &ProfileAssistantDialog::transferred, this, [this] {
        showProfileBoxes();
        showEstimates();
    });
}

void DeploymentDialog::load(const planning::PlannerInputs& inputs, const link::CalendarTime& now) {
    plan_.reset();
    downloaded_ = inputs.user;
    // A start no calendar has comes out of the planner as the computer's time.
    planner_.open(inputs, now);
    assistant_->hide();
    refresh();
}

void DeploymentDialog::refresh() {
    showValues();
    assistant_->showValues();

    const bool plain = planner_.plainFieldsEnabled();
    fileName_->setEnabled(plain);
    start_->setEnabled(plain);
    for (QLineEdit* comment : comments_) {
        comment->setEnabled(plain);
    }
    coordinate_->setEnabled(planner_.coordinateEnabled());
    outputMode_->setEnabled(planner_.outputModeEnabled());
    recorderEnabled_->setEnabled(DeploymentPlanner::recorderEnabledEnabled());
    pcQpx_->setEnabled(planner_.pcQpxEnabled());
    waves_->setEnabled(planner_.wavesEnabled());
    const bool instrument = planner_.instrumentButtonsEnabled();
    recorder_->setEnabled(instrument);
    hardware_->setEnabled(instrument);
    systemTime_->setEnabled(instrument);
    deploy_->setEnabled(planner_.deployEnabled());
    // Enter with "&Deploy" disabled must not fall through to another button.
    deploy_->setDefault(planner_.deployEnabled());
}

void DeploymentDialog::showValues() {
    SetBoxText(fileName_, planner_.fileNameText());
    {
        const QSignalBlocker blocker(start_);
        const QDateTime start = DateTimeFromCalendar(planner_.startTime());
        if (start.isValid()) {
            start_->setDateTime(start);
        }
    }
    for (int i = 0; i < 3; ++i) {
        SetBoxText(comments_[i], planner_.commentText(i));
    }
    SetBoxText(averaging_, planner_.averagingText());
    SetBoxText(profiling_, planner_.profilingText());
    SetBoxText(batteryPacks_, planner_.batteryPacksText());
    showProfileBoxes();
    Fill(coordinate_, planner_.coordinateEntries(), planner_.coordinateSelection());
    Fill(outputMode_, DeploymentPlanner::kOutputModeList, planner_.outputModeSelection());
    Fill(recorderEnabled_, DeploymentPlanner::kRecorderEnabledList,
         planner_.recorderEnabledSelection());
    Fill(batteryType_, DeploymentPlanner::batteryTypeList(), planner_.batteryTypeSelection());
    cellSizeLabel_->setText(CoreText(planner_.cellSizeLabel()));
    blankingLabel_->setText(CoreText(planner_.blankingLabel()));
    assistantButton_->setText(CoreText(planner_.assistantButtonText()));
    showEstimates();
}

void DeploymentDialog::showProfileBoxes() {
    SetBoxText(cells_, planner_.cellsText());
    SetBoxText(cellSize_, planner_.cellSizeText());
    SetBoxText(blanking_, planner_.blankingText());
}

void DeploymentDialog::showEstimates() {
    rangeText_->setText(CoreText(planner_.rangeText()));
    capacity_->setText(CoreText(planner_.capacityText()));
    powerDraw_->setText(CoreText(planner_.powerDrawText()));
    powerText_->setText(CoreText(planner_.powerText()));
    freeSpaceText_->setText(CoreText(planner_.freeSpaceText()));
    if (planViewsWindow_ != nullptr) {
        planViewsWindow_->refresh();
    }
}

void DeploymentDialog::showPlanViews() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    if (planViewsWindow_ == nullptr) {
        planViewsWindow_ = new PlanViewsWindow(this, planner_, messages_);
        // It shows this planner's values: it goes when the planner closes.
        connect(this, &QDialog::finished, planViewsWindow_, &QWidget::hide);
    }
    planViewsWindow_->refresh();
    planViewsWindow_->show();
    planViewsWindow_->raise();
    planViewsWindow_->activateWindow();
}

void DeploymentDialog::boxEdited(const CheckedEntry& entry, const QString& text) {
    // A refused text stays in the box as typed: putting the old text back would make the next
    // key land after it ("0" then ".5" typed as "0.5" would read "1.5"). The planner keeps its
    // last accepted value, and "&Deploy" judges the box's text, so the refused text cannot go
    // out as that value.
    const auto message = planner_.boxEdited(entry.check, text.toStdString());
    if (message) {
        messages_.showMessage(message->text);
    }
    showEstimates();
}

void DeploymentDialog::takeStartTime() {
    planner_.setStartTime(CalendarFromDateTime(start_->dateTime()));
}

void DeploymentDialog::deployClicked() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    takeStartTime();
    if (link_ != nullptr && !planner_.planning() && !reviewPassed()) {
        return;
    }
    DeploymentPlanner::DeployResult result = planner_.deploy();
    if (result.message) {
        showRefusal(*result.message);
        return;
    }
    plan_ = std::move(result.value);
    showValues();
    accept();
}

bool DeploymentDialog::reviewPassed() {
    // "&Deploy" changes shown texts as it passes (lengths typed in feet become metres); the
    // planner the user goes back to must not have been through it.
    DeploymentPlanner reviewed = planner_;
    DeploymentPlanner::DeployResult checked = reviewed.deploy();
    if (checked.message) {
        showRefusal(*checked.message);
        return false;
    }
    DeploymentReviewDialog review(this, reviewed, std::move(*checked.value), *link_, messages_,
                                  recordsFolder_);
    review.setDialogHook(dialogHook_);
    const bool deploy = ExecModal(review, dialogHook_) == QDialog::Accepted;
    // The review's own values are the plan's, whichever way it closed: they are there when the
    // user comes back to it, and they reach the record.
    static_cast<void>(planner_.plannedDurationChanged(reviewed.plannedDurationText()));
    planner_.setOperatorRemarks(reviewed.operatorRemarks());
    if (const auto& reading = reviewed.clockReading()) {
        planner_.noteClockReading(*reading);
    }
    return deploy;
}

void DeploymentDialog::showRefusal(const planning::DialogMessage& message) {
    messages_.showMessage(message.text);
    if (message.focusId != 0) {
        if (QLineEdit* box = boxById(message.focusId)) {
            box->setFocus(Qt::OtherFocusReason);
            if (message.selectText) {
                box->selectAll();
            }
        }
    }
}

QLineEdit* DeploymentDialog::boxById(int id) const {
    for (QLineEdit* box : {fileName_, comments_[0], comments_[1], comments_[2]}) {
        if (TemplateIdOf(box) == id) {
            return box;
        }
    }
    for (const CheckedEntry& entry : checked_) {
        if (TemplateIdOf(entry.box) == id) {
            return entry.box;
        }
    }
    return nullptr;
}

} // namespace qpx::ui
