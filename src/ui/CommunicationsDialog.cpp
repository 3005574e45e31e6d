#include "ui/CommunicationsDialog.h"

#include "ui/ActivityTrace.h"
#include "ui/InstrumentExchange.h"
#include "ui/TemplateId.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace qpx::ui {

PortMarker::PortMarker(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    colour_ = palette().color(QPalette::Button);
}

void PortMarker::setColour(QColor colour) {
    colour_ = colour;
    update();
}

QSize PortMarker::sizeHint() const {
    const int side = fontMetrics().height() * 2 / 3;
    return {side, side};
}

void PortMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour_);
    const int side = std::min(width(), height());
    painter.drawEllipse(QRect((width() - side) / 2, (height() - side) / 2, side, side));
}

QColor MarkerColour(int availability, const QPalette& palette) {
    switch (availability) {
    case operations::kPortAvailable:
        return QColor(0, 255, 0);
    case operations::kPortInUse:
        return QColor(255, 0, 0);
    default:
        return palette.color(QPalette::Button);
    }
}

namespace {

// The marker's colour in words, for whoever cannot see it or tell red from green.
QString AvailabilityText(int availability) {
    switch (availability) {
    case operations::kPortAvailable:
        return QStringLiteral("available");
    case operations::kPortInUse:
        return QStringLiteral("in use or access denied");
    default:
        return QStringLiteral("cannot be opened");
    }
}

QString PortButtonText(int index, const std::string& device) {
    QString text = QStringLiteral("COM&%1").arg(index + 1);
    if (!device.empty())
        text += QStringLiteral("  ") + QString::fromStdString(device);
    return text;
}

} // namespace

CommunicationsDialog::CommunicationsDialog(QWidget* owner, ConnectionServices services,
                                           operations::ConnectionSettings& settings)
    : GuardedDialog(owner), services_(std::move(services)), settings_(settings) {
    SetTemplateId(this, kTemplateId);
    setWindowTitle(QStringLiteral("Communications:"));
    setModal(false);

    group_ = new QButtonGroup(this);
    auto* ports = new QGridLayout;
    for (int i = 0; i < operations::kPortCount; ++i) {
        markers_[static_cast<std::size_t>(i)] = new PortMarker;
        auto* button = new QRadioButton(PortButtonText(i, services_.opener.deviceName(i)));
        button->setObjectName(QStringLiteral("com%1").arg(i + 1));
        buttons_[static_cast<std::size_t>(i)] = button;
        group_->addButton(button, i);
        ports->addWidget(markers_[static_cast<std::size_t>(i)], i, 0);
        ports->addWidget(button, i, 1);
    }
    ports->setColumnStretch(1, 1);

    baudList_ = new QComboBox;
    for (const int rate : operations::kBaudRates)
        baudList_->addItem(QString::number(rate));
    auto* baudRow = new QHBoxLayout;
    auto* baudLabel = new QLabel(QStringLiteral("Baud Rate:"));
    baudLabel->setBuddy(baudList_);
    baudRow->addWidget(baudLabel);
    baudRow->addWidget(baudList_, 1);

    auto* settingsBox = new QGroupBox(QStringLiteral("Settings:"));
    auto* settingsLayout = new QVBoxLayout(settingsBox);
    settingsLayout->addLayout(ports);
    settingsLayout->addLayout(baudRow);

    auto* buttons = new QDialogButtonBox;
    QPushButton* goButton = buttons->addButton(QStringLiteral("Go!"), QDialogButtonBox::AcceptRole);
    QPushButton* cancelButton =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    SetTemplateId(goButton, kGoId);
    SetTemplateId(cancelButton, kCancelId);
    goButton->setDefault(true);
    goButton->setAutoDefault(true);
    connect(goButton, &QPushButton::clicked, this, [this] { go(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    log_ = new QPlainTextEdit;
    log_->setReadOnly(true);
    log_->setAccessibleName(QStringLiteral("Connection Log"));
    logColours_.attach(log_, ColourElement::Edit);
    logColours_.setTextColour(Rgb(0, 255, 0));
    logColours_.setBackgroundColour(Rgb(0, 0, 0));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    log_->setFont(font);
    log_->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QLatin1Char('0')) * 46);

    bar_ = new QProgressBar;
    SetTemplateId(bar_, kProgressBarId);
    bar_->setAccessibleName(QStringLiteral("Connection Progress"));
    bar_->setTextVisible(false);
    bar_->setValue(bar_->minimum());

    trace_ = new ActivityTrace(this, QColor(0, 0, 0), QColor(0, 255, 0));
    trace_->hide();

    auto* left = new QVBoxLayout;
    left->addWidget(settingsBox);
    left->addWidget(log_, 1);
    left->addWidget(bar_);
    left->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(trace_);
}

CommunicationsDialog::~CommunicationsDialog() = default;

void CommunicationsDialog::setPort(std::unique_ptr<link::Port> port) {
    port_ = std::move(port);
}

std::unique_ptr<link::Port> CommunicationsDialog::takePort() {
    return std::move(port_);
}

bool CommunicationsDialog::holdsPort() const {
    return port_ != nullptr && port_->isOpen();
}

int CommunicationsDialog::portCode(int index) const {
    if (index < 0 || index >= operations::kPortCount)
        return operations::kPortNotAvailable;
    return codes_[static_cast<std::size_t>(index)];
}

QRadioButton* CommunicationsDialog::portButton(int index) const {
    if (index < 0 || index >= operations::kPortCount)
        return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

PortMarker* CommunicationsDialog::portMarker(int index) const {
    if (index < 0 || index >= operations::kPortCount)
        return nullptr;
    return markers_[static_cast<std::size_t>(index)];
}

int CommunicationsDialog::selectedPort() const {
    return group_->checkedId();
}

void CommunicationsDialog::selectPort(int index) {
    if (index >= 0 && index < operations::kPortCount) {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group will not let its last checked button go.
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_)
        button->setChecked(false);
    group_->setExclusive(true);
}

void CommunicationsDialog::refresh() {
    log_->clear();
    if (beforeScan)
        beforeScan();
    const operations::PortScan scan =
        operations::ScanPorts(services_.opener, holdsPort(), settings_.portIndex);
    codes_ = scan.codes;
    for (int i = 0; i < operations::kPortCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        buttons_[slot]->setText(PortButtonText(i, services_.opener.deviceName(i)));
        buttons_[slot]->setEnabled(codes_[slot] == operations::kPortAvailable);
        markers_[slot]->setColour(MarkerColour(codes_[slot], palette()));
        buttons_[slot]->setToolTip(AvailabilityText(codes_[slot]));
        buttons_[slot]->setAccessibleDescription(AvailabilityText(codes_[slot]));
    }
    selectPort(scan.selected);
    baudList_->setCurrentIndex(operations::BaudCodeFromRate(settings_.baudRate));
}

void CommunicationsDialog::appendLog(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.remove(QLatin1Char('\r'));
    QTextCursor cursor = log_->textCursor();
    cursor.movePosition(QTextCursor::End);
    log_->setTextCursor(cursor);
    log_->insertPlainText(shown);
    log_->ensureCursorVisible();
    // The caret's line may be the empty one after a line end; show to the very bottom.
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    log_->repaint();
}

bool CommunicationsDialog::go() {
    bool found = false;
    {
        const InstrumentExchange exchange;
        if (!exchange)
            return false;
        const int index = selectedPort();
        const int baud = operations::BaudRateFromCode(baudList_->currentIndex());
        log_->clear();
        if (!services_.logNotice.empty())
            appendLog(services_.logNotice + "\n");
        found = operations::ConnectInstrument(
            services_.opener, services_.clock, port_, settings_, index, baud, services_.messages,
            services_.logDirectory, [this](std::string_view text) { appendLog(text); });
    }
    if (found && endPending()) {
        // "Cancel" (or the close box) came while the instrument was being found: the user no
        // longer wants this connection, and the window ends as asked.
        port_->close();
        port_.reset();
        return false;
    }
    if (!found)
        return false;
    hide();
    emit connected();
    return true;
}

void CommunicationsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!tracePrepared_) {
        // Shown once with its picture, which it then keeps.
        tracePrepared_ = true;
        trace_->show();
        trace_->prepareBuffer();
        trace_->redraw();
    }
}

} // namespace qpx::ui
