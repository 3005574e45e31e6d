#include "fuzz/Harnesses.h"
#include "fuzz/support/ChecksumRepair.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/ReplayDevice.h"
#include "instrument/RecorderDialogModel.h"
#include "link/Port.h"
#include "model/TextFormat.h"
#include "operations/Recorder.h"

#include <memory>
#include <vector>

namespace qpx::fuzz {
namespace {

void CheckRow(const operations::RecorderListRow& row, const operations::RecorderFileEntry& entry) {
    Require(row.name == entry.name, "a listed name differs from its entry");
    Require(row.name.size() <= 13, "a file name longer than its block");
    Require(!row.size.empty() && row.size[0] != '-', "a file size listed negative");
    Require(model::ParseInteger(row.size).value_or(-1) == entry.sizeBytes,
            "a listed size differs from its entry");
    Require(entry.year >= 1980 && entry.year <= 1980 + 0xFFFF, "a year outside the block's range");
    Require(row.date == model::FormatText("%04d/%02d/%02d", entry.year, entry.month, entry.day),
            "a listed date differs from its entry");
}

} // namespace

int RecorderTransferFuzz::Run(std::span<const std::uint8_t> input, bool repairChecksums) {
    auto segments = SplitSegments(input);
    // Segment 0 answers the CR in front of "bdir", segment 1 "bdir" itself (up to the start
    // character), every later one an ACK or NAK.
    if (repairChecksums) {
        for (std::size_t i = 1; i < segments.size(); ++i) {
            if (i == 1) {
                RepairRecorderBlocks(segments[i]);
            } else {
                RepairBlocksFrom(segments[i], 0);
            }
        }
    }
    link::VirtualClock clock;
    ExpectedMessages messages(LinkMessages());
    auto device = std::make_unique<ReplayDevice>(clock, segments);
    device->stopEchoAfterLine = "bdir";
    link::Port port(std::move(device), clock);
    link::Link link{port, messages, std::nullopt};

    auto directory = std::make_unique<operations::RecorderDirectory>();
    directory->usedBytes = 12345; // a refresh must not keep a stale value
    std::vector<operations::RecorderListRow> rows;
    const std::size_t scripted = segments.size();
    const int files = operations::ReadRecorderDirectory(link, *directory, &rows);
    // Every wait is bounded by what the instrument sends: each segment can cost at most the ten
    // attempts of one block (length, payload and checksum waits), never more.
    constexpr std::int64_t kBlockAttemptsMs = 10 * 320 * 1000;
    Require(clock.nowMs() <= static_cast<std::int64_t>(scripted + 2) * kBlockAttemptsMs,
            "the transfer waited far longer than the instrument's bytes explain");
    Require(files >= -1 && files < static_cast<int>(operations::kRecorderSlots),
            "a file count outside the slots");
    Require(rows.size() <= operations::kRecorderSlots, "more rows than slots");
    if (files < 0) {
        return 0;
    }
    Require(rows.size() <= static_cast<std::size_t>(files), "more rows than files read");
    Require(directory->usedBytes % 65536 == 0, "used space not in whole 64 KiB units");
    std::size_t row = 0;
    for (std::size_t slot = 0; slot < operations::kRecorderSlots; ++slot) {
        const auto& entry = directory->entries[slot];
        if (slot >= static_cast<std::size_t>(files)) {
            Require(entry == operations::RecorderFileEntry{}, "a slot past the end filled");
            continue;
        }
        if (entry.year != 0 && row < rows.size()) {
            CheckRow(rows[row++], entry);
        }
    }
    const auto capacity = directory->header.capacityBytes();
    for (const std::string& text :
         {instrument::FileCountText(rows.size()), instrument::MegabytesText(directory->usedBytes),
          instrument::FreeSpaceText(capacity, directory->usedBytes)}) {
        Require(!ShowsNonNumber(text), "a recorder text shows inf or nan");
        Require(text.empty() || text[0] != '-', "a recorder text shows a negative amount");
    }
    return 0;
}

int RecorderTransferFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    return Run({data, size}, false);
}

} // namespace qpx::fuzz
