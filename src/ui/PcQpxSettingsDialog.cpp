#include "ui/PcQpxSettingsDialog.h"

#include "instrument/PcQpxTransmit.h"
#include "ui/FocusOffendingBox.h"
#include "ui/InstrumentExchange.h"
#include "ui/ProgressWindowFactory.h"
#include "ui/TemplateId.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <span>

namespace qpx::ui {
namespace {

using namespace qpx::instrument;

QString FromCore(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Planning mode has no line and so no update ever opens a window.
class NoWindows final : public link::ProgressViewFactory {
public:
    std::unique_ptr<link::ProgressView> open() override { return nullptr; }
};

struct Field {
    int labelId;
    int controlId;
    bool input;
};

// In the template's order: the user's three inputs, then what the instrument reports.
constexpr Field kInputs[] = {
    {kPulseLengthLabelId, kPulseLengthEditId, true},
    {kUserPulseLagLabelId, kUserPulseLagEditId, true},
    {kUserResLagLabelId, kUserResLagEditId, true},
};
constexpr Field kSystemValues[] = {
    {kSystemLagLabelId, kSystemLagId, false},
    {kSystemResLagLabelId, kSystemResLagId, false},
    {kMaxVerticalVelLabelId, kMaxVerticalVelId, false},
    {kMaxHorizontalVelLabelId, kMaxHorizontalVelId, false},
    {0, kMinCorrLevelId, false},
};

} // namespace

PcQpxSettingsDialog::PcQpxSettingsDialog(QWidget* parent, PcQpxSettings& settings, link::Link* link,
                                         link::MessageSink& messages)
    : GuardedDialog(parent), settings_(settings), link_(link), messages_(messages) {
    setWindowTitle(FromCore(kPcQpxSettingsTitle));
    SetTemplateId(this, kTemplateId);
    if (link_ != nullptr) {
        progress_ = std::make_unique<ProgressWindowFactory>(this, link_->clock());
    }

    const auto addRows = [this, &settings](QGroupBox* group, const auto& fields) {
        auto* form = new QFormLayout(group);
        for (const Field& field : fields) {
            auto* label = new QLabel(group);
            if (field.labelId != 0) {
                SetTemplateId(label, field.labelId);
                label->setText(FromCore(settings.label(field.labelId)));
            } else {
                label->setText(FromCore(kMinCorrLevelLabel));
            }
            auto* box = new QLineEdit(group);
            SetTemplateId(box, field.controlId);
            box->setReadOnly(!field.input);
            label->setBuddy(box);
            form->addRow(label, box);
        }
    };
    auto* inputs = new QGroupBox(QStringLiteral("User Input Variables"), this);
    addRows(inputs, kInputs);
    auto* system = new QGroupBox(QStringLiteral("System Variables"), this);
    addRows(system, kSystemValues);

    pulseLength_ = qobject_cast<QLineEdit*>(FindByTemplateId(this, kPulseLengthEditId));
    userPulseLag_ = qobject_cast<QLineEdit*>(FindByTemplateId(this, kUserPulseLagEditId));
    userResLag_ = qobject_cast<QLineEdit*>(FindByTemplateId(this, kUserResLagEditId));
    // User edits only: the texts the model sets itself must not count as typed.
    connect(pulseLength_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.pulseLengthChanged(text.toStdString()); });
    connect(userPulseLag_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.userPulseLagChanged(text.toStdString()); });
    connect(userResLag_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.userResLagChanged(text.toStdString()); });

    auto* update = new QPushButton(QStringLiteral("&Update PC-QPX Settings"), this);
    SetTemplateId(update, kUpdatePcQpxButtonId);
    update->setAutoDefault(false);
    connect(update, &QPushButton::clicked, this, &PcQpxSettingsDialog::updateClicked);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    SetTemplateId(close, kCloseId);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(update);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputs);
    layout->addWidget(system);
    layout->addLayout(buttons);

    showValues();
}

PcQpxSettingsDialog::~PcQpxSettingsDialog() = default;

void PcQpxSettingsDialog::showValues() {
    for (const auto& fields :
         {std::span<const Field>(kInputs), std::span<const Field>(kSystemValues)}) {
        for (const Field& field : fields) {
            auto* box = qobject_cast<QLineEdit*>(FindByTemplateId(this, field.controlId));
            const QSignalBlocker blocker(box);
            box->setText(FromCore(settings_.text(field.controlId)));
        }
    }
}

void PcQpxSettingsDialog::updateClicked() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    NoWindows none;
    link::ProgressViewFactory& windows =
        progress_ ? static_cast<link::ProgressViewFactory&>(*progress_) : none;
    PcQpxUpdateOutcome outcome;
    {
        const InstrumentExchange exchange;
        outcome = UpdatePcQpxSettings(settings_, link_, windows);
    }
    if (outcome.message) {
        ShowOffendingBox(messages_, this, *outcome.message);
        return;
    }
    if (outcome.value == PcQpxTransmitResult::Success) {
        showValues();
    }
}

void PcQpxSettingsDialog::enterPressed() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    if (const auto failure = settings_.readFields()) {
        ShowOffendingBox(messages_, this, *failure);
        return;
    }
    accept();
}

void PcQpxSettingsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enterPressed();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace qpx::ui
