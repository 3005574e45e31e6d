#include "cli/Report.h"

#include <nlohmann/json.hpp>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

// Texts come from the instrument (comments, file names): JSON must survive any of them.
TEST(Report, JsonEscapesWhatTheInstrumentMaySend) {
    EXPECT_EQ(cli::JsonString("plain"), "\"plain\"");
    EXPECT_EQ(cli::JsonString("say \"hi\" \\ now"), "\"say \\\"hi\\\" \\\\ now\"");
    EXPECT_EQ(cli::JsonString("a\r\nb\tc"), "\"a\\r\\nb\\tc\"");
    EXPECT_EQ(cli::JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
}

// Whatever bytes a comment or file name holds, a script can parse the report: bytes that are not
// UTF-8 come back as U+FFFD, control characters escaped, quotes and backslashes intact.
TEST(Report, JsonOfAnyInstrumentTextParses) {
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::string text;
        std::string parsed; // the text the JSON reads back as
    } cases[] = {
        {"plain", "plain"},
        {"25\xC2\xB0 slant", "25\xC2\xB0 slant"}, // valid UTF-8 passes through
        {"caf\xE9", "caf" + replacement},
        {"\x80", replacement},
        {"a\xBF"
         "b",
         "a" + replacement + "b"},
        {"\xFF\xFE", replacement + replacement},
        {std::string("nul\0end", 7), std::string("nul\0end", 7)},
        {"esc\x1B[0m", "esc\x1B[0m"},
        {"del\x7F", "del\x7F"},
        {"say \"hi\" \\ now", "say \"hi\" \\ now"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parsed);
        cli::Report report;
        report.section("deployment", "Deployment").add("comment1", "Comment 1:", c.text);
        report.sections.back().tables.push_back({"files", {"name"}, {"Name"}, {{c.text}}});
        const std::string json = cli::FormatReportJson(report);
        for (const char byte : json) {
            const auto value = static_cast<unsigned char>(byte);
            EXPECT_TRUE(value == '\n' || (value >= 0x20 && value != 0x7F)) << int{value};
        }
        const auto parsed = nlohmann::json::parse(json, nullptr, false);
        ASSERT_FALSE(parsed.is_discarded()) << json;
        EXPECT_EQ(parsed["deployment"]["comment1"], c.parsed);
        EXPECT_EQ(parsed["deployment"]["files"][0]["name"], c.parsed);
    }
}

TEST(Report, EmptyPartsStayValidJson) {
    cli::Report report;
    EXPECT_EQ(cli::FormatReportJson(report), "{}\n");
    report.section("recorder", "Recorder").tables.push_back({"files", {"name"}, {"Name"}, {}});
    report.section("empty", "Empty");
    EXPECT_EQ(cli::FormatReportJson(report),
              "{\n  \"recorder\": {\n    \"files\": []\n  },\n  \"empty\": {}\n}\n");
}

TEST(Report, TextAlignsTableColumns) {
    cli::Report report;
    auto& section = report.section("recorder", "Recorder");
    section.add("used-space", "Used Space:", "1.00M");
    section.tables.push_back(
        {"files", {"name", "size"}, {"Name", "Size"}, {{"DEF00001.QPX", "2048"}, {"A", "65536"}}});
    EXPECT_EQ(cli::FormatReportText(report), "Recorder\n"
                                             "  Used Space: 1.00M\n"
                                             "  Name          Size\n"
                                             "  DEF00001.QPX  2048\n"
                                             "  A             65536\n");
}

} // namespace
} // namespace qpx::test
