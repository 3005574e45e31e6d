#include "ui/AdvancedSettingsDialog.h"

#include "ui/DialogWidgets.h"
#include "ui/FocusOffendingBox.h"
#include "ui/TemplateId.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace qpx::ui {
namespace {

using planning::AdvancedSettings;

} // namespace

AdvancedSettingsDialog::AdvancedSettingsDialog(QWidget* parent, AdvancedSettings model,
                                               link::MessageSink& messages)
    : GuardedDialog(parent), model_(std::move(model)), messages_(messages) {
    setWindowTitle(QStringLiteral("Advanced Settings"));
    SetTemplateId(this, kTemplateId);
    build();
    showValues();
}

void AdvancedSettingsDialog::build() {
    auto* soundGroup = new QGroupBox(CoreText(AdvancedSettings::soundGroupText()), this);
    temperatureMode_ = Combo(soundGroup, AdvancedSettings::kTemperatureModeId);
    temperatureLabel_ = new QLabel(soundGroup);
    SetTemplateId(temperatureLabel_, AdvancedSettings::kTemperatureLabelId);
    temperature_ = Box(soundGroup, AdvancedSettings::kTemperatureId);
    salinity_ = Box(soundGroup, AdvancedSettings::kSalinityId);
    soundSpeedLabel_ = new QLabel(soundGroup);
    SetTemplateId(soundSpeedLabel_, AdvancedSettings::kSoundSpeedLabelId);
    soundSpeed_ = Box(soundGroup, AdvancedSettings::kSoundSpeedId);
    soundSpeed_->setReadOnly(true);
    auto* sound = new QFormLayout(soundGroup);
    sound->addRow(QStringLiteral("Temperature Mode:"), temperatureMode_);
    sound->addRow(Caption(temperatureLabel_, temperature_), temperature_);
    sound->addRow(CoreText(AdvancedSettings::salinityLabel()), salinity_);
    sound->addRow(Caption(soundSpeedLabel_, soundSpeed_), soundSpeed_);

    auto* burstGroup = new QGroupBox(CoreText(AdvancedSettings::burstGroupText()), this);
    burstMode_ = Combo(burstGroup, AdvancedSettings::kBurstModeId);
    burstInterval_ = Box(burstGroup, AdvancedSettings::kBurstIntervalId);
    profilesPerBurst_ = Box(burstGroup, AdvancedSettings::kProfilesPerBurstId);
    auto* burst = new QFormLayout(burstGroup);
    burst->addRow(QStringLiteral("Burst Mode:"), burstMode_);
    burst->addRow(CoreText(AdvancedSettings::burstIntervalLabel()), burstInterval_);
    burst->addRow(CoreText(AdvancedSettings::profilesPerBurstLabel()), profilesPerBurst_);

    const OkCancelRow buttons = OkCancelButtons(this, kOkId, kCancelId);
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(soundGroup);
    layout->addWidget(burstGroup);
    layout->addLayout(buttons.row);

    connect(temperatureMode_, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_.temperatureModeSelected(index);
        applyEnabling();
    });
    connect(burstMode_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const auto message = model_.burstModeSelected(index);
        applyEnabling();
        showModelMessage(message);
    });
    connect(temperature_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.temperatureTextChanged(text.toStdString()); });
    connect(salinity_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.salinityTextChanged(text.toStdString()); });
    connect(burstInterval_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.burstIntervalTextChanged(text.toStdString()); });
    connect(profilesPerBurst_, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.profilesPerBurstTextChanged(text.toStdString());
    });
    // editingFinished comes when the box loses the focus after a change (or on Enter): the
    // moment the speed of sound is worked out again.
    connect(temperature_, &QLineEdit::editingFinished, this,
            [this] { focusLeft(&AdvancedSettings::temperatureFocusLost); });
    connect(salinity_, &QLineEdit::editingFinished, this,
            [this] { focusLeft(&AdvancedSettings::salinityFocusLost); });
    connect(ok_, &QPushButton::clicked, this, &AdvancedSettingsDialog::okClicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AdvancedSettingsDialog::showValues() {
    Fill(temperatureMode_, AdvancedSettings::kTemperatureModeList,
         model_.temperatureModeSelection());
    Fill(burstMode_, AdvancedSettings::kBurstModeList, model_.burstModeSelection());
    temperatureLabel_->setText(CoreText(model_.temperatureLabel()));
    soundSpeedLabel_->setText(CoreText(model_.soundSpeedLabel()));
    SetBoxText(temperature_, model_.temperatureText());
    SetBoxText(salinity_, model_.salinityText());
    SetBoxText(soundSpeed_, model_.soundSpeedText());
    SetBoxText(burstInterval_, model_.burstIntervalText());
    SetBoxText(profilesPerBurst_, model_.profilesPerBurstText());
    applyEnabling();
}

void AdvancedSettingsDialog::applyEnabling() {
    temperature_->setReadOnly(model_.temperatureReadOnly());
    burstInterval_->setEnabled(model_.burstEditsEnabled());
    profilesPerBurst_->setEnabled(model_.burstEditsEnabled());
}

void AdvancedSettingsDialog::showModelMessage(
    const std::optional<planning::DialogMessage>& message) {
    if (!message || showingMessage_) {
        return;
    }
    showingMessage_ = true;
    ShowOffendingBox(messages_, this, *message);
    showingMessage_ = false;
}

void AdvancedSettingsDialog::focusLeft(
    std::optional<planning::DialogMessage> (AdvancedSettings::*lost)()) {
    if (showingMessage_) {
        return;
    }
    const auto message = (model_.*lost)();
    SetBoxText(soundSpeed_, model_.soundSpeedText());
    showModelMessage(message);
}

void AdvancedSettingsDialog::okClicked() {
    const AdvancedSettings::OkResult result = model_.ok();
    if (result.message) {
        showModelMessage(result.message);
        return;
    }
    accepted_ = result.value;
    accept();
}

} // namespace qpx::ui
