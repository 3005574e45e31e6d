#include "cli/UploadPreview.h"

#include "model/FieldText.h"
#include "operations/Upload.h"

#include <string>

namespace qpx::cli {
std::vector<std::string> UploadCommandLines(const operations::ChangeDetection& changes,
                                            const link::CalendarTime& start) {
    using operations::ChangeItem;
    std::vector<std::string> lines;
    const model::UserSetup& user = changes.userSetup;
    if (changes.flags.marked(ChangeItem::DeploymentName)) {
        lines.push_back(operations::DeploymentNameCommand(user));
    }
    if (changes.flags.marked(ChangeItem::StartDateTime)) {
        for (const std::string& line : operations::StartCommands(start)) {
            lines.push_back(line);
        }
    }
    if (changes.flags.marked(ChangeItem::Comments)) {
        lines.emplace_back("Comments");
        lines.emplace_back(model::FieldText(user.comment1));
        lines.emplace_back(model::FieldText(user.comment2));
        lines.emplace_back(model::FieldText(user.comment3));
    }
    for (const auto& command : operations::SettingsCommands(changes)) {
        lines.push_back(command.command);
    }
    return lines;
}

} // namespace qpx::cli
