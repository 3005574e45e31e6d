#include "ui/SystemTimeDialog.h"

#include "ui/DeploymentDialog.h"
#include "ui/DialogWidgets.h"
#include "ui/TemplateId.h"

#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qpx::ui {
namespace {

using namespace qpx::instrument;
using qpx::operations::ClockMode;

QString FromCore(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SystemTimeDialog::SystemTimeDialog(QWidget* parent, SystemTimeDialogModel& model)
    : GuardedDialog(parent), model_(model) {
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
    layout->addWidget(group);
    layout->addLayout(buttons.row);
}

void SystemTimeDialog::accept() {
    if (dateTime_->dateTime().isValid()) {
        model_.setControlTime(CalendarFromDateTime(dateTime_->dateTime()));
    }
    QDialog::accept();
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
