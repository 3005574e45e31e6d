#include "LineDiff.h"

#include "SessionOutput.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

struct DiffCase {
    const char* what;
    std::string expected;
    std::string actual;
    std::string diff;
};

void PrintTo(const DiffCase& c, std::ostream* os) {
    *os << c.what;
}

class LineDiffCases : public ::testing::TestWithParam<DiffCase> {};

TEST_P(LineDiffCases, ShowsOnlyTheChangedLinesWithTheirNumbers) {
    const DiffCase& c = GetParam();
    EXPECT_EQ(LineDiff(c.expected, c.actual), c.diff) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineDiffCases,
    ::testing::Values(DiffCase{"equal texts", "a\nb\n", "a\nb\n", ""},
                      DiffCase{"one line changed", "a\nb\nc\n", "a\nB\nc\n",
                               "   2 - b\n   2 + B\n"},
                      // An extra line must not make every later line look changed.
                      DiffCase{"a line put in", "a\nb\nc\n", "a\nx\nb\nc\n", "   2 + x\n"},
                      DiffCase{"a line left out", "a\nb\nc\n", "a\nc\n", "   2 - b\n"},
                      DiffCase{"two separate changes", "a\nb\nc\nd\ne\n", "a\nB\nc\nd\nE\n",
                               "   2 - b\n   2 + B\n...\n   5 - e\n   5 + E\n"},
                      DiffCase{"lines swapped", "Get USER\nGet OPER\n", "Get OPER\nGet USER\n",
                               "   1 - Get USER\n...\n   2 + Get USER\n"},
                      DiffCase{"everything new", "", "OK\n", "   1 + OK\n"},
                      DiffCase{"control characters shown", "OK\n", "OK\r\n\x01\n",
                               "   1 - OK\n   1 + OK\\r\n   2 + \\x01\n"},
                      DiffCase{"only the last line end differs", "a\nb\n", "a\nb",
                               "(the actual text has no line end after its last line)\n"},
                      DiffCase{"the expected text unended", "a", "a\n",
                               "(the expected text has no line end after its last line)\n"}));

struct MaskCase {
    std::string text;
    std::string masked;
};

void PrintTo(const MaskCase& c, std::ostream* os) {
    *os << c.text;
}

class DeploymentTimeMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(DeploymentTimeMask, HidesOnlyTheStampOfDeploymentOutputLines) {
    EXPECT_EQ(MaskDeploymentTimes(GetParam().text), GetParam().masked);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DeploymentTimeMask,
    ::testing::Values(
        MaskCase{"OK\nDeployment started\n2001/07/04 09:05:08 Profile 1\n"
                 "2001/07/04 09:05:09 Profile 12\n",
                 "OK\nDeployment started\nYYYY/MM/DD HH:MM:SS Profile 1\n"
                 "YYYY/MM/DD HH:MM:SS Profile 12\n"},
        MaskCase{"2001/07/04 09:05:08 Profile 3", "YYYY/MM/DD HH:MM:SS Profile 3"},
        // Times the tool itself shows are compared as they are.
        MaskCase{"  Start Date/Time: 2001/07/04,  10:00:00\n",
                 "  Start Date/Time: 2001/07/04,  10:00:00\n"},
        MaskCase{"StartDate 2001/07/04\nStartTime 10:00:00\n",
                 "StartDate 2001/07/04\nStartTime 10:00:00\n"},
        MaskCase{"2001/07/04 09:05:08 Profile\n", "2001/07/04 09:05:08 Profile\n"},
        MaskCase{"2001/07/04 09:05:08 Profile 1x\n", "2001/07/04 09:05:08 Profile 1x\n"},
        MaskCase{"x2001/07/04 09:05:08 Profile 1\n", "x2001/07/04 09:05:08 Profile 1\n"},
        MaskCase{"2001/07/04 09:05:08 Profile 1\r\n", "2001/07/04 09:05:08 Profile 1\r\n"}));

} // namespace
} // namespace qpx::test
