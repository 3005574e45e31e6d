#include "ui/WavesSettingsDialog.h"

#include "ui/DialogWidgets.h"
#include "ui/FocusOffendingBox.h"
#include "ui/TemplateId.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace qpx::ui {
namespace {

using planning::WavesSettings;

} // namespace

WavesSettingsDialog::WavesSettingsDialog(QWidget* parent, WavesSettings model,
                                         link::MessageSink& messages)
    : GuardedDialog(parent), model_(std::move(model)), messages_(messages) {
    setWindowTitle(QStringLiteral("Waves Settings"));
    SetTemplateId(this, kTemplateId);
    build();
    showValues();
}

void WavesSettingsDialog::build() {
    auto* group = new QGroupBox(CoreText(WavesSettings::groupText()), this);
    recordEvery_ = Box(group, WavesSettings::kRecordEveryId);
    rate_ = Combo(group, WavesSettings::kRateId);
    length_ = Box(group, WavesSettings::kLengthId);
    type_ = Combo(group, WavesSettings::kTypeId);
    duration_ = Box(group, WavesSettings::kDurationId);
    duration_->setReadOnly(true);

    auto* every = new QHBoxLayout;
    every->addWidget(
        Caption(new QLabel(QStringLiteral("Record Wave Series every"), group), recordEvery_));
    every->addWidget(recordEvery_);
    every->addWidget(new QLabel(QStringLiteral("profiles"), group));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Wave Series Rate:"), rate_);
    fields->addRow(QStringLiteral("Wave Series Length:"), length_);
    fields->addRow(QStringLiteral("Wave Series Type:"), type_);
    fields->addRow(QStringLiteral("Wave Series Duration (s):"), duration_);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(every);
    groupLayout->addWidget(new QLabel(CoreText(WavesSettings::noteText()), group));
    groupLayout->addLayout(fields);

    const OkCancelRow buttons = OkCancelButtons(this, kOkId, kCancelId);
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons.row);

    connect(recordEvery_, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.recordEveryTextChanged(text.toStdString());
        const bool enabled = model_.detailsEnabled();
        rate_->setEnabled(enabled);
        length_->setEnabled(enabled);
        type_->setEnabled(enabled);
    });
    connect(length_, &QLineEdit::textEdited, this, [this](const QString& text) {
        showDuration(model_.lengthTextChanged(text.toStdString()));
    });
    connect(rate_, &QComboBox::currentIndexChanged, this,
            [this](int index) { showDuration(model_.rateSelected(index)); });
    connect(type_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.typeSelected(index); });
    connect(ok_, &QPushButton::clicked, this, &WavesSettingsDialog::okClicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void WavesSettingsDialog::showValues() {
    SetBoxText(recordEvery_, model_.recordEveryText());
    SetBoxText(length_, model_.lengthText());
    Fill(rate_, WavesSettings::kRateList, model_.rateSelection());
    Fill(type_, model_.typeList(), model_.typeSelection());
    SetBoxText(duration_, model_.durationText());
    const bool enabled = model_.detailsEnabled();
    rate_->setEnabled(enabled);
    length_->setEnabled(enabled);
    type_->setEnabled(enabled);
}

void WavesSettingsDialog::showOpeningMessage() {
    if (openingMessageShown_) {
        return;
    }
    openingMessageShown_ = true;
    if (const auto& message = model_.openingMessage()) {
        ShowOffendingBox(messages_, this, *message);
    }
}

void WavesSettingsDialog::showDuration(const std::optional<planning::DialogMessage>& message) {
    SetBoxText(duration_, model_.durationText());
    if (message) {
        ShowOffendingBox(messages_, this, *message);
    }
}

void WavesSettingsDialog::okClicked() {
    const WavesSettings::OkResult result = model_.ok();
    if (result.message) {
        ShowOffendingBox(messages_, this, *result.message);
        return;
    }
    accepted_ = result.value;
    accept();
}

} // namespace qpx::ui
