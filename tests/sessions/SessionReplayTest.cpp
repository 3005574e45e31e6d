// Every recorded session under tests/data/sessions replayed in-process on virtual time: the
// command lines the instrument received, qpxctl's output and its exit code must be what qpx-sim
// and the real pseudo-terminal gave when the session was recorded (tools/record-sessions.sh).

#include "SessionReplay.h"

#include "LineDiff.h"
#include "RecordedSession.h"
#include "SessionOutput.h"

#include <cctype>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

const std::filesystem::path kSessionsRoot = QPX_SESSIONS_DIR;

// The whole difference, line by line, rather than the escaped strings gtest prints.
void ExpectSameText(const std::filesystem::path& file, const std::string& expected,
                    const std::string& actual) {
    const std::string diff = LineDiff(expected, actual);
    if (!diff.empty()) {
        ADD_FAILURE() << file.filename().string() << " differs (- " << file.string()
                      << ", + replay):\n"
                      << diff;
    }
}

class RecordedSessionReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedSessionReplay, GivesTheRecordedLinesOutputAndExitCode) {
    const std::filesystem::path folder = kSessionsRoot / GetParam();
    const RecordedSessionResult loaded = LoadRecordedSession(folder);
    ASSERT_TRUE(loaded.ok) << loaded.message;
    const RecordedSession& recorded = loaded.session;

    const SessionRun run = ReplaySession(recorded.scenario, recorded.command);

    ExpectSameText(folder / "transcript", recorded.transcript, run.transcript);
    ExpectSameText(folder / "stdout", recorded.out, MaskDeploymentTimes(run.out));
    ExpectSameText(folder / "stderr", recorded.err, MaskReviewTimes(run.err));
    EXPECT_EQ(run.exitCode, recorded.exitCode) << "exit code";
}

INSTANTIATE_TEST_SUITE_P(Sessions, RecordedSessionReplay,
                         ::testing::ValuesIn(SessionNames(kSessionsRoot)),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

// A wrong folder path would otherwise instantiate nothing and pass.
TEST(RecordedSessions, AreFoundWhereTheBuildSaysTheyAre) {
    EXPECT_GE(SessionNames(kSessionsRoot).size(), 10u) << kSessionsRoot.string();
}

} // namespace
} // namespace qpx::test
