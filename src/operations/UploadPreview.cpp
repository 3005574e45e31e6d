#include "operations/UploadPreview.h"

#include "model/FieldText.h"
#include "operations/Upload.h"

#include <string>

namespace qpx::operations {
std::vector<std::string> UploadCommandLines(const ChangeDetection& changes,
                                            const link::CalendarTime& start) {
    std::vector<std::string> lines;
    const model::UserSetup& user = changes.userSetup;
    if (changes.flags.marked(ChangeItem::DeploymentName)) {
        lines.push_back(DeploymentNameCommand(user));
    }
    if (changes.flags.marked(ChangeItem::StartDateTime)) {
        for (const std::string& line : StartCommands(start)) {
            lines.push_back(line);
        }
    }
    if (changes.flags.marked(ChangeItem::Comments)) {
        lines.emplace_back("Comments");
        lines.emplace_back(model::FieldText(user.comment1));
        lines.emplace_back(model::FieldText(user.comment2));
        lines.emplace_back(model::FieldText(user.comment3));
    }
    for (const auto& command : SettingsCommands(changes)) {
        lines.push_back(command.command);
    }
    return lines;
}

} // namespace qpx::operations
