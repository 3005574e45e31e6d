#include "model/FieldText.h"
#include "operations/PlanFile.h"
#include "platform/TextFile.h"
#include "ui/DeploymentDialog.h"
#include "ui/DialogWidgets.h"
#include "ui/InstrumentExchange.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringList>
#include <filesystem>
#include <string>

namespace qpx::ui {
namespace {

using operations::SettingId;

// The kinds of file the planner keeps for the user.
struct FileKind {
    const char* title;
    const char* filter;
    const char* extension; // without its dot
};

constexpr FileKind kPlanFiles{"Save Plan", "DeployQpx plans (*.qpxplan)", "qpxplan"};
constexpr FileKind kOpenPlanFiles{"Open Plan", kPlanFiles.filter, kPlanFiles.extension};
constexpr FileKind kCommandFiles{"Save Commands", "Command files (*.txt)", "txt"};

// A dialog of the program's own (not a static function's native one, where a platform has it),
// so that the window's dialog hook reaches it as it reaches every sub-dialog. It starts in the
// user's documents folder every time: plans are the user's documents, not the program's.
std::optional<QString> ChooseFile(QWidget* parent, const DialogHook& hook, const FileKind& kind,
                                  QFileDialog::AcceptMode mode) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // Given a folder that does not exist, a dialog starts wherever it was last, or in the
    // working folder.
    if (!QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    QFileDialog dialog(parent, QString::fromUtf8(kind.title), folder,
                       QString::fromUtf8(kind.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromUtf8(kind.extension));
    if (ExecModal(dialog, hook) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    QString path = dialog.selectedFiles().constFirst();
    // A native dialog may hand back the name as typed.
    if (mode == QFileDialog::AcceptSave && !QFileInfo(path).fileName().contains(u'.')) {
        path += u'.' + QString::fromUtf8(kind.extension);
    }
    return path;
}

std::filesystem::path FilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The header's origin: the instrument planned on (none in planning mode) and now.
operations::PlanOrigin Origin(const planning::DeploymentPlanner& planner) {
    operations::PlanOrigin origin;
    if (!planner.planning()) {
        origin.instrument =
            std::string(model::FieldText(planner.systemConfiguration().serialNumber));
    }
    origin.made = platform::LocalTimeStamp();
    return origin;
}

// Saves, or says why not, naming the file; `what` is "plan" or "commands".
void SaveDocument(link::MessageSink& messages, const QString& path, const std::string& text,
                  const char* what) {
    const std::string reason = platform::SaveFileReplacing(FilePath(path), text);
    if (!reason.empty()) {
        messages.showMessage(QStringLiteral("The %1 could not be saved to %2: %3.")
                                 .arg(QString::fromUtf8(what), Shown(path), CoreText(reason))
                                 .toStdString());
    }
}

// The focus on a control the user must change, with a box's text selected to type over.
void FocusControl(QWidget* control) {
    if (control == nullptr) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->selectAll();
    }
}

} // namespace

void DeploymentDialog::savePlan() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    takeStartTime();
    // Formatted before the name is asked for: a value no plan can keep is said at once.
    const operations::PlanText plan = operations::FormatPlan(planner_, Origin(planner_));
    if (plan.error) {
        messages_.showMessage("The plan could not be saved: " + plan.error->reason);
        if (plan.error->setting) {
            FocusControl(controlFor(*plan.error->setting));
        }
        return;
    }
    const auto path = ChooseFile(this, dialogHook_, kPlanFiles, QFileDialog::AcceptSave);
    if (!path || InstrumentExchange::Refused()) {
        return;
    }
    SaveDocument(messages_, *path, plan.text, "plan");
}

void DeploymentDialog::openPlan() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    const auto path = ChooseFile(this, dialogHook_, kOpenPlanFiles, QFileDialog::AcceptOpen);
    if (!path || InstrumentExchange::Refused()) {
        return;
    }
    const platform::FileRead read =
        platform::ReadFileBounded(FilePath(*path), operations::kPlanFileMaxBytes);
    if (!read.contents) {
        messages_.showMessage(QStringLiteral("The plan could not be read from %1: %2.")
                                  .arg(Shown(*path), CoreText(read.error))
                                  .toStdString());
        return;
    }
    const QString name = QFileInfo(*path).fileName();
    const operations::PlanRead parsed = operations::ReadPlan(*read.contents);
    if (!parsed.plan) {
        refusePlan(name, parsed.error);
        return;
    }
    // The start the user set last is the one a plan without a start leaves.
    takeStartTime();
    const operations::PlanOpened opened = operations::OpenPlan(planner_, *parsed.plan);
    if (!opened.ok()) {
        refusePlan(name, *opened.error);
        return;
    }
    refresh();
    QStringList said;
    for (const auto* list : {&opened.warnings, &opened.notes}) {
        for (const std::string& line : *list) {
            said << CoreText(line);
        }
    }
    if (!said.isEmpty()) {
        messages_.showInformation("Open Plan", QStringLiteral("The plan %1 was opened.\n\n%2")
                                                   .arg(name, said.join(u'\n'))
                                                   .toStdString());
    }
}

void DeploymentDialog::refusePlan(const QString& fileName, const operations::PlanError& error) {
    messages_.showMessage(operations::PlanErrorText(fileName.toStdString(), error));
    if (error.setting) {
        FocusControl(controlFor(*error.setting));
    }
}

void DeploymentDialog::saveCommands() {
    if (InstrumentExchange::Refused()) {
        return;
    }
    takeStartTime();
    const auto lines = operations::PlannedCommandLines(planner_, downloaded_);
    if (!lines.value) {
        if (lines.message) {
            showRefusal(*lines.message);
        }
        return;
    }
    const auto path = ChooseFile(this, dialogHook_, kCommandFiles, QFileDialog::AcceptSave);
    if (!path || InstrumentExchange::Refused()) {
        return;
    }
    SaveDocument(messages_, *path, operations::FormatCommandFile(*lines.value, Origin(planner_)),
                 "commands");
}

QWidget* DeploymentDialog::controlFor(SettingId id) const {
    switch (operations::SettingRowOf(id).shown.section) {
    case operations::SettingSection::Advanced:
        return advanced_;
    case operations::SettingSection::Waves:
        return waves_;
    case operations::SettingSection::Deployment:
        break;
    }
    switch (id) {
    case SettingId::FileName:
        return fileName_;
    case SettingId::Start:
        return start_;
    case SettingId::Comment1:
        return comments_[0];
    case SettingId::Comment2:
        return comments_[1];
    case SettingId::Comment3:
        return comments_[2];
    case SettingId::AveragingInterval:
        return averaging_;
    case SettingId::ProfilingInterval:
        return profiling_;
    case SettingId::CoordinateSystem:
        return coordinate_;
    case SettingId::Cells:
        return cells_;
    case SettingId::CellSize:
        return cellSize_;
    case SettingId::Blanking:
        return blanking_;
    case SettingId::OutputMode:
        return outputMode_;
    case SettingId::RecorderEnabled:
        return recorderEnabled_;
    case SettingId::BatteryType:
        return batteryType_;
    case SettingId::BatteryPacks:
        return batteryPacks_;
    default:
        return nullptr;
    }
}

} // namespace qpx::ui
