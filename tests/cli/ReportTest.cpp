#include "cli/Report.h"

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
