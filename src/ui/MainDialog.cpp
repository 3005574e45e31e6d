#include "ui/MainDialog.h"

#include "ui/AboutDialog.h"
#include "ui/CommunicationsDialog.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/HelpFile.h"
#include "ui/InstrumentExchange.h"
#include "ui/MessageBoxSink.h"
#include "ui/ProgramArt.h"
#include "ui/ProgressWindowFactory.h"
#include "ui/TemplateId.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qpx::ui {

namespace {

bool IsEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

MainDialog::MainDialog(link::PortOpener& opener, link::Clock& clock, MainDialogSetup setup)
    : GuardedDialog(nullptr), opener_(opener), clock_(clock), setup_(std::move(setup)) {
    SetTemplateId(this, kTemplateId);
    if (setup_.messages != nullptr) {
        messages_ = setup_.messages;
    } else {
        ownMessages_ = std::make_unique<MessageBoxSink>(this);
        messages_ = ownMessages_.get();
    }
    if (setup_.progress != nullptr) {
        progress_ = setup_.progress;
    } else {
        ownProgress_ = std::make_unique<ProgressWindowFactory>(this, clock_);
        progress_ = ownProgress_.get();
    }

    connectedButton_ = new QPushButton(QStringLiteral("Set up a Connected System"));
    planningButton_ = new QPushButton(QStringLiteral("Plan a Deployment (No System is required)"));
    english_ = new QRadioButton(QStringLiteral("&English"));
    metric_ = new QRadioButton(QStringLiteral("&Metric"));
    unitGroup_ = new QGroupBox(QStringLiteral("Unit System: "));
    auto* closeButton = new QPushButton(QStringLiteral("&Close"));
    auto* helpButton = new QPushButton(QStringLiteral("&Help"));
    SetTemplateId(connectedButton_, kConnectedId);
    SetTemplateId(planningButton_, kPlanningId);
    SetTemplateId(english_, kEnglishId);
    SetTemplateId(metric_, kMetricId);
    SetTemplateId(unitGroup_, kUnitGroupId);
    SetTemplateId(closeButton, kCloseId);
    SetTemplateId(helpButton, kHelpId);
    metric_->setChecked(model::IsMetric(unitSystem_));
    english_->setChecked(!model::IsMetric(unitSystem_));

    auto* units = new QHBoxLayout(unitGroup_);
    units->addWidget(english_);
    units->addWidget(metric_);

    auto* modes = new QVBoxLayout;
    modes->addWidget(connectedButton_);
    modes->addWidget(planningButton_);
    modes->addWidget(unitGroup_);

    auto* side = new QVBoxLayout;
    side->addWidget(closeButton);
    side->addWidget(helpButton);
#ifndef _WIN32
    // No system menu to put it in here: the entry is a button of the window.
    auto* aboutButton = new QPushButton(QStringLiteral("&About DeployQpx..."));
    aboutButton->setObjectName(QStringLiteral("about"));
    side->addWidget(aboutButton);
    connect(aboutButton, &QPushButton::clicked, this, &MainDialog::showAbout);
#endif
    side->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(modes, 1);
    layout->addLayout(side);

    // "&Close" is the default button, but Enter never closes the window (see eventFilter).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    closeButton->setDefault(true);

    connect(connectedButton_, &QPushButton::clicked, this, &MainDialog::setUpConnectedSystem);
    connect(planningButton_, &QPushButton::clicked, this, &MainDialog::planDeployment);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(helpButton, &QPushButton::clicked, this, &MainDialog::showHelp);

    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

#ifdef _WIN32
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (menu != nullptr) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, L"&About DeployQpx...");
    }
#endif

    const QIcon icon = ProgramIcon();
    setWindowIcon(icon);

    const std::array<QWidget*, 5> coloured{metric_, english_, unitGroup_, connectedButton_,
                                           planningButton_};
    for (std::size_t i = 0; i < coloured.size(); ++i) {
        colours_[i].attach(coloured[i], ColourElement::Button);
        colours_[i].setBackgroundColour(Rgb(255, 255, 255));
    }

    setWindowTitle(QString::fromLatin1(kProgramTitle) + QString::fromLatin1(kProgramVersion));
}

MainDialog::~MainDialog() {
    // The connection window goes first, while the port it may hold can still be closed.
    delete communications_.data();
}

CommunicationsDialog* MainDialog::communicationsDialog() const {
    return communications_.data();
}

void MainDialog::readControls() {
    unitSystem_ = metric_->isChecked() ? model::kMetricUnits : model::kEnglishUnits;
}

void MainDialog::setUpConnectedSystem() {
    // The scan opens ports and the port the run holds would move to the connection window.
    if (InstrumentExchange::Refused())
        return;
    readControls();
    planning_ = 0;
    if (communications_.isNull()) {
        communications_ = new CommunicationsDialog(
            this,
            ConnectionServices{opener_, clock_, *messages_, setup_.logDirectory, setup_.logNotice},
            connection_);
        communications_->beforeScan = setup_.beforeScan;
        connect(communications_.data(), &CommunicationsDialog::connected, this,
                &MainDialog::onConnected, Qt::DirectConnection);
    }
    communications_->setPort(std::move(port_));
    communications_->refresh();
    communications_->setEnabled(true);
    communications_->show();
    // Centred once shown: only then has its layout settled the window's own size.
    communications_->adjustSize();
    const QRect area = geometry();
    communications_->move(area.center() -
                          QPoint(communications_->width() / 2, communications_->height() / 2));
    communications_->raise();
    communications_->activateWindow();
    if (setup_.onCommunicationsShown)
        setup_.onCommunicationsShown(*communications_);
}

void MainDialog::onConnected() {
    if (communications_.isNull() || !communications_->holdsPort())
        return;
    port_ = communications_->takePort();
    if (!setup_.makeFrontEnd) {
        port_->close();
        port_.reset();
        return;
    }
    std::unique_ptr<operations::ConnectedSetupFrontEnd> frontEnd =
        setup_.makeFrontEnd(this, planner_, clock_, *messages_);
    link::Link link{*port_, *messages_, setup_.logDirectory};
    {
        // One exchange for the whole sequence; its windows hand the turn to the user where the
        // user has to act (the planner, the deployment display).
        const InstrumentExchange exchange;
        lastOutcome_ = operations::RunConnectedSetup(link, *progress_, *frontEnd, unitSystem_);
    }
    port_.reset();
    lastRecordFolder_.reset();
    if (const auto* deployment = dynamic_cast<const DeploymentFrontEnd*>(frontEnd.get())) {
        if (const auto& kept = deployment->keptRecord()) {
            lastRecordFolder_ = kept->folder;
            showRecordPlace(kept->folder, KeptRecordText(*kept));
        }
    }
}

void MainDialog::showRecordPlace(const std::filesystem::path& folder, const QString& text) {
    const QString title = QStringLiteral("Deployment record");
    auto* boxes = dynamic_cast<MessageBoxSink*>(messages_);
    if (boxes == nullptr) {
        messages_->showInformation(title.toStdString(), text.toStdString());
        return;
    }
    MessageBoxRequest request{QMessageBox::Information,
                              title,
                              text,
                              QMessageBox::Ok | QMessageBox::Open,
                              QMessageBox::Ok,
                              QStringLiteral("Open &Folder")};
    if (boxes->present(request) != QMessageBox::Open)
        return;
    if (setup_.openFolder) {
        setup_.openFolder(folder);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdU16String(folder.u16string())));
}

void MainDialog::planDeployment() {
    if (InstrumentExchange::Refused())
        return;
    readControls();
    planning_ = 1;
    if (setup_.runPlanning)
        setup_.runPlanning(this, planner_, unitSystem_, *messages_);
}

void MainDialog::showHelp() {
    if (InstrumentExchange::Refused())
        return;
    if (setup_.help) {
        setup_.help();
        return;
    }
    OpenHelp(*messages_);
}

void MainDialog::showAbout() {
    if (InstrumentExchange::Refused())
        return;
    AboutDialog about(this);
    if (onAboutShown)
        QTimer::singleShot(0, &about, [this, &about] { onAboutShown(about); });
    about.exec();
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event)) {
        event->accept();
        setUpConnectedSystem();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter anywhere starts the connected set-up; a focused button must not take it first.
    if (IsEnter(event)) {
        static_cast<QKeyEvent*>(event)->accept();
        setUpConnectedSystem();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

#ifdef _WIN32
bool MainDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kAboutCommand) {
        showAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

void MainDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QDialog::paintEvent(event);
}

} // namespace qpx::ui
