#include "cli/UploadPreview.h"

#include "model/FieldText.h"
#include "model/TextFormat.h"
#include "operations/Upload.h"

#include <algorithm>
#include <array>

namespace qpx::cli {
std::vector<std::string> UploadCommandLines(const operations::ChangeDetection& changes,
                                            const link::CalendarTime& start) {
    using operations::ChangeItem;
    std::vector<std::string> lines;
    const model::UserSetup& user = changes.userSetup;
    if (changes.flags.marked(ChangeItem::DeploymentName)) {
        lines.push_back(model::FormatText(
            "Deployment %s", std::string(model::FieldText(user.deploymentName)).c_str()));
    }
    if (changes.flags.marked(ChangeItem::StartDateTime)) {
        lines.push_back(
            model::FormatText("StartDate %d/%02d/%02d", start.year, start.month, start.day));
        lines.push_back(
            model::FormatText("StartTime %02d:%02d:%02d", start.hour, start.minute, start.second));
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
