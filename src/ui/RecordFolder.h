#pragma once

#include "ui/DialogHook.h"

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

// Where the windows keep records (the deployment record, the clock check) and how they ask for
// another folder.
namespace qpx::ui {

// "DeployQpx records" in the user's documents folder.
std::filesystem::path DefaultRecordsFolder();
// The folder as a person reads it (native separators).
QString FolderText(const std::filesystem::path& folder);
// A folder dialog of the program's own, so that `hook` reaches it; it starts in `start` when that
// exists, else in the documents or the home folder. Nothing: cancelled.
std::optional<std::filesystem::path> ChooseRecordsFolder(QWidget* parent, const DialogHook& hook,
                                                         const QString& title,
                                                         const std::filesystem::path& start);

} // namespace qpx::ui
