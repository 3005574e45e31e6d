#include "instrument/RecorderDialogModel.h"

#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/TextFormat.h"

#include <memory>
#include <utility>

namespace qpx::instrument {
namespace {

constexpr double kBytesPerMegabyte = 1048576.0;
constexpr int kAfterWakeMs = 300;

} // namespace

std::string FileCountText(std::size_t rows) {
    const int count = static_cast<int>(rows);
    return rows == 1 ? model::FormatText("%d File found in Recorder", count)
                     : model::FormatText("%d Files found in Recorder", count);
}

std::string MegabytesText(std::uint32_t bytes) {
    return model::FormatText("%4.2fM", static_cast<double>(bytes) / kBytesPerMegabyte);
}

std::string FreeSpaceText(std::uint32_t capacityBytes, std::uint32_t usedBytes) {
    // As an unsigned difference a card reporting more used than it holds showed about 4096M free.
    return MegabytesText(usedBytes > capacityBytes ? 0u : capacityBytes - usedBytes);
}

RecorderDialogModel::RecorderDialogModel(operations::RecorderDirectory directory)
    : directory_(std::move(directory)) {}

int RecorderDialogModel::open(link::Link& link, Wake wake) {
    rows_.clear();
    return refresh(link, wake);
}

int RecorderDialogModel::refresh(link::Link& link, Wake wake) {
    if (wake == Wake::First) {
        // Goes on whatever the answer: the directory read finds out for itself whether anybody
        // listens.
        link::WakeAndIdentify(link);
    }

    // The header kept from the download stays as it was; this one only feeds the free text.
    operations::RecorderHeader header;
    auto read = std::make_unique<operations::RecorderDirectory>();
    rows_.clear();
    const int files =
        operations::ReadRecorderDirectory(link, header, read->entries, read->usedBytes, &rows_);
    if (files < 0) {
        return -1;
    }
    directory_.usedBytes = read->usedBytes;
    directory_.entries = std::move(read->entries);

    fileCountText_ = FileCountText(rows_.size());
    usedText_ = MegabytesText(directory_.usedBytes);
    freeText_ = FreeSpaceText(header.capacityBytes(), directory_.usedBytes);
    return files;
}

FormatOutcome RecorderDialogModel::format(link::Link& link, link::ProgressViewFactory& progress) {
    if (!link.messages.askOkCancel(kFormatWarning, kRecorderTitle)) {
        return FormatOutcome::Cancelled;
    }
    const std::unique_ptr<link::ProgressView> window = progress.open();
    link::ProgressView* view = window.get();

    FormatOutcome outcome = FormatOutcome::Failed;
    link::AppendLogText(view, link::StepLabel("Waking up System"));
    if (link::IsServedSystem(link::WakeAndIdentify(link))) {
        link::AppendLogText(view, "Success\r\n");
        link.clock().sleepMs(kAfterWakeMs);
        link::AppendLogText(view, link::StepLabel("Formatting memory card"));
        if (operations::FormatRecorder(link)) {
            link::AppendLogText(view,
                                "Success\r\n\r\n" + link::StepLabel("Reading Recorder Directory"));
            clearListAndTexts();
            // A directory that cannot be read after the format is reported as such, not as a
            // success.
            outcome = refresh(link) >= 0 ? FormatOutcome::Formatted : FormatOutcome::ListNotRead;
        }
    }
    link::AppendLogText(view, outcome == FormatOutcome::Formatted ? "Success\r\n" : "Failed\r\n");
    if (view != nullptr) {
        view->finish(outcome == FormatOutcome::Formatted);
    }
    return outcome;
}

void RecorderDialogModel::clearListAndTexts() {
    rows_.clear();
    fileCountText_.clear();
    usedText_.clear();
    freeText_.clear();
}

} // namespace qpx::instrument
