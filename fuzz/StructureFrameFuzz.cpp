#include "fuzz/Harnesses.h"
#include "fuzz/support/ChecksumRepair.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/ReplayDevice.h"
#include "instrument/HardwareConfigView.h"
#include "link/FetchStructure.h"
#include "link/FrameChecksum.h"
#include "link/Port.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

namespace qpx::fuzz {
namespace {

struct Request {
    std::string_view command;
    std::size_t size; // the received form
};

constexpr std::array<Request, 3> kRequests{{
    {"Get CONF", model::kSystemConfigurationSize},
    {"Get USER", model::kUserSetupSize},
    {"Get OPER", model::kOperationConfigurationWireSize},
}};

constexpr std::uint8_t kUntouched = 0xA5;

// The reader accepted `data`: somewhere in what the instrument sent it must stand followed by
// its own checksum.
bool SentWithItsChecksum(const std::vector<std::vector<std::uint8_t>>& segments,
                         std::span<const std::uint8_t> data) {
    const std::uint16_t sum = link::FrameChecksum(data);
    const auto low = static_cast<std::uint8_t>(sum & 0xFF);
    const auto high = static_cast<std::uint8_t>(sum >> 8);
    for (const auto& segment : segments) {
        if (data.empty()) {
            // An empty frame: its length 4 and its checksum stand side by side.
            const std::uint8_t frame[] = {4, 0, low, high};
            if (std::search(segment.begin(), segment.end(), std::begin(frame), std::end(frame)) !=
                segment.end()) {
                return true;
            }
            continue;
        }
        auto from = segment.begin();
        for (;;) {
            const auto at = std::search(from, segment.end(), data.begin(), data.end());
            if (at == segment.end()) {
                break;
            }
            const auto after = static_cast<std::size_t>(at - segment.begin()) + data.size();
            if (after + 2 <= segment.size() &&
                (segment[after] | (segment[after + 1] << 8)) == sum) {
                return true;
            }
            from = at + 1;
        }
    }
    return false;
}

void CheckSystemConfiguration(std::span<const std::uint8_t> data) {
    const auto copied = model::CopyReceivedSystemConfiguration(data);
    if (!copied.ok()) {
        Require(!copied.error().empty(), "a refused configuration without a reason");
        return;
    }
    const auto held = model::Encode(copied.value());
    Require(held[86] == 0, "byte 86 carried over on download");
    for (std::size_t i = 0; i < held.size(); ++i) {
        const std::uint8_t sent = i < data.size() ? data[i] : 0;
        const bool inSerial = i >= 15 && i < 25;
        if (i != 86 && !inSerial) {
            Require(held[i] == sent, "a configuration byte changed on download");
        }
    }
    Require(copied.value().serialNumber[9] == 0, "serial number not terminated");
    const auto view = instrument::MakeHardwareConfigView(copied.value(), 0);
    for (const auto& field : view.fields) {
        // The serial number and board letter are the instrument's own text, not numbers.
        const bool text = field.controlId == instrument::kSerialNumberId ||
                          field.controlId == instrument::kBoardRevisionId;
        Require(text || !ShowsNonNumber(field.text), "hardware view shows inf or nan");
    }
}

void CheckUserSetup(std::span<const std::uint8_t> data) {
    const auto decoded = model::DecodeUserSetup(data);
    if (!decoded.ok()) {
        return;
    }
    const auto bytes = model::Encode(decoded.value());
    Require(std::equal(bytes.begin(), bytes.end(), data.begin(), data.end()),
            "a user setup does not encode back to its bytes");
}

void CheckOperationConfiguration(std::span<const std::uint8_t> data, std::uint8_t version) {
    const auto widened = model::WidenOperationConfiguration(data, version);
    if (!widened.ok()) {
        return;
    }
    const auto narrow = model::NarrowOperationConfiguration(widened.value());
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        const bool conditional = i == 47 || i == 48 || i == 60 || i == 61;
        const std::uint8_t expected =
            conditional && version < model::kSystemLagMinimumVersion ? 0 : data[i];
        Require(narrow[i] == expected, "an operation configuration does not narrow back");
    }
}

} // namespace

int StructureFrameFuzz::Run(std::span<const std::uint8_t> input, bool repairChecksum) {
    if (input.empty()) {
        return 0;
    }
    const Request& request = kRequests[input[0] % kRequests.size()];
    const std::uint8_t version = (input[0] & 0x80) != 0 ? 16 : 15;
    auto segments = SplitSegments(input.subspan(1));
    if (repairChecksum && segments.size() > 1) {
        RepairStructureFrame(segments[1]);
    }
    const auto replayed = segments;

    link::VirtualClock clock;
    ExpectedMessages messages(LinkMessages());
    link::Port port(std::make_unique<ReplayDevice>(clock, segments), clock);
    link::Link link{port, messages, std::nullopt};

    std::vector<std::uint8_t> destination(request.size, kUntouched);
    int received = -1;
    const int result = link::FetchStructure(link, request.command, destination, &received);
    if (result != 1) {
        Require(result == 0, "a fetch result other than 1 or 0");
        Require(received == 0, "a failed fetch reports data");
        Require(std::all_of(destination.begin(), destination.end(),
                            [](std::uint8_t b) { return b == kUntouched; }),
                "a failed fetch wrote into the structure");
        Require(!messages.shown().empty(), "a failed fetch without a message");
        return 0;
    }
    Require(received >= 0 && static_cast<std::size_t>(received) <= destination.size(),
            "accepted data longer than its structure");
    Require(messages.shown().empty(), "a successful fetch showed a message");
    const std::span<const std::uint8_t> data(destination.data(),
                                             static_cast<std::size_t>(received));
    Require(SentWithItsChecksum(replayed, data), "accepted data without its checksum");

    switch (input[0] % kRequests.size()) {
    case 0:
        CheckSystemConfiguration(data);
        break;
    case 1:
        CheckUserSetup(data);
        break;
    default:
        CheckOperationConfiguration(data, version);
        break;
    }
    return 0;
}

int StructureFrameFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    return Run({data, size}, false);
}

} // namespace qpx::fuzz
