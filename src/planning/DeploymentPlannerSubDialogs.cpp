#include "model/TextFormat.h"
#include "planning/DeploymentPlanner.h"
#include "planning/PlannerText.h"
#include "planning/SystemLimits.h"

// What the sub-dialogs and the profile assistant hand back to the planner.
namespace qpx::planning {

void DeploymentPlanner::advancedSettingsClosed(const std::optional<AdvancedBlock>& accepted) {
    if (accepted) {
        advanced_ = *accepted;
    }
    computeFreeSpace();
    computePower();
}

void DeploymentPlanner::wavesSettingsClosed(const std::optional<WaveBlock>& accepted) {
    if (accepted) {
        waves_ = *accepted;
    }
    computeFreeSpace();
    computePower();
}

void DeploymentPlanner::pcQpxSettingsClosed(const model::SystemConfiguration& system,
                                            const model::UserSetup& user,
                                            const model::OperationConfiguration& operation) {
    inputs_.system = system;
    inputs_.user = user;
    inputs_.operation = operation;
}

void DeploymentPlanner::recorderDetailsClosed(const RecorderSpace& recorder) {
    inputs_.recorder = recorder;
    computeFreeSpace();
}

int DeploymentPlanner::toggleAssistant() {
    return assistant_.toggle();
}

std::optional<DialogMessage> DeploymentPlanner::transferFromAssistant() {
    const ProfileAssistant::TransferResult result = assistant_.transferValues();
    if (!result.value) {
        return result.message;
    }
    const ProfileTransfer& transfer = *result.value;
    applyEdit(CheckedBox::Cells, planner::IntText(transfer.cells));
    applyEdit(CheckedBox::CellSize, planner::FloatText(transfer.cellSize));
    applyEdit(CheckedBox::Blanking, planner::FloatText(transfer.blanking));
    // In English units the assistant's limits are feet cut to two decimals, and the blanking it
    // suggests is always the min blanking: 1.31 ft at 1500 kHz, which converts to 0.39929 m and
    // would fail the very limit it came from. A suggestion on a limit stands for the limit itself.
    if (!metric()) {
        const SystemLimits& row = SystemLimitsFor(inputs_.system.systemFrequency);
        const AssistantLimits& limits = assistant_.limits();
        // Compared as the assistant's boxes show them, two decimals.
        const auto onLimit = [](const std::string& shown, float limit) {
            return shown == model::FormatText("%4.2f", static_cast<double>(limit));
        };
        if (onLimit(transfer.cellSizeText, limits.minCellSize)) {
            edit(CheckedBox::CellSize).exactMetres = row.minCellSize;
        }
        if (onLimit(transfer.blankingText, limits.minBlanking)) {
            edit(CheckedBox::Blanking).exactMetres = row.minBlanking;
        }
    }
    return std::nullopt;
}

} // namespace qpx::planning
