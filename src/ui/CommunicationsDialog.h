#pragma once

#include "link/Clock.h"
#include "link/MessageSink.h"
#include "link/Port.h"
#include "link/PortOpener.h"
#include "operations/Connection.h"
#include "ui/ColourControl.h"
#include "ui/GuardedDialog.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QButtonGroup;
class QComboBox;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;

namespace qpx::ui {

class ActivityTrace;

// The filled circle left of a port's button, in the colour of the port's scan code.
class PortMarker final : public QWidget {
    Q_OBJECT
public:
    explicit PortMarker(QWidget* parent = nullptr);
    void setColour(QColor colour);
    QColor colour() const { return colour_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

// The colour of a scan code's marker: green for an available port, red for one in use, the
// window's button face (no visible marker) otherwise.
QColor MarkerColour(int availability, const QPalette& palette);

// What the connection window talks through.
struct ConnectionServices {
    link::PortOpener& opener;
    link::Clock& clock;
    link::MessageSink& messages;
    std::optional<std::filesystem::path> logDirectory;
    // Where "LogFile" went when the current folder could not take it; the first line of the log
    // at every "Go!" (empty: nothing to say).
    std::string logNotice;
};

// The connection window (template 136, modeless): marks which of COM1 to COM8 can be opened, and
// on "Go!" opens the chosen port, wakes and identifies the instrument and logs each step. On
// success it writes the port number and baud rate into the owner's settings, keeps the open port
// for the owner to take, hides itself and emits connected().
class CommunicationsDialog final : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 136;
    static constexpr int kGoId = 1;
    static constexpr int kCancelId = 2;
    static constexpr int kProgressBarId = 1010;

    // `settings` are the owner's: read at every opening, written back after a success.
    CommunicationsDialog(QWidget* owner, ConnectionServices services,
                         operations::ConnectionSettings& settings);
    ~CommunicationsDialog() override;

    // The owner's current port (normally none); the scan counts it as available.
    void setPort(std::unique_ptr<link::Port> port);
    // The port a successful "Go!" left open.
    std::unique_ptr<link::Port> takePort();
    bool holdsPort() const;

    // Opening and every re-opening: clears the log, scans the ports, shows the owner's values.
    void refresh();
    // "Go!". True when an instrument was found (and connected() has been emitted).
    bool go();

    // Called before every scan, so a new USB adapter shows up when the window opens again.
    std::function<void()> beforeScan;

    int portCode(int index) const;
    QRadioButton* portButton(int index) const;
    PortMarker* portMarker(int index) const;
    QComboBox* baudList() const { return baudList_; }
    QPlainTextEdit* logBox() const { return log_; }
    ActivityTrace* trace() const { return trace_; }
    // The checked port, -1 none.
    int selectedPort() const;

signals:
    void connected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectPort(int index);
    void appendLog(std::string_view text);

    ConnectionServices services_;
    operations::ConnectionSettings& settings_;
    std::unique_ptr<link::Port> port_;
    std::array<int, operations::kPortCount> codes_{};
    std::array<QRadioButton*, operations::kPortCount> buttons_{};
    std::array<PortMarker*, operations::kPortCount> markers_{};
    QButtonGroup* group_ = nullptr;
    QComboBox* baudList_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* bar_ = nullptr;
    ActivityTrace* trace_ = nullptr;
    ColourControl logColours_;
    bool tracePrepared_ = false;
};

} // namespace qpx::ui
