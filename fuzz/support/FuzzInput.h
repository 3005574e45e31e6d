#pragma once

#include "link/MessageSink.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::fuzz {

// Scripts for the replay device are the fuzz input cut at this marker: one segment per host
// event. Three bytes that no instrument text holds and that frames and blocks hold only by
// chance.
inline constexpr std::string_view kSegmentMarker = "\xff\x1e\xff";

std::vector<std::vector<std::uint8_t>> SplitSegments(std::span<const std::uint8_t> input);
std::vector<std::uint8_t> JoinSegments(const std::vector<std::vector<std::uint8_t>>& segments);

// A broken invariant: names it on standard error and aborts, which the fuzzer reports as a
// crash with the input that caused it.
void Require(bool holds, const char* what);
// The name Require gives for the input being replayed (a corpus or regression file).
void SetReplayedInputName(std::string name);

// Whether a shown text carries a number that is not one: "inf" or "nan" in any letter case.
bool ShowsNonNumber(std::string_view text);

// Whether `text` is an instance of one of the system's message formats. In a format every
// printf conversion for a number stands for one number, "%s" for any text; runs of blanks count
// as one blank on both sides, since widths pad with blanks.
bool MatchesFormat(std::string_view text, std::string_view format);
bool MatchesAnyFormat(std::string_view text, std::initializer_list<std::string_view> formats);
bool MatchesAnyFormat(std::string_view text, std::span<const std::string_view> formats);

// A message sink that takes only the messages it was told to expect; anything else breaks the
// harness. Questions are answered with `answerOk`.
class ExpectedMessages final : public link::MessageSink {
public:
    explicit ExpectedMessages(std::vector<std::string_view> formats, bool answerOk = true)
        : formats_(std::move(formats)), answerOk_(answerOk) {}

    void showMessage(std::string_view text) override;
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInformation(std::string_view title, std::string_view text) override;

    const std::vector<std::string>& shown() const { return shown_; }

private:
    void check(std::string_view text);

    std::vector<std::string_view> formats_;
    bool answerOk_;
    std::vector<std::string> shown_;
};

// The messages the link layer itself can show.
std::vector<std::string_view> LinkMessages();

// Every regular file below `folder`, sorted; nothing when it does not exist.
std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder);
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file);

} // namespace qpx::fuzz
