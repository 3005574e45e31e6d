#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/ReplayDevice.h"
#include "instrument/PcQpxSettings.h"
#include "instrument/PcQpxTransmit.h"
#include "link/Port.h"
#include "planning/DefaultStructures.h"
#include "support/RecordingMessageSink.h"

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

class RecordingViews final : public link::ProgressViewFactory {
public:
    std::unique_ptr<link::ProgressView> open() override {
        return std::make_unique<link::RecordingProgressView>();
    }
};

// The read-back after a PC-QPX update answered with a 20-byte "Get OPER" frame that checks: the
// dialog used to show it as the instrument's configuration, zeros for everything missing.
TEST(PcQpxFuzzRegression, ShortReadBackFrameIsAFailedUpdate) {
    const auto bytes = fuzz::ReadFileBytes(std::filesystem::path(QPX_FUZZ_FOLDER) / "regressions" /
                                           "ReplyParsersFuzz" / "short-oper-readback");
    ASSERT_FALSE(bytes.empty());
    link::VirtualClock clock;
    link::Port port(
        std::make_unique<fuzz::ReplayDevice>(
            clock, fuzz::SplitSegments(std::span<const std::uint8_t>(bytes).subspan(1))),
        clock);
    RecordingMessageSink messages;
    link::Link link{port, messages, std::nullopt};

    auto user = planning::MakeDefaultUserSetup(1);
    user.pulseCoherentMode = 1;
    const auto oper = planning::MakeDefaultOperationConfiguration(1);
    instrument::PcQpxSettings settings(1, planning::MakeDefaultSystemConfiguration(1), user, oper);
    settings.pulseLengthChanged("0.5");
    settings.userPulseLagChanged("0.5");
    settings.userResLagChanged("0");
    RecordingViews views;
    const auto outcome = instrument::UpdatePcQpxSettings(settings, &link, views);

    EXPECT_EQ(outcome.value, instrument::PcQpxTransmitResult::Failure);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{std::string(instrument::kOperationReadBackFailed)});
    EXPECT_EQ(settings.operationConfiguration(), oper);
}

} // namespace
} // namespace qpx::test
