#pragma once

#include "link/Link.h"
#include "link/ProgressView.h"
#include "operations/Recorder.h"
#include "planning/DeploymentValues.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::instrument {

inline constexpr std::string_view kRecorderTitle = "Recorder";
inline constexpr std::string_view kFormatWarning =
    "WARNING: Formatting will erase ALL data on the memory card.\nSelect OK to format the memory "
    "card or CANCEL to abort.";

// Controls of the dialog template.
inline constexpr int kRecorderListId = 1001;
inline constexpr int kFileCountTextId = 1000; // right-aligned
inline constexpr int kUsedSpaceTextId = 1007;
inline constexpr int kFreeSpaceTextId = 1008;
inline constexpr int kFormatButtonId = 3;
inline constexpr int kCloseButtonId = 1;

// The directory list's columns, all centred.
struct RecorderColumn {
    std::string_view title;
    int width;
};
inline constexpr std::array<RecorderColumn, 4> kRecorderColumns{{
    {"Name", 90},
    {"Size", 80},
    {"Date", 70},
    {"Time", 70},
}};

enum class FormatOutcome {
    Cancelled,   // the user did not confirm; nothing was sent
    Failed,      // the wake-up or the format failed
    ListNotRead, // formatted, but the directory could not be read afterwards
    Formatted,   // formatted and the directory read again
};

// Model of the RecorderDialog. It keeps the RecorderDirectory of the download for as long as the
// planner lives; refreshes put the used space and file entries they read into it, and the
// planner's free-space estimate reads space() from here.
//
// A refresh that fails leaves the kept used space and entries as they were: emptying them first
// would tell the estimate that a full card is empty.
class RecorderDialogModel {
public:
    explicit RecorderDialogModel(operations::RecorderDirectory directory = {});

    // Whether a refresh begins with its own wake-up and identification.
    enum class Wake {
        First,
        // The caller has just woken the instrument and found a QPX or a Merovane; a second
        // wake-up would only cost its waiting.
        AlreadyIdentified,
    };

    // On opening: the list emptied, then a refresh.
    int open(link::Link& link, Wake wake = Wake::First);
    // Reads the directory again. The number of files, or -1 (the texts keep what they showed;
    // the list keeps the rows read so far).
    int refresh(link::Link& link, Wake wake = Wake::First);
    // "&Format": the confirmation through link.messages, then the steps in a window of
    // `progress`; after a format the directory is read again.
    FormatOutcome format(link::Link& link, link::ProgressViewFactory& progress);

    const std::vector<operations::RecorderListRow>& rows() const { return rows_; }
    const std::string& fileCountText() const { return fileCountText_; }
    const std::string& usedText() const { return usedText_; }
    const std::string& freeText() const { return freeText_; }

    const operations::RecorderDirectory& directory() const { return directory_; }
    planning::RecorderSpace space() const { return directory_.space(); }

private:
    void clearListAndTexts();

    operations::RecorderDirectory directory_;
    std::vector<operations::RecorderListRow> rows_;
    std::string fileCountText_;
    std::string usedText_;
    std::string freeText_;
};

// The texts a directory read shows. Free space never wraps: more used than the capacity is 0.
std::string FileCountText(std::size_t rows);
std::string MegabytesText(std::uint32_t bytes);
std::string FreeSpaceText(std::uint32_t capacityBytes, std::uint32_t usedBytes);

} // namespace qpx::instrument
