#include "ui/SystemTimeDialog.h"

#include "instrument/ClockCheckRecord.h"
#include "platform/RecordFiles.h"
#include "ui/DeploymentDialog.h"
#include "ui/DialogWidgets.h"
#include "ui/RecordFolder.h"
#include "ui/TemplateId.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>

namespace qpx::ui {
namespace {

using namespace qpx::instrument;
using qpx::operations::ClockMode;

QString FromCore(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

std::optional<QString> ChooseDeploymentRecord(QWidget* parent, const DialogHook& hook,
                                              const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Deployment Record"), folder,
                       QStringLiteral("Deployment records (*.json)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ExecModal(dialog, hook) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

int Ask(QWidget* parent, const DialogHook& hook, QMessageBox::Icon icon, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
    QMessageBox box(icon, FromCore(kSystemTimeTitle), text, buttons, parent);
    return ExecModal(box, hook);
}

} // namespace

SystemTimeDialog::SystemTimeDialog(QWidget* parent, SystemTimeDialogModel& model,
                                   std::optional<ClockCheckContext> clockCheck)
    : GuardedDialog(parent), model_(model), clockCheck_(std::move(clockCheck)),
      computerRead_(model.computerTime()) {
    setWindowTitle(FromCore(kSystemTimeTitle));
    SetTemplateId(this, kTemplateId);

    auto* clocks = new QFormLayout;
    SetValueText(CaptionedValue(clocks, this, kComputerTimeTextId, FromCore(kComputerTimeLabel)),
                 FromCore(model_.computerTimeText()));
    SetValueText(CaptionedValue(clocks, this, kSystemTimeTextId, FromCore(kSystemTimeLabel)),
                 FromCore(model_.instrumentTimeText()));
    difference_ = CaptionedValue(clocks, this, kDifferenceTextId, FromCore(kDifferenceLabel));
    SetValueText(difference_, FromCore(model_.differenceText()));

    auto* group = new QGroupBox(FromCore(kSetSystemTimeGroup), this);
    auto_ = new QRadioButton(FromCore(kAutoRadioText), group);
    SetTemplateId(auto_, kAutoRadioId);
    manual_ = new QRadioButton(FromCore(kManualRadioText), group);
    SetTemplateId(manual_, kManualRadioId);
    dateTime_ = new QDateTimeEdit(group);
    SetTemplateId(dateTime_, kDateTimePlaceholderId);
    dateTime_->setDisplayFormat(FromCore(kDateTimeDisplayFormat));
    // A computer clock no calendar control can show leaves the control at its own default.
    const QDateTime start = DateTimeFromCalendar(model_.controlTime());
    if (start.isValid()) {
        dateTime_->setDateTime(start);
    }
    (model_.mode() == ClockMode::Manual ? manual_ : auto_)->setChecked(true);
    dateTime_->setEnabled(model_.dateTimeEnabled());
    // It has no label of its own: it holds the time Manual sends.
    dateTime_->setAccessibleName(group->title().trimmed() + QLatin1Char(' ') + manual_->text());
    // The checked state, not the click: an accessibility tool's toggle checks a radio button
    // without clicking it, and must choose the mode all the same.
    connect(auto_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            model_.selectAuto();
            dateTime_->setEnabled(model_.dateTimeEnabled());
        }
    });
    connect(manual_, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            model_.selectManual();
            dateTime_->setEnabled(model_.dateTimeEnabled());
        }
    });
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(auto_);
    groupLayout->addWidget(manual_);
    groupLayout->addWidget(dateTime_);

    const OkCancelRow buttons = OkCancelButtons(this, kOkId, kCancelId);
    connect(buttons.ok, &QPushButton::clicked, this, &SystemTimeDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(clocks);
    if (clockCheck_) {
        auto* save = new QPushButton(FromCore(kSaveClockCheckText), this);
        save->setAccessibleName(save->text());
        save->setAutoDefault(false);
        connect(save, &QPushButton::clicked, this, &SystemTimeDialog::saveClockCheck);
        layout->addWidget(save, 0, Qt::AlignLeft);
    }
    layout->addWidget(group);
    layout->addLayout(buttons.row);
}

void SystemTimeDialog::accept() {
    if (dateTime_->dateTime().isValid()) {
        model_.setControlTime(CalendarFromDateTime(dateTime_->dateTime()));
    }
    QDialog::accept();
}

void SystemTimeDialog::saveClockCheck() {
    const DialogHook& hook = clockCheck_->hook;
    const auto folder = ChooseRecordsFolder(this, hook, QStringLiteral("Save Clock Check In"),
                                            DefaultRecordsFolder());
    if (!folder) {
        return;
    }
    std::optional<instrument::DeploymentRecordFile> deployment;
    if (Ask(this, hook, QMessageBox::Question, QStringLiteral("Compare with a deployment record?"),
            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        const auto file = ChooseDeploymentRecord(this, hook, FolderText(*folder));
        if (!file) {
            return;
        }
        const platform::DeploymentRecordRead read = platform::ReadDeploymentRecord(FilePath(*file));
        if (!read.record) {
            Ask(this, hook, QMessageBox::Warning,
                QStringLiteral("The deployment record %1 cannot be read: %2.")
                    .arg(QDir::toNativeSeparators(*file), FromCore(read.error)));
            return;
        }
        deployment = read.record;
    }

    const instrument::ClockCheck check = instrument::MakeClockCheck(
        clockCheck_->serialNumber,
        {computerRead_, clockCheck_->utcOffsetSeconds, model_.instrumentTime()});
    const instrument::ClockCheckOutcome outcome =
        instrument::MakeClockCheckRecord(check, deployment);
    if (!outcome.record) {
        Ask(this, hook, QMessageBox::Warning, FromCore(outcome.refusal));
        return;
    }
    const platform::RecordTexts texts = instrument::ClockCheckRecordTexts(*outcome.record);
    const platform::RecordSaved saved =
        platform::SaveRecord(texts, platform::RecordFolders(*folder));
    QStringList lines;
    if (saved.folder) {
        lines << QStringLiteral("The clock check was saved as %1.txt and .json.")
                     .arg(FolderText(*saved.folder / texts.stem));
    } else {
        lines << QStringLiteral("The clock check could not be saved.");
    }
    if (!outcome.note.empty()) {
        lines << FromCore(outcome.note);
    }
    for (const auto& problem : saved.problems) {
        lines << QStringLiteral("Not saved to ") + FromCore(problem);
    }
    Ask(this, hook, saved.folder ? QMessageBox::Information : QMessageBox::Warning,
        lines.join(QLatin1Char('\n')));
}

void SystemTimeDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The rule over the difference, one pixel above its text, as wide as the text box.
    const QRect text = difference_->geometry();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(text.left(), text.top() - 1, text.right(), text.top() - 1);
}

} // namespace qpx::ui
