#include "ui/AboutDialog.h"

#include "ui/ProgramArt.h"
#include "ui/TemplateId.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>

namespace qpx::ui {

AboutDialog::AboutDialog(QWidget* parent) : GuardedDialog(parent) {
    SetTemplateId(this, kTemplateId);
    setWindowTitle(QStringLiteral("About Kelvra QPX Deployment"));

    // The logo is painted with the platform's disabled (embossed) look at the top left.
    QStyleOption option;
    option.initFrom(this);
    logo_ = style()->generatedIconPixmap(QIcon::Disabled, LogoPixmap(devicePixelRatioF()), &option);

    auto* title =
        new QLabel(QString::fromLatin1(kProgramTitle) + QString::fromLatin1(kProgramVersion));
    SetTemplateId(title, kTitleId);
    title->setAlignment(Qt::AlignCenter);
    auto* serialCaption = new QLabel(QStringLiteral("Serial #: "));
    auto* serial = new QLabel(QString()); // the program knows no serial number
    SetTemplateId(serial, kSerialId);
    serial->setAlignment(Qt::AlignCenter);
    auto* hidden = new QLabel(QString(), this);
    SetTemplateId(hidden, kHiddenId);
    hidden->hide();

    auto* frame = new QGroupBox;
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(title);
    auto* serialRow = new QHBoxLayout;
    serialRow->addWidget(serialCaption);
    serialRow->addWidget(serial, 1);
    frameLayout->addLayout(serialRow);

    email_ = new HyperlinkControl(QStringLiteral("Kelvra: e-mail"));
    SetTemplateId(email_, kEmailId);
    email_->setUrl(QString::fromLatin1(kMakerEmail));
    email_->setUnderline(true);
    email_->setLinkCursor(Qt::PointingHandCursor);
    email_->setAutoSize(true);
    homePage_ = new HyperlinkControl(QStringLiteral("Kelvra homepage"));
    SetTemplateId(homePage_, kHomePageId);
    homePage_->setUrl(QString::fromLatin1(kMakerHomePage));
    homePage_->setUnderline(true);
    homePage_->setLinkCursor(Qt::PointingHandCursor);
    homePage_->setAutoSize(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    SetTemplateId(buttons->button(QDialogButtonBox::Ok), kOkId);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* links = new QHBoxLayout;
    links->addWidget(email_);
    links->addStretch(1);
    links->addWidget(homePage_);

    auto* top = new QHBoxLayout;
    top->addSpacing(logo_.isNull() ? 0 : 119 + 8);
    top->addWidget(frame, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addSpacing(0);
    layout->addLayout(top);
    layout->addSpacing(std::max(0, 49 - frame->sizeHint().height()));
    layout->addLayout(links);
    layout->addWidget(buttons);
    setSizeGripEnabled(false);
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), logo_);
}

} // namespace qpx::ui
