#include "ui/DeploymentFrontEnd.h"

#include "operations/RecordNaming.h"
#include "ui/DeploymentDialog.h"
#include "ui/DeploymentDisplayDialog.h"
#include "ui/DeploymentReviewDialog.h"
#include "ui/InstrumentExchange.h"

#include <QStringList>

namespace qpx::ui {
namespace {

QString Problems(const platform::RecordSaved& saved) {
    QStringList lines;
    for (const std::string& problem : saved.problems) {
        lines << QString::fromStdString(problem);
    }
    return lines.join(u'\n');
}

} // namespace

QString KeptRecordText(const KeptRecord& kept) {
    return QStringLiteral("The deployment record is in\n%1\n%2.txt and .json")
        .arg(FolderText(kept.folder), QString::fromStdString(kept.stem));
}

DeploymentFrontEnd::DeploymentFrontEnd(QWidget* parent, planning::DeploymentPlanner& planner,
                                       link::Clock& clock, link::MessageSink& messages)
    : parent_(parent), planner_(planner), clock_(clock), messages_(messages),
      recordsFolder_(DefaultRecordsFolder()) {}

std::optional<planning::AcceptedPlan>
DeploymentFrontEnd::runPlanner(const planning::PlannerInputs& inputs, link::Link& link) {
    // The main window was asked to close during the download: the run ends here, as a cancelled
    // planner would end it, and the window closes once the port is.
    const auto* owner = qobject_cast<const GuardedDialog*>(parent_.data());
    if (owner != nullptr && owner->endPending()) {
        return std::nullopt;
    }
    const UserTurn turn;
    DeploymentDialog dialog(parent_, planner_, messages_);
    dialog.setHelp(hooks_.help);
    dialog.setLink(&link);
    dialog.setRecordsFolder(&recordsFolder_);
    dialog.setDialogHook(hooks_.onShown);
    dialog.load(inputs, clock_.localTime());
    if (ExecModal(dialog, hooks_.onShown) != QDialog::Accepted || !dialog.acceptedPlan()) {
        return std::nullopt;
    }
    record_ = instrument::StartDeploymentRecord(planner_, inputs, *dialog.acceptedPlan(),
                                                link.identity, operations::InstantNow(clock_));
    return dialog.acceptedPlan();
}

void DeploymentFrontEnd::uploadFinished(const operations::UploadRun& run) {
    if (!record_) {
        return;
    }
    instrument::FinishDeploymentRecord(*record_, run);
    const platform::RecordTexts texts = instrument::DeploymentRecordTexts(*record_);
    record_.reset();
    keep(texts);
}

void DeploymentFrontEnd::keep(const platform::RecordTexts& texts) {
    platform::RecordSaved saved = platform::SaveRecord(texts, {recordsFolder_});
    if (!saved.folder) {
        messages_.showMessage((QStringLiteral("The deployment record could not be saved:\n") +
                               Problems(saved) +
                               QStringLiteral("\n\nChoose another folder for it."))
                                  .toStdString());
        std::optional<std::filesystem::path> other;
        {
            // The user's turn in the middle of the upload's exchange: the folder dialog acts.
            const UserTurn turn;
            other = ChooseRecordsFolder(parent_, hooks_.onShown,
                                        QStringLiteral("Folder for the Deployment Record"),
                                        recordsFolder_);
        }
        if (other) {
            saved = platform::SaveRecord(texts, {*other});
            if (saved.folder) {
                recordsFolder_ = *other;
            }
        }
        // Cancelled, or that one refused it as well: wherever it can go, never nowhere.
        if (!saved.folder) {
            saved = platform::SaveRecord(texts,
                                         platform::RecordFolders(other.value_or(recordsFolder_)));
        }
        if (!saved.folder) {
            messages_.showMessage(
                (QStringLiteral("The deployment record could not be saved anywhere:\n") +
                 Problems(saved))
                    .toStdString());
            return;
        }
    }
    kept_ = KeptRecord{*saved.folder, texts.stem};
}

void DeploymentFrontEnd::runDisplay(operations::DeploymentDisplay& display) {
    const UserTurn turn;
    DeploymentDisplayDialog dialog(nullptr, display);
    ExecModal(dialog, hooks_.onShown);
}

} // namespace qpx::ui
