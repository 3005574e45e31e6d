#include "instrument/PcQpxTransmit.h"

#include "model/OperationConfiguration.h"
#include "planning/DefaultStructures.h"
#include "support/KeptProgressViews.h"
#include "support/LinkBench.h"
#include "support/ScriptedRecorder.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::PcQpxSettings;
using instrument::PcQpxTransmitResult;
using instrument::PulseSettings;

constexpr int kMetric = 1;
constexpr int kEnglish = 0;

const std::string kOk = "OK\r\n>";
const std::string kHeading = "Waking up System............... Success\r\n"
                             "Transmit PC-QPX Settings...............\r\n";
const std::vector<std::string> kAllLines{"Ver",        "pl   0.50", "pg   0.40",
                                         "rpg   0.00", "SaveSetup", "Get OPER"};

// A PC-QPX on a scripted line that takes the three settings and sends `readBack` for "Get OPER".
struct TransmitBench {
    LinkBench bench;
    KeptProgressViews windows;
    model::SystemConfiguration conf = planning::MakeDefaultSystemConfiguration(1);
    model::UserSetup user = planning::MakeDefaultUserSetup(1);
    model::OperationConfiguration oper = planning::MakeDefaultOperationConfiguration(1);
    model::OperationConfiguration readBack;

    explicit TransmitBench(std::uint8_t cpuSoftwareVersion = 17) {
        conf.cpuSoftwareVersion = cpuSoftwareVersion;
        user.pulseCoherentMode = 1;
        user.soundSpeed = 15000;
        oper.systemResLag = 50;
        oper.systemLag = 30;
        oper.pulseLength = 20;
        oper.userPulseLag = 100;
        oper.userResLag = 200;
        oper.operWord24 = 30;
        readBack = oper;
        readBack.pulseLength = 50;
        readBack.userPulseLag = 40;
        readBack.userResLag = 0;
        readBack.systemResLag = 60;
        readBack.systemLag = 35;
        auto& replies = bench.device.replies;
        replies["Ver"] = "Kelvra QPX Version 1.70\r\n>";
        for (const char* line : {"pl   0.50", "pg   0.40", "rpg   0.00", "SaveSetup"}) {
            replies[line] = kOk;
        }
        setReadBack(readBack);
    }
    void setReadBack(const model::OperationConfiguration& sent, int checksumDelta = 0) {
        const auto wire = model::NarrowOperationConfiguration(sent);
        bench.device.replies["Get OPER"] =
            "OK\r\n" + Block(Bytes(wire.begin(), wire.end()), checksumDelta) + ">";
    }
    PcQpxSettings dialog(int unitSystem = kMetric) const {
        return PcQpxSettings(unitSystem, conf, user, oper);
    }
    PcQpxTransmitResult transmit(PcQpxSettings& settings) {
        return instrument::TransmitPcQpxSettings(&bench.link, windows, settings,
                                                 PulseSettings{0.5f, 0.4f, 0.0f});
    }
};

TEST(PcQpxTransmit, SendsTheSettingsSavesThemAndShowsWhatTheInstrumentReadsBack) {
    TransmitBench t;
    auto settings = t.dialog();
    ASSERT_EQ(settings.systemResLagText(), " 0.50");
    EXPECT_EQ(t.transmit(settings), PcQpxTransmitResult::Success);
    EXPECT_EQ(t.bench.device.lines, kAllLines);
    ASSERT_EQ(t.windows.views.size(), 1u);
    const auto& window = t.windows.views[0];
    EXPECT_EQ(window.text(), kHeading + "Update Pulse Length............ Success\r\n"
                                        "Update User Pulse Lag.......... Success\r\n"
                                        "Update User ResLag............. Success\r\n"
                                        "Save Setup..................... Success\r\n");
    EXPECT_EQ(window.low(), 0);
    EXPECT_EQ(window.high(), 6);
    EXPECT_EQ(window.position(), 6);
    EXPECT_TRUE(window.finished());
    EXPECT_TRUE(window.succeeded());
    EXPECT_EQ(t.windows.destroyed, 1);

    EXPECT_EQ(settings.operationConfiguration(), t.readBack);
    EXPECT_EQ(settings.systemResLagText(), " 0.60");
    EXPECT_EQ(settings.systemLagText(), " 0.35");
    EXPECT_EQ(settings.pulseLengthText(), "0.5");
    EXPECT_EQ(settings.userResLagText(), "0");
    EXPECT_TRUE(t.bench.messages.entries.empty());
    EXPECT_EQ(t.bench.port.closeCount(), 0);
}

TEST(PcQpxTransmit, ReadBackFollowsTheVersionRuleOfTheHeldSystemConfiguration) {
    for (const std::uint8_t version : {std::uint8_t{15}, std::uint8_t{16}}) {
        TransmitBench t(version);
        auto settings = t.dialog();
        ASSERT_EQ(t.transmit(settings), PcQpxTransmitResult::Success);
        const auto& held = settings.operationConfiguration();
        EXPECT_EQ(held.systemResLag, version >= 16 ? 60u : 0u) << int(version);
        EXPECT_EQ(held.systemLag, version >= 16 ? 35u : 0u) << int(version);
        EXPECT_EQ(held.pulseLength, 50u);
    }
}

// Each step failing in turn: "Failed" ends its line, nothing after it goes out, the held
// structure stays as it was, and the port stays open for the planner.
struct TransmitFailure {
    const char* name;
    void (*inject)(TransmitBench&);
    std::size_t linesSent;
    std::string log;
    bool readBackMessage;
};

std::ostream& operator<<(std::ostream& os, const TransmitFailure& f) {
    return os << f.name;
}

class PcQpxTransmitFailures : public testing::TestWithParam<TransmitFailure> {};

TEST_P(PcQpxTransmitFailures, StopAtTheFailedStep) {
    TransmitBench t;
    GetParam().inject(t);
    auto settings = t.dialog();
    EXPECT_EQ(t.transmit(settings), PcQpxTransmitResult::Failure);
    const std::vector<std::string> expectedLines(kAllLines.begin(),
                                                 kAllLines.begin() + GetParam().linesSent);
    EXPECT_EQ(t.bench.device.lines, expectedLines);
    ASSERT_EQ(t.windows.views.size(), 1u);
    const auto& window = t.windows.views[0];
    EXPECT_EQ(window.text(), GetParam().log);
    EXPECT_EQ(window.position(), 6);
    EXPECT_TRUE(window.finished());
    EXPECT_FALSE(window.succeeded());
    EXPECT_EQ(settings.operationConfiguration(), t.oper);
    EXPECT_EQ(settings.systemResLagText(), " 0.50");
    const auto texts = t.bench.messages.texts();
    EXPECT_EQ(!texts.empty() && texts.back() == instrument::kOperationReadBackFailed,
              GetParam().readBackMessage);
    EXPECT_EQ(t.bench.port.closeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PcQpxTransmitFailures,
    testing::Values(
        TransmitFailure{"wake_up",
                        [](TransmitBench& b) { b.bench.device.replies["Ver"] = "WQS 2.0\r\n>"; }, 1,
                        "Waking up System............... Failed\r\n", false},
        TransmitFailure{
            "pulse_length",
            [](TransmitBench& b) { b.bench.device.replies["pl   0.50"] = "ERROR\r\n>"; }, 2,
            kHeading + "Update Pulse Length............ Failed\r\n", false},
        TransmitFailure{
            "pulse_lag",
            [](TransmitBench& b) { b.bench.device.replies["pg   0.40"] = "ERROR\r\n>"; }, 3,
            kHeading + "Update Pulse Length............ Success\r\n"
                       "Update User Pulse Lag.......... Failed\r\n",
            false},
        TransmitFailure{
            "res_lag",
            [](TransmitBench& b) { b.bench.device.replies["rpg   0.00"] = "ERROR\r\n>"; }, 4,
            kHeading + "Update Pulse Length............ Success\r\n"
                       "Update User Pulse Lag.......... Success\r\n"
                       "Update User ResLag............. Failed\r\n",
            false},
        TransmitFailure{
            "save_setup",
            [](TransmitBench& b) { b.bench.device.replies["SaveSetup"] = "ERROR\r\n>"; }, 5,
            kHeading + "Update Pulse Length............ Success\r\n"
                       "Update User Pulse Lag.......... Success\r\n"
                       "Update User ResLag............. Success\r\n"
                       "Save Setup..................... Failed\r\n",
            false},
        TransmitFailure{"read_back_checksum",
                        [](TransmitBench& b) { b.setReadBack(b.readBack, 1); }, 6,
                        kHeading + "Update Pulse Length............ Success\r\n"
                                   "Update User Pulse Lag.......... Success\r\n"
                                   "Update User ResLag............. Success\r\n"
                                   "Save Setup..................... Success\r\n"
                                   "Failed\r\n",
                        true},
        TransmitFailure{"read_back_of_another_structure",
                        [](TransmitBench& b) {
                            auto other = b.readBack;
                            other.structureId = 0x12;
                            b.setReadBack(other);
                        },
                        6,
                        kHeading + "Update Pulse Length............ Success\r\n"
                                   "Update User Pulse Lag.......... Success\r\n"
                                   "Update User ResLag............. Success\r\n"
                                   "Save Setup..................... Success\r\n"
                                   "Failed\r\n",
                        true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PcQpxTransmit, PlanningModeSendsNothingAndRecomputesNothing) {
    TransmitBench t;
    auto settings = t.dialog();
    EXPECT_EQ(instrument::TransmitPcQpxSettings(nullptr, t.windows, settings, {0.5f, 0.4f, 0.0f}),
              PcQpxTransmitResult::NoPort);
    EXPECT_TRUE(t.windows.views.empty());
}

TEST(PcQpxTransmit, WithoutAWindowNothingIsSentAndTheHeldValuesAreShown) {
    TransmitBench t;
    t.windows.refuse = true;
    auto settings = t.dialog();
    settings.pulseLengthChanged("0.7");
    EXPECT_EQ(t.transmit(settings), PcQpxTransmitResult::Success);
    EXPECT_TRUE(t.bench.device.written.empty());
    EXPECT_EQ(settings.pulseLengthText(), "0.2");
}

TEST(PcQpxUpdate, RejectedInputSendsNothing) {
    TransmitBench t;
    auto settings = t.dialog(kMetric);
    settings.pulseLengthChanged("1.005");
    const auto outcome = instrument::UpdatePcQpxSettings(settings, &t.bench.link, t.windows);
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->text, "Pulse Length should be in the range of  0.02 to  1.00 m.");
    EXPECT_FALSE(outcome.value.has_value());
    EXPECT_TRUE(t.bench.device.written.empty());
    EXPECT_TRUE(t.windows.views.empty());
}

TEST(PcQpxUpdate, EnglishValueJustOverTheBoundGoesOutOnIt) {
    TransmitBench t;
    t.bench.device.replies["pl   1.00"] = kOk;
    t.bench.device.replies["pg   1.00"] = kOk;
    t.bench.device.replies["rpg   2.00"] = kOk;
    auto settings = t.dialog(kEnglish);
    settings.pulseLengthChanged("3.285");
    const auto outcome = instrument::UpdatePcQpxSettings(settings, &t.bench.link, t.windows);
    EXPECT_FALSE(outcome.message.has_value());
    EXPECT_EQ(outcome.value, PcQpxTransmitResult::Success);
    ASSERT_GE(t.bench.device.lines.size(), 4u);
    EXPECT_EQ(t.bench.device.lines[1], "pl   1.00");
    EXPECT_EQ(t.bench.device.lines[2], "pg   1.00");
    EXPECT_EQ(t.bench.device.lines[3], "rpg   2.00");
}

} // namespace
} // namespace qpx::test
