#include "ui/SystemInformationDialog.h"

#include "ui/DialogWidgets.h"
#include "ui/TemplateId.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qpx::ui {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename List>
QComboBox* FixedList(QWidget* parent, int id, const List& entries, int selection) {
    auto* combo = new QComboBox(parent);
    SetTemplateId(combo, id);
    combo->setEditable(false);
    for (std::string_view entry : entries) {
        combo->addItem(Text(entry));
    }
    combo->setCurrentIndex(selection);
    return combo;
}

} // namespace

SystemInformationDialog::SystemInformationDialog(QWidget* parent) : GuardedDialog(parent) {
    setWindowTitle(Text(planning::kSystemInformationTitle));
    SetTemplateId(this, kTemplateId);

    QComboBox* frequency = FixedList(this, planning::kFrequencyListId, planning::kFrequencyEntries,
                                     model_.frequencyIndex());
    QComboBox* recorder = FixedList(this, planning::kRecorderSizeListId,
                                    planning::kRecorderSizeEntries, model_.recorderIndex());
    QComboBox* waves = FixedList(this, planning::kWavesOptionListId, planning::kWavesOptionEntries,
                                 model_.wavesIndex());
    connect(frequency, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.frequencySelected(index); });
    connect(recorder, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.recorderSelected(index); });
    connect(waves, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.wavesSelected(index); });

    auto* form = new QFormLayout;
    form->addRow(Text(planning::kFrequencyListLabel), frequency);
    form->addRow(Text(planning::kRecorderSizeListLabel), recorder);
    form->addRow(Text(planning::kWavesOptionListLabel), waves);

    const OkCancelRow buttons = OkCancelButtons(this, kOkId, kCancelId);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
}

} // namespace qpx::ui
