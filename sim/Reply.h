#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qpx::sim {

// What the instrument sends back for one input, in wire order. The instrument adds the echo
// and the line end before it and paces it; a handler only says what goes out.
class Reply {
public:
    // A text line ended by CR LF.
    void line(std::string_view text) {
        raw(text);
        bytes_.push_back('\r');
        bytes_.push_back('\n');
    }
    // Text without a line end.
    void raw(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    void raw(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    // Bytes that go right after the echoed CR, ahead of its LF (the status byte some firmware
    // puts in front of a reply).
    std::vector<std::uint8_t> beforeLineFeed;
    // Whether the prompt '>' follows. Command lines get one unless the command holds it back
    // (a question waiting for its answer); byte dialogues send none unless they say so.
    bool prompt = true;
    // The line goes dead after this many bytes of the reply: nothing more is ever sent.
    std::optional<std::size_t> deadAfter;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace qpx::sim
