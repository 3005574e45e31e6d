#pragma once

#include "instrument/ClockCheckRecord.h"
#include "operations/RecordNaming.h"
#include "platform/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A record kept as two files with one name stem, STEM.txt for people and STEM.json for scripts,
// in the first of several folders that takes them.
namespace qpx::platform {

using operations::RecordTexts;

struct RecordSaved {
    // The folder that holds both files; nothing when no folder took them.
    std::optional<std::filesystem::path> folder;
    // One line for each folder that did not take them: "FOLDER: reason".
    std::vector<std::string> problems;
};

// Tries the folders in order, creating a missing one. Each file is written beside its target and
// renamed over it; a folder that takes the JSON but not the text loses the JSON again, so the two
// always stay together.
RecordSaved SaveRecord(const RecordTexts& record, const std::vector<std::filesystem::path>& folders,
                       const FileWriter& writer = {});

// A deployment record given at recovery, read with a bound and judged for its clock reading.
struct DeploymentRecordRead {
    std::optional<instrument::DeploymentRecordFile> record;
    std::string error; // why the file could not be read at all
};
DeploymentRecordRead ReadDeploymentRecord(const std::filesystem::path& path);

// `chosen`, then where to fall back to when it cannot be written: the current folder, the
// per-user data folder's "records", and last the temporary folder's "DeployQpx records".
// A relative `chosen` is taken from `current`; empty: the process's current folder.
std::vector<std::filesystem::path> RecordFolders(const std::filesystem::path& chosen,
                                                 const std::filesystem::path& current = {});

} // namespace qpx::platform
