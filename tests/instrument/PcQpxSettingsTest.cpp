#include "instrument/PcQpxSettings.h"

#include "model/DisplayConversions.h"
#include "model/Units.h"
#include "planning/DefaultStructures.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::PcQpxSettings;
using planning::DialogMessage;

constexpr int kMetric = 1;
constexpr int kEnglish = 0;

// The velocity example: c = 1500 m/s, 1500 kHz, system ResLag 0.5 m, 25 degree beams.
struct PcQpx {
    model::SystemConfiguration conf = planning::MakeDefaultSystemConfiguration(1);
    model::UserSetup user = planning::MakeDefaultUserSetup(1);
    model::OperationConfiguration oper = planning::MakeDefaultOperationConfiguration(1);

    PcQpx() {
        user.pulseCoherentMode = 1;
        user.soundSpeed = 15000;
        oper.systemResLag = 50;
        oper.systemLag = 30;
        oper.pulseLength = 50;
        oper.userPulseLag = 100;
        oper.userResLag = 200;
        oper.operByte59 = 5;
        oper.operWord22 = 0;
        oper.operWord24 = 30;
    }
    PcQpxSettings dialog(int unitSystem) const {
        return PcQpxSettings(unitSystem, conf, user, oper);
    }
};

TEST(PcQpxSettingsDisplay, VelocityLimitsOfTheExample) {
    const auto dialog = PcQpx().dialog(kMetric);
    EXPECT_EQ(dialog.systemResLagText(), " 0.50");
    EXPECT_EQ(dialog.maxVerticalVelocityText(), " 0.75");
    EXPECT_EQ(dialog.maxHorizontalVelocityText(), " 1.77");
    EXPECT_EQ(dialog.systemLagText(), " 0.30");
    EXPECT_EQ(dialog.minCorrLevelText(), "  5");
    EXPECT_EQ(dialog.pulseLengthText(), "0.5");
    EXPECT_EQ(dialog.userPulseLagText(), "1");
    EXPECT_EQ(dialog.userResLagText(), "2");
}

TEST(PcQpxSettingsDisplay, EnglishUnitsShowFeetAndFeetPerSecond) {
    const auto dialog = PcQpx().dialog(kEnglish);
    EXPECT_EQ(dialog.systemResLagText(), " 1.64");
    EXPECT_EQ(dialog.maxVerticalVelocityText(), " 2.46");
    EXPECT_EQ(dialog.maxHorizontalVelocityText(), " 5.82");
    EXPECT_EQ(dialog.systemLagText(), " 0.98");
    EXPECT_EQ(dialog.pulseLengthText(), "1.64042");
    EXPECT_EQ(dialog.minCorrLevelText(), "  5");
}

TEST(PcQpxSettingsDisplay, EveryLabelCarriesTheUnitOfItsSystem) {
    const auto metric = PcQpx().dialog(kMetric);
    const auto english = PcQpx().dialog(kEnglish);
    for (int id : {instrument::kPulseLengthLabelId, instrument::kUserPulseLagLabelId,
                   instrument::kUserResLagLabelId, instrument::kSystemLagLabelId,
                   instrument::kSystemResLagLabelId, instrument::kMaxVerticalVelLabelId,
                   instrument::kMaxHorizontalVelLabelId}) {
        EXPECT_NE(metric.label(id).find("(m"), std::string_view::npos) << id;
        EXPECT_NE(english.label(id).find("(ft"), std::string_view::npos) << id;
        EXPECT_EQ(metric.label(id).substr(0, 6), english.label(id).substr(0, 6)) << id;
    }
}

// Older firmware leaves systemResLag 0; a vertical beam has no horizontal limit. Neither may
// show inf or nan.
TEST(PcQpxSettingsDisplay, MissingDivisorsLeaveTheLimitsEmpty) {
    PcQpx noResLag;
    noResLag.oper.systemResLag = 0;
    for (int units : {kMetric, kEnglish}) {
        const auto dialog = noResLag.dialog(units);
        EXPECT_EQ(dialog.systemResLagText(), " 0.00");
        EXPECT_EQ(dialog.maxVerticalVelocityText(), "");
        EXPECT_EQ(dialog.maxHorizontalVelocityText(), "");
    }
    PcQpx vertical;
    vertical.conf.slantAngle = 0;
    const auto dialog = vertical.dialog(kMetric);
    EXPECT_EQ(dialog.maxVerticalVelocityText(), " 0.75");
    EXPECT_EQ(dialog.maxHorizontalVelocityText(), "");
}

struct UpdateCase {
    const char* name;
    int unitSystem;
    const char* pulseLength; // nullptr: left as shown
    const char* userPulseLag;
    const char* userResLag;
    std::optional<instrument::PulseSettings> accepted;
    std::optional<DialogMessage> failure;
};

void PrintTo(const UpdateCase& c, std::ostream* os) {
    *os << c.name;
}

class PcQpxSettingsUpdate : public testing::TestWithParam<UpdateCase> {};

TEST_P(PcQpxSettingsUpdate, ChecksInOrderAndAcceptsMetres) {
    const UpdateCase& c = GetParam();
    PcQpx pcqpx;
    pcqpx.oper.operWord22 = 40; // min lag (40 + 0.02) x 0.01 = 0.4002 m at 1500 kHz
    auto dialog = pcqpx.dialog(c.unitSystem);
    if (c.pulseLength) {
        dialog.pulseLengthChanged(c.pulseLength);
    }
    if (c.userPulseLag) {
        dialog.userPulseLagChanged(c.userPulseLag);
    }
    if (c.userResLag) {
        dialog.userResLagChanged(c.userResLag);
    }
    const auto update = dialog.update();
    EXPECT_EQ(update.message, c.failure);
    ASSERT_EQ(update.value.has_value(), c.accepted.has_value());
    if (c.accepted) {
        EXPECT_FLOAT_EQ(update.value->pulseLength, c.accepted->pulseLength);
        EXPECT_FLOAT_EQ(update.value->userPulseLag, c.accepted->userPulseLag);
        EXPECT_FLOAT_EQ(update.value->userResLag, c.accepted->userResLag);
    }
    // The entries never go into the structures.
    EXPECT_EQ(dialog.operationConfiguration(), pcqpx.oper);
}

const char* const kResLagMetric = "User ResLag should be in the range of  0.40 to 30.00 m.\nTo "
                                  "disable ambiguity resolution set User ResLag to 0.";

INSTANTIATE_TEST_SUITE_P(
    Checks, PcQpxSettingsUpdate,
    testing::Values(
        UpdateCase{"untouched", kMetric, nullptr, nullptr, nullptr,
                   instrument::PulseSettings{0.5f, 1.0f, 2.0f}, std::nullopt},
        UpdateCase{
            "metricPulseJustOver", kMetric, "1.005", nullptr, nullptr, std::nullopt,
            DialogMessage{"Pulse Length should be in the range of  0.02 to  1.00 m.", 1246, true}},
        UpdateCase{"englishPulseSnappedToMax", kEnglish, "3.285", nullptr, nullptr,
                   instrument::PulseSettings{1.0f, 1.0f, 2.0f}, std::nullopt},
        UpdateCase{
            "englishPulseTooLong", kEnglish, "3.4", nullptr, nullptr, std::nullopt,
            DialogMessage{"Pulse Length should be in the range of  0.07 to  3.28 ft.", 1246, true}},
        UpdateCase{
            "pulseCheckedFirst", kMetric, "0.01", "0.1", "0.1", std::nullopt,
            DialogMessage{"Pulse Length should be in the range of  0.02 to  1.00 m.", 1246, true}},
        UpdateCase{"lagBelowMinLag", kMetric, nullptr, "0.4", nullptr, std::nullopt,
                   DialogMessage{"User Pulse Lag should be in the range of  0.40 to 30.00 m.", 1244,
                                 true}},
        UpdateCase{"lagAboveMaxLag", kEnglish, nullptr, "100", nullptr, std::nullopt,
                   DialogMessage{"User Pulse Lag should be in the range of  1.31 to 98.43 ft.",
                                 1244, true}},
        UpdateCase{"resLagZeroSwitchesResolutionOff", kMetric, nullptr, nullptr, "0",
                   instrument::PulseSettings{0.5f, 1.0f, 0.0f}, std::nullopt},
        UpdateCase{"resLagBelowMinLag", kMetric, nullptr, nullptr, "0.1", std::nullopt,
                   DialogMessage{kResLagMetric, 1249, true}},
        UpdateCase{"notANumber", kMetric, nullptr, "1x", nullptr, std::nullopt,
                   DialogMessage{"Please enter a number.", 1244, true}}),
    [](const testing::TestParamInfo<UpdateCase>& param) { return std::string(param.param.name); });

TEST(PcQpxSettingsUpdate, EnglishResLagMessageWordsFeet) {
    PcQpx pcqpx;
    pcqpx.oper.operWord22 = 40;
    auto dialog = pcqpx.dialog(kEnglish);
    dialog.userResLagChanged("0.1");
    const auto update = dialog.update();
    ASSERT_TRUE(update.message);
    EXPECT_EQ(update.message->text,
              "User ResLag should be in the range of  1.31 to 98.43 ft.\nTo disable ambiguity "
              "resolution set User ResLag to 0.");
}

// An English-unit box nobody typed into goes out as the structure held it; the feet shown
// (truncated to six digits) are not converted back.
TEST(PcQpxSettingsUpdate, UntouchedEnglishInputsGoOutExactly) {
    PcQpx pcqpx;
    pcqpx.oper.pulseLength = 33;
    pcqpx.oper.userPulseLag = 47;
    pcqpx.oper.userResLag = 0;
    const auto update = pcqpx.dialog(kEnglish).update();
    ASSERT_TRUE(update.value);
    EXPECT_EQ(update.value->pulseLength, model::CentimetresToMetres(33));
    EXPECT_EQ(update.value->userPulseLag, model::CentimetresToMetres(47));
    EXPECT_EQ(update.value->userResLag, 0.0f);
}

TEST(PcQpxSettingsUpdate, TypedEnglishInputIsConverted) {
    auto dialog = PcQpx().dialog(kEnglish);
    dialog.pulseLengthChanged("1.64042");
    const auto update = dialog.update();
    ASSERT_TRUE(update.value);
    EXPECT_EQ(update.value->pulseLength, model::FeetToMetres(1.64042f));
}

TEST(PcQpxSettingsUpdate, EnterReadsTheFieldsOnly) {
    auto dialog = PcQpx().dialog(kMetric);
    EXPECT_EQ(dialog.readFields(), std::nullopt);
    dialog.userResLagChanged("");
    EXPECT_EQ(dialog.readFields(), (DialogMessage{"Please enter a number.", 1249, true}));
}

TEST(PcQpxSettingsReadBack, ShowsTheStructureReadBackNotTheTypedValues) {
    PcQpx pcqpx;
    auto dialog = pcqpx.dialog(kMetric);
    dialog.pulseLengthChanged("0.9");
    auto readBack = pcqpx.oper;
    readBack.pulseLength = 80;
    readBack.systemResLag = 75;
    dialog.applyReadBack(readBack);
    EXPECT_EQ(dialog.pulseLengthText(), "0.8");
    EXPECT_EQ(dialog.maxVerticalVelocityText(), " 0.50");
    EXPECT_EQ(dialog.operationConfiguration(), readBack);
    ASSERT_TRUE(dialog.update().value);
    EXPECT_EQ(dialog.update().value->pulseLength, model::CentimetresToMetres(80));
}

TEST(PulseSettingCommands, WidthSixTwoDecimals) {
    const auto commands = instrument::PulseSettingCommands({0.5f, 1.0f, 0.0f});
    EXPECT_EQ(commands[0], "pl   0.50");
    EXPECT_EQ(commands[1], "pg   1.00");
    EXPECT_EQ(commands[2], "rpg   0.00");
}

} // namespace
} // namespace qpx::test
