#include "cli/SettingArgument.h"

#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using cli::ParseSettingArgument;
using cli::SettingName;

struct Parsed {
    std::string text;
    SettingName name;
    std::string value;
    int choice; // -1: not a list setting
};

class SettingArgumentParses : public ::testing::TestWithParam<Parsed> {};

TEST_P(SettingArgumentParses, NameValueAndListIndex) {
    const auto& p = GetParam();
    const auto parsed = ParseSettingArgument(p.text);
    ASSERT_TRUE(parsed.setting) << parsed.error;
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.setting->name, p.name);
    EXPECT_EQ(parsed.setting->value, p.value);
    EXPECT_EQ(parsed.setting->choice.value_or(-1), p.choice);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SettingArgumentParses,
    ::testing::Values(Parsed{"cells=25", SettingName::Cells, "25", -1},
                      // Names and list words in any letter case.
                      Parsed{"Cell-Size=0.5", SettingName::CellSize, "0.5", -1},
                      Parsed{"coordinate-system=ENU", SettingName::CoordinateSystem, "ENU", 2},
                      // Only the first '=' separates: a comment may hold more.
                      Parsed{"comment1=a=b", SettingName::Comment1, "a=b", -1},
                      Parsed{"comment3=", SettingName::Comment3, "", -1},
                      // A value is taken as typed; the planner's checks judge it later.
                      Parsed{"averaging-interval=-3", SettingName::AveragingInterval, "-3", -1},
                      Parsed{"wave-rate=4", SettingName::WaveRate, "4", 2},
                      Parsed{"wave-type=puv", SettingName::WaveType, "puv", 2},
                      Parsed{"battery-type=lithium", SettingName::BatteryType, "lithium", 1},
                      Parsed{"temperature-mode=user", SettingName::TemperatureMode, "user", 0},
                      Parsed{"burst-mode=enabled", SettingName::BurstMode, "enabled", 1},
                      Parsed{"output-mode=polled", SettingName::OutputMode, "polled", 1}));

TEST(SettingArgument, StartTakesOnlyTimesThatExist) {
    const auto start = ParseSettingArgument("start=2000/02/29 23:59:59");
    ASSERT_TRUE(start.setting) << start.error;
    EXPECT_EQ(start.setting->start, (link::CalendarTime{2000, 2, 29, 23, 59, 59}));
    for (const char* text :
         {"start=2001/02/29 00:00:00", "start=2001/07/04 24:00:00", "start=2001/13/01 00:00:00",
          "start=2001/07/00 00:00:00", "start=2001/7/4 09:05:00", "start=2001/07/04 09:05",
          "start=", "start=2001/07/04 09:05:00x", "start=2001-07-04 09:05:00",
          "start=0999/07/04 09:05:00"}) {
        const auto parsed = ParseSettingArgument(text);
        EXPECT_FALSE(parsed.setting) << text;
        EXPECT_NE(parsed.error.find("YYYY/MM/DD HH:MM:SS"), std::string::npos) << text;
    }
}

TEST(SettingArgument, RefusesWhatIsNotASettingWithAReason) {
    for (const char* text :
         {"", "cells", "=25", "cell=25", "cells 25", "file_name=A", "coordinate-system=north",
          "coordinate-system=", "wave-rate=3", "wave-type=directional", "battery-type=nimh"}) {
        const auto parsed = ParseSettingArgument(text);
        EXPECT_FALSE(parsed.setting) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
    // The reason names what would have been right.
    EXPECT_NE(ParseSettingArgument("wave-rate=3").error.find("1, 2, 4"), std::string::npos);
    EXPECT_NE(ParseSettingArgument("cell=25").error.find("cell-size"), std::string::npos);
}

TEST(SettingArgument, EveryNameRoundTrips) {
    for (const operations::SettingRow* row : operations::KeyedRows()) {
        const SettingName name = row->id;
        const auto choices = cli::SettingChoices(name);
        std::string text = std::string(cli::SettingKey(name)) + "=";
        if (name == SettingName::Start) {
            text += "2001/07/04 09:05:00";
        } else if (!choices.empty()) {
            text += choices.back();
        } else {
            text += "1";
        }
        const auto parsed = ParseSettingArgument(text);
        ASSERT_TRUE(parsed.setting) << text << ": " << parsed.error;
        EXPECT_EQ(parsed.setting->name, name);
    }
}

} // namespace
} // namespace qpx::test
