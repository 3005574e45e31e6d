#include "ui/RecordFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace qpx::ui {

std::filesystem::path DefaultRecordsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return std::filesystem::path(
        (documents + QStringLiteral("/DeployQpx records")).toStdU16String());
}

QString FolderText(const std::filesystem::path& folder) {
    return QDir::toNativeSeparators(QString::fromStdU16String(folder.u16string()));
}

std::optional<std::filesystem::path> ChooseRecordsFolder(QWidget* parent, const DialogHook& hook,
                                                         const QString& title,
                                                         const std::filesystem::path& start) {
    QString folder = QString::fromStdU16String(start.u16string());
    if (!QFileInfo(folder).isDir()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    if (!QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    QFileDialog dialog(parent, title, folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (ExecModal(dialog, hook) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdU16String());
}

} // namespace qpx::ui
