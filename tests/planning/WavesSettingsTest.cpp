#include "planning/WavesSettings.h"

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::CheckWaveDuration;
using planning::WaveBlock;
using planning::WavesSettings;

// A series every 4 profiles at 2 Hz; averaging 60 s, profiling 600 s leave 525 s for it.
WaveBlock Block(int length, int rateIndex = 1) {
    return WaveBlock{4, rateIndex, 1, length};
}

TEST(WaveDurationRule, FromValidation) {
    struct Case {
        const char* name;
        WaveBlock waves;
        float averaging;
        float profiling;
        int wavesOption;
        bool planning;
        const char* message; // nullptr: passes
    };
    const char* const k600 = "Duration of WaveSeries (600s) must be at least 15 sec less than\n"
                             "Profiling Interval - Averaging Interval";
    const std::vector<Case> cases{
        // 1200 samples at 2 Hz last 600 s: 900 - 300 - 15 = 585 is too short ...
        {"TooShort", {1, 1, 1, 1200}, 300.0f, 900.0f, 1, false, k600},
        // ... and 900 - 285 - 15 is exactly enough.
        {"ExactlyEnough", {1, 1, 1, 1200}, 285.0f, 900.0f, 1, false, nullptr},
        {"NoSeriesRecorded", {0, 1, 1, 4096}, 300.0f, 320.0f, 2, false, nullptr},
        // Rate index 3 has no rate: 1 Hz, so 1200 samples last 1200 s.
        {"UnknownRateIsOneHertz",
         {1, 3, 1, 1200},
         0.0f,
         1214.0f,
         1,
         false,
         "Duration of WaveSeries (1200s) must be at least 15 sec less than\n"
         "Profiling Interval - Averaging Interval"},
        // Planning without the waves option: the default UserSetup's waveInterval 4 records
        // nothing on such an instrument.
        {"PlanningWithoutWavesOption", {4, 0, 1, 1024}, 60.0f, 600.0f, 0, true, nullptr},
        {"PlanningWithWavesOption",
         {4, 0, 1, 1024},
         60.0f,
         600.0f,
         1,
         true,
         "Duration of WaveSeries (1024s) must be at least 15 sec less than\n"
         "Profiling Interval - Averaging Interval"},
        // A connected instrument's own setup is judged as it is.
        {"ConnectedWithoutWavesOption",
         {4, 0, 1, 1024},
         60.0f,
         600.0f,
         0,
         false,
         "Duration of WaveSeries (1024s) must be at least 15 sec less than\n"
         "Profiling Interval - Averaging Interval"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto message =
            CheckWaveDuration(c.waves, c.averaging, c.profiling, c.wavesOption, c.planning);
        if (c.message == nullptr) {
            EXPECT_FALSE(message);
        } else {
            ASSERT_TRUE(message);
            EXPECT_EQ(*message, c.message);
        }
    }
}

struct LengthCase {
    const char* length;
    int rateIndex;
    const char* duration;
    bool message;
};

TEST(WavesSettings, DurationRuleWhileTyping) {
    const std::vector<LengthCase>
        cases{
            {"1024", 1, "   512", false}, // 600 - 60 - 15 = 525 >= 512
            {"1050", 1, "   525", false},  {"1052", 1, "   526", true},
            {"1100", 1, "   550", true},   {"1025", 2, "   256", false},
            {"300.9", 0, "   300", false}, // the decimal reading, cut to whole samples
        };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.length);
        WavesSettings settings(1, 60.0f, 600.0f, Block(512, c.rateIndex));
        const auto message = settings.lengthTextChanged(c.length);
        EXPECT_EQ(settings.durationText(), c.duration);
        ASSERT_EQ(message.has_value(), c.message);
        if (message) {
            EXPECT_EQ(message->focusId, WavesSettings::kLengthId);
            EXPECT_TRUE(message->selectText);
            EXPECT_EQ(message->text, planning::WaveDurationMessage(settings.duration()));
        }
        // The value stays as typed.
        EXPECT_EQ(settings.lengthText(), c.length);
    }
}

TEST(WavesSettings, LengthsThatReadAsNothingChangeNothing) {
    WavesSettings settings(1, 60.0f, 600.0f, Block(1024));
    ASSERT_EQ(settings.durationText(), "   512");
    for (const char* text : {"", "0", "-300", "x"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(settings.lengthTextChanged(text));
        EXPECT_EQ(settings.durationText(), "   512");
    }
}

TEST(WavesSettings, ChangingTheRateReappliesTheRule) {
    WavesSettings settings(1, 60.0f, 600.0f, Block(1024, 2)); // 4 Hz: 256 s
    EXPECT_FALSE(settings.openingMessage());
    EXPECT_EQ(settings.durationText(), "   256");
    const auto message = settings.rateSelected(0); // 1 Hz: 1024 s
    ASSERT_TRUE(message);
    EXPECT_EQ(message->focusId, WavesSettings::kLengthId);
    EXPECT_EQ(settings.durationText(), "  1024");
    EXPECT_EQ(settings.rateSelection(), 0);
}

TEST(WavesSettings, OpeningAppliesTheRuleToThePassedValues) {
    const WavesSettings settings(2, 60.0f, 600.0f, WaveBlock{4, 0, 1, 1024});
    ASSERT_TRUE(settings.openingMessage());
    EXPECT_EQ(settings.openingMessage()->text,
              "Duration of WaveSeries (1024s) must be at least 15 sec less than\n"
              "Profiling Interval - Averaging Interval");
    EXPECT_EQ(settings.recordEveryText(), "4");
    EXPECT_EQ(settings.lengthText(), "1024");
}

TEST(WavesSettings, TypeListFollowsTheWavesOption) {
    const WavesSettings directional(2, 60.0f, 600.0f, WaveBlock{4, 1, 2, 1024});
    EXPECT_EQ(directional.typeList(),
              (std::vector<std::string_view>{"     None", "    P Series", "PUV Series"}));
    EXPECT_EQ(directional.typeSelection(), 2);

    // A PUV type on a non-directional system shows no selection and goes back unchanged.
    WavesSettings single(1, 60.0f, 600.0f, WaveBlock{4, 1, 2, 1024});
    EXPECT_EQ(single.typeList(), (std::vector<std::string_view>{"     None", "    P Series"}));
    EXPECT_EQ(single.typeSelection(), -1);
    single.typeSelected(2); // not in the list
    ASSERT_TRUE(single.ok().value);
    EXPECT_EQ(single.ok().value->waveType, 2);
    single.typeSelected(1);
    EXPECT_EQ(single.ok().value->waveType, 1);
}

TEST(WavesSettings, RecordEveryEnablesTheOtherControls) {
    WavesSettings settings(1, 60.0f, 600.0f, WaveBlock{0, 1, 1, 1024});
    EXPECT_FALSE(settings.detailsEnabled());
    const std::vector<std::pair<const char*, bool>> typed{
        {"5", true}, {"0", false}, {"12", true}, {"", false}, {"abc", false}, {"3x", true}};
    for (const auto& [text, enabled] : typed) {
        SCOPED_TRACE(text);
        settings.recordEveryTextChanged(text);
        EXPECT_EQ(settings.detailsEnabled(), enabled);
    }
}

TEST(WavesSettings, DisabledValuesAreStillReturnedAndChecked) {
    WavesSettings settings(1, 60.0f, 600.0f, WaveBlock{0, 2, 1, 1024});
    auto result = settings.ok();
    ASSERT_TRUE(result.value);
    EXPECT_EQ(*result.value, (WaveBlock{0, 2, 1, 1024}));

    settings.lengthTextChanged("5000");
    result = settings.ok();
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->focusId, WavesSettings::kLengthId);
}

TEST(WavesSettings, FrameworkRangesOnOk) {
    struct Case {
        const char* recordEvery;
        const char* length;
        int failingId; // 0: accepted
    };
    const std::vector<Case> cases{
        {"0", "1", 0},
        {"255", "4096", 0},
        {"256", "1024", WavesSettings::kRecordEveryId},
        {"-1", "1024", WavesSettings::kRecordEveryId},
        {"", "1024", WavesSettings::kRecordEveryId},
        {"4", "0", WavesSettings::kLengthId},
        {"4", "4097", WavesSettings::kLengthId},
        {"4", "10.5", WavesSettings::kLengthId},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recordEvery << " " << c.length);
        WavesSettings settings(2, 60.0f, 600.0f, Block(1024));
        settings.recordEveryTextChanged(c.recordEvery);
        settings.lengthTextChanged(c.length);
        const auto result = settings.ok();
        if (c.failingId == 0) {
            ASSERT_TRUE(result.value);
            continue;
        }
        ASSERT_TRUE(result.message);
        EXPECT_FALSE(result.value);
        EXPECT_EQ(result.message->focusId, c.failingId);
        EXPECT_TRUE(result.message->selectText);
    }
}

} // namespace
} // namespace qpx::test
