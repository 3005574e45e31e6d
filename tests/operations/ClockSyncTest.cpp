#include "operations/ClockSync.h"

#include "instrument/SystemTimeDialogModel.h"
#include "support/LinkBench.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using instrument::SystemTimeDialogModel;
using link::CalendarTime;
using operations::ClockMode;
using operations::ReadClockNumbers;
using Numbers = std::optional<std::array<int, 3>>;

const std::string kVer = "Kelvra QPX Version 1.70\r\n>";

struct ClockBench {
    LinkBench bench;
    ClockBench() {
        bench.device.replies["Ver"] = kVer;
        bench.device.replies["Date"] = "Current date is 2001/07/04\r\n>";
        bench.device.replies["Time"] = "Current time is 09:05:00\r\n>";
    }
    // What went out after the last "Ver" line and its prompt: the clock-setting lines.
    std::string sentAfterWakeUp() const {
        const auto at = bench.device.written.rfind("Ver\r");
        return at == std::string::npos ? std::string() : bench.device.written.substr(at + 4);
    }
};

struct NumbersCase {
    const char* reply;
    const char* words;
    char separator;
    Numbers expected;
};

std::ostream& operator<<(std::ostream& os, const NumbersCase& c) {
    return os << '"' << c.reply << '"';
}

class ClockReplyReading : public testing::TestWithParam<NumbersCase> {};

TEST_P(ClockReplyReading, ReadsLikeTheScanFormat) {
    EXPECT_EQ(ReadClockNumbers(GetParam().reply, GetParam().words, GetParam().separator),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ClockReplyReading,
    testing::Values(NumbersCase{"Current date is 2001/07/04\r\n>", "Current date is", '/',
                                std::array{2001, 7, 4}},
                    NumbersCase{" 2001/07/04\r\n>", "Current date is", '/', std::array{2001, 7, 4}},
                    NumbersCase{"Current date isCurrent date is 2001/7/4", "Current date is", '/',
                                std::array{2001, 7, 4}},
                    NumbersCase{"Current time is 09:05:00\r\n>", "Current time is", ':',
                                std::array{9, 5, 0}},
                    // "%02d" takes two digits at most; a third is not part of the day.
                    NumbersCase{"2001/07/045", "", '/', std::array{2001, 7, 4}},
                    NumbersCase{"2001", "", '/', std::array{2001, 0, 0}},
                    NumbersCase{"2001-07-04", "", '/', std::array{2001, 0, 0}},
                    NumbersCase{"\r\n>", "Current date is", '/', std::nullopt},
                    NumbersCase{"Current date is unknown", "Current date is", '/', std::nullopt},
                    NumbersCase{"99999999999/01/01", "", '/', std::nullopt}));

TEST(NormalisedCalendarTime, CarriesOutOfRangeValuesLikeMktime) {
    EXPECT_EQ(operations::NormalisedCalendarTime(2001, 7, 4, 9, 5, 0),
              (CalendarTime{2001, 7, 4, 9, 5, 0}));
    EXPECT_EQ(operations::NormalisedCalendarTime(2001, 0, 0, 0, 0, 0),
              (CalendarTime{2000, 11, 30, 0, 0, 0}));
    EXPECT_EQ(operations::NormalisedCalendarTime(2001, 12, 31, 23, 59, 60),
              (CalendarTime{2002, 1, 1, 0, 0, 0}));
    EXPECT_EQ(operations::NormalisedCalendarTime(2000, 2, 30, 0, 0, 0),
              (CalendarTime{2000, 3, 1, 0, 0, 0}));
}

TEST(ReadInstrumentClock, DateAndTimeRepliesMakeTheInstrumentTime) {
    ClockBench c;
    const auto time = operations::ReadInstrumentClock(c.bench.link);
    ASSERT_TRUE(time.has_value());
    EXPECT_EQ(*time, (CalendarTime{2001, 7, 4, 9, 5, 0}));
    EXPECT_EQ(c.bench.device.lines, (std::vector<std::string>{"Ver", "Date", "Time"}));
    EXPECT_TRUE(c.bench.messages.entries.empty());
}

struct ReadFailure {
    const char* name;
    void (*inject)(ScriptedDevice&);
    std::vector<std::string> lines;
};

std::ostream& operator<<(std::ostream& os, const ReadFailure& f) {
    return os << f.name;
}

class ReadInstrumentClockFailures : public testing::TestWithParam<ReadFailure> {};

TEST_P(ReadInstrumentClockFailures, GiveNothingAndStopThere) {
    ClockBench c;
    GetParam().inject(c.bench.device);
    EXPECT_FALSE(operations::ReadInstrumentClock(c.bench.link).has_value());
    EXPECT_EQ(c.bench.device.lines, GetParam().lines);
    EXPECT_EQ(c.bench.port.closeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReadInstrumentClockFailures,
    testing::Values(
        ReadFailure{
            "not_a_qpx", [](ScriptedDevice& d) { d.replies["Ver"] = "WQS 2.0\r\n>"; }, {"Ver"}},
        ReadFailure{"date_without_prompt",
                    [](ScriptedDevice& d) { d.replies["Date"] = "Current date is 2001/07/04"; },
                    {"Ver", "Date"}},
        ReadFailure{"date_without_number",
                    [](ScriptedDevice& d) { d.replies["Date"] = "Current date is\r\n>"; },
                    {"Ver", "Date"}},
        ReadFailure{"time_without_number",
                    [](ScriptedDevice& d) { d.replies["Time"] = "Busy\r\n>"; },
                    {"Ver", "Date", "Time"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(SystemTimeDialogModel, ShowsBothClocksAndTheDifferenceWithoutItsSign) {
    const CalendarTime computer{2001, 7, 5, 10, 6, 1};
    const CalendarTime instrument{2001, 7, 4, 9, 5, 0}; // 90 061 s behind
    const SystemTimeDialogModel behind(computer, instrument);
    EXPECT_EQ(behind.computerTimeText(), "2001/07/05 10:06:01");
    EXPECT_EQ(behind.instrumentTimeText(), "2001/07/04 09:05:00");
    EXPECT_EQ(behind.differenceText(), "       1 01:01:01");
    const SystemTimeDialogModel ahead(instrument, computer);
    EXPECT_EQ(ahead.differenceText(), "       1 01:01:01");
}

TEST(SystemTimeDialogModel, DifferenceTexts) {
    EXPECT_EQ(instrument::DifferenceText(0), "       0 00:00:00");
    EXPECT_EQ(instrument::DifferenceText(-59), "       0 00:00:59");
    EXPECT_EQ(instrument::DifferenceText(86399), "       0 23:59:59");
    EXPECT_EQ(instrument::DifferenceText(-86400 * 12345 - 3661), "    12345 01:01:01");
    // Clocks 70 years apart: beyond a 32-bit difference, still the right number of days.
    const auto far =
        instrument::ClockDifferenceSeconds({2051, 1, 1, 0, 0, 0}, {1981, 1, 1, 0, 0, 0});
    EXPECT_EQ(instrument::DifferenceText(far), "    25567 00:00:00");
}

TEST(SystemTimeDialogModel, DateTimeControlTakesInputOnlyInManualAndOkTakesItsValue) {
    SystemTimeDialogModel dialog({2001, 7, 4, 9, 0, 0}, {2001, 7, 4, 8, 0, 0});
    EXPECT_EQ(dialog.mode(), ClockMode::Auto);
    EXPECT_FALSE(dialog.dateTimeEnabled());
    EXPECT_EQ(dialog.controlTime(), (CalendarTime{2001, 7, 4, 9, 0, 0}));
    dialog.selectManual();
    EXPECT_TRUE(dialog.dateTimeEnabled());
    dialog.setControlTime({2001, 7, 4, 9, 5, 30});
    dialog.selectAuto();
    EXPECT_FALSE(dialog.dateTimeEnabled());
    dialog.selectManual();
    dialog.accept();
    EXPECT_EQ(dialog.computerTime(), (CalendarTime{2001, 7, 4, 9, 5, 30}));
}

struct SettingCase {
    const char* name;
    CalendarTime now;
    std::string date;
    std::string time;
};

std::ostream& operator<<(std::ostream& os, const SettingCase& c) {
    return os << c.name;
}

class ClockSettingLines : public testing::TestWithParam<SettingCase> {};

TEST_P(ClockSettingLines, NextSecondWithFullCarry) {
    const auto lines = operations::MakeClockSettingLines(GetParam().now);
    EXPECT_EQ(lines.date, GetParam().date + "\r");
    EXPECT_EQ(lines.time, GetParam().time + "\r");
}

INSTANTIATE_TEST_SUITE_P(
    Instants, ClockSettingLines,
    testing::Values(
        SettingCase{"plain", {2001, 7, 4, 9, 5, 30}, "Date 2001/07/04", "Time 09:05:31"},
        SettingCase{"minute", {2001, 7, 4, 9, 5, 59}, "Date 2001/07/04", "Time 09:06:00"},
        SettingCase{"hour", {2001, 7, 4, 9, 59, 59}, "Date 2001/07/04", "Time 10:00:00"},
        SettingCase{"month", {2001, 2, 28, 23, 59, 59}, "Date 2001/03/01", "Time 00:00:00"},
        SettingCase{"leap_day", {2004, 2, 28, 23, 59, 59}, "Date 2004/02/29", "Time 00:00:00"},
        SettingCase{"year", {2001, 12, 31, 23, 59, 59}, "Date 2002/01/01", "Time 00:00:00"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(SetInstrumentClock, ManualSendsTheDialogTimePlusOneSecond) {
    ClockBench c;
    EXPECT_TRUE(
        operations::SetInstrumentClock(c.bench.link, ClockMode::Manual, {2001, 7, 4, 9, 5, 30}));
    EXPECT_EQ(c.sentAfterWakeUp(), "Date 2001/07/04\rTime 09:05:31\r");
    // Both reach the instrument as command lines.
    EXPECT_EQ(c.bench.device.lines,
              (std::vector<std::string>{"Ver", "Date 2001/07/04", "Time 09:05:31"}));
}

TEST(SetInstrumentClock, AutoJustBeforeMidnightOnNewYearsEveSendsTheNewYear) {
    ClockBench c;
    // The computer's clock reads 23:59:59 once the instrument has answered "Ver".
    c.bench.device.answer = [&c](const std::string& line) {
        if (line == "Ver") {
            c.bench.clock.setLocalTime({2001, 12, 31, 23, 59, 59});
            return "\n" + kVer;
        }
        return std::string("\n>");
    };
    EXPECT_TRUE(
        operations::SetInstrumentClock(c.bench.link, ClockMode::Auto, {1999, 1, 1, 0, 0, 0}));
    EXPECT_EQ(c.sentAfterWakeUp(), "Date 2002/01/01\rTime 00:00:00\r");
}

TEST(SetInstrumentClock, NothingIsSentWhenTheWakeUpFindsNoQpx) {
    ClockBench c;
    c.bench.device.replies["Ver"] = "WQS 2.0\r\n>";
    EXPECT_FALSE(
        operations::SetInstrumentClock(c.bench.link, ClockMode::Manual, {2001, 7, 4, 9, 5, 30}));
    EXPECT_EQ(c.sentAfterWakeUp(), "");
}

TEST(RunSystemTime, ReadsShowsAndSetsOnOk) {
    ClockBench c;
    c.bench.clock.setLocalTime({2001, 7, 5, 10, 6, 1});
    std::string shownDifference;
    const bool set = instrument::RunSystemTime(&c.bench.link, [&](SystemTimeDialogModel& d) {
        shownDifference = d.differenceText();
        d.selectManual();
        d.setControlTime({2001, 7, 4, 9, 5, 30});
        return true;
    });
    EXPECT_TRUE(set);
    EXPECT_EQ(shownDifference.substr(0, 9), "       1 ");
    EXPECT_EQ(c.sentAfterWakeUp(), "Date 2001/07/04\rTime 09:05:31\r");
}

TEST(RunSystemTime, CancelNoPortOrUnreadableClockSendNoSetting) {
    ClockBench cancelled;
    EXPECT_FALSE(instrument::RunSystemTime(&cancelled.bench.link,
                                           [](SystemTimeDialogModel&) { return false; }));
    EXPECT_EQ(cancelled.bench.device.lines, (std::vector<std::string>{"Ver", "Date", "Time"}));

    bool shown = false;
    const auto show = [&shown](SystemTimeDialogModel&) { return shown = true; };
    EXPECT_FALSE(instrument::RunSystemTime(nullptr, show));

    ClockBench unreadable;
    unreadable.bench.device.replies["Time"] = "\r\n>";
    EXPECT_FALSE(instrument::RunSystemTime(&unreadable.bench.link, show));
    EXPECT_FALSE(shown);
    EXPECT_TRUE(unreadable.bench.messages.entries.empty());
}

} // namespace
} // namespace qpx::test
