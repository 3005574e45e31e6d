#include "platform/RecordFiles.h"

#include "platform/UserDataFolder.h"

#include <system_error>

namespace qpx::platform {

namespace fs = std::filesystem;

RecordSaved SaveRecord(const RecordTexts& record, const std::vector<fs::path>& folders,
                       const FileWriter& writer) {
    RecordSaved saved;
    for (const fs::path& folder : folders) {
        std::error_code made;
        fs::create_directories(folder, made);
        const fs::path json = folder / (record.stem + ".json");
        std::string problem = SaveFileReplacing(json, record.json, writer);
        if (problem.empty()) {
            problem = SaveFileReplacing(folder / (record.stem + ".txt"), record.text, writer);
            if (problem.empty()) {
                saved.folder = folder;
                return saved;
            }
            std::error_code ignored;
            fs::remove(json, ignored);
        }
        saved.problems.push_back(folder.string() + ": " + problem);
    }
    return saved;
}

DeploymentRecordRead ReadDeploymentRecord(const fs::path& path) {
    const FileRead file = ReadFileBounded(path, instrument::kDeploymentRecordMaxBytes);
    if (!file.contents) {
        return {std::nullopt, file.error};
    }
    return {instrument::DeploymentRecordFile{
                path.filename().string(), instrument::ReadDeploymentClockReference(*file.contents)},
            {}};
}

std::vector<fs::path> RecordFolders(const fs::path& chosen, const fs::path& given) {
    std::error_code ignored;
    const fs::path current = given.empty() ? fs::current_path(ignored) : given;
    std::vector<fs::path> folders{chosen.is_relative() && !current.empty() ? current / chosen
                                                                           : chosen};
    const auto add = [&](const fs::path& folder) {
        std::error_code same;
        for (const fs::path& known : folders) {
            if (known == folder || fs::equivalent(known, folder, same)) {
                return;
            }
        }
        folders.push_back(folder);
    };
    if (!current.empty()) {
        add(current);
    }
    if (const auto data = UserDataFolder()) {
        add(*data / "records");
    }
    // The last resort, so that a record is never lost for want of a folder.
    if (const fs::path temporary = fs::temp_directory_path(ignored); !temporary.empty()) {
        add(temporary / "DeployQpx records");
    }
    return folders;
}

} // namespace qpx::platform
