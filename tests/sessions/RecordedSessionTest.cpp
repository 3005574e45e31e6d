#include "RecordedSession.h"

#include "support/TempDir.h"

#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Files = std::map<std::string, std::string>;

const Files kComplete{
    {"scenario", "# slow line\nbaud = 2400\nrecorder-file = A.QPX,10,2001/01/02 03:04:05\n"},
    {"command", "deploy\n--port\nCOM1\nstart=2001/07/04 10:00:00\n--watch\n1\n"},
    {"transcript", "Ver\n"},
    {"stdout", "out\n"},
    {"stderr", "err\n"},
    {"exit", "3\n"},
};

void Write(const std::filesystem::path& folder, const Files& files) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, text] : files) {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
}

TEST(RecordedSession, ReadsTheScenarioAsQpxSimDoesAndEveryArgumentWhole) {
    TempDir dir;
    Write(dir.path() / "s", kComplete);
    const RecordedSessionResult loaded = LoadRecordedSession(dir.path() / "s");
    ASSERT_TRUE(loaded.ok) << loaded.message;
    const RecordedSession& session = loaded.session;
    EXPECT_EQ(session.scenario.baudRate, 2400);
    ASSERT_EQ(session.scenario.recorderFiles.size(), 1u);
    EXPECT_EQ(session.scenario.recorderFiles[0].second, 5);
    EXPECT_EQ(session.command,
              (std::vector<std::string>{"deploy", "--port", "COM1", "start=2001/07/04 10:00:00",
                                        "--watch", "1"}));
    EXPECT_EQ(session.transcript, "Ver\n");
    EXPECT_EQ(session.out, "out\n");
    EXPECT_EQ(session.err, "err\n");
    EXPECT_EQ(session.exitCode, 3);
}

struct Spoiled {
    const char* what;
    std::string file;
    std::optional<std::string> text; // none: the file is missing
    std::string message;             // a part of the refusal
};

void PrintTo(const Spoiled& c, std::ostream* os) {
    *os << c.what;
}

class SpoiledSession : public ::testing::TestWithParam<Spoiled> {};

// A session the replay cannot repeat faithfully is refused, not replayed differently.
TEST_P(SpoiledSession, IsRefusedWithWhatIsWrong) {
    const Spoiled& c = GetParam();
    Files files = kComplete;
    if (c.text) {
        files[c.file] = *c.text;
    } else {
        files.erase(c.file);
    }
    TempDir dir;
    Write(dir.path() / "s", files);
    const RecordedSessionResult loaded = LoadRecordedSession(dir.path() / "s");
    EXPECT_FALSE(loaded.ok) << c.what;
    EXPECT_NE(loaded.message.find(c.message), std::string::npos)
        << c.what << ": " << loaded.message;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SpoiledSession,
    ::testing::Values(
        Spoiled{"a line fault of the process", "scenario", "exit-at = nc 25\n",
                "only instrument settings"},
        Spoiled{"a frame cut by the process", "scenario", "exit-mid-frame\n",
                "only instrument settings"},
        Spoiled{"a setting qpx-sim does not know", "scenario", "bauds = 2\n",
                "line 1: unknown setting bauds"},
        Spoiled{"no scenario", "scenario", std::nullopt, "scenario"},
        Spoiled{"no stderr", "stderr", std::nullopt, "a session needs"},
        Spoiled{"no exit code", "exit", "\n", "expected the exit code"},
        Spoiled{"a word for an exit code", "exit", "three\n", "expected the exit code"},
        Spoiled{"an exit code no process has", "exit", "256\n", "expected the exit code"}));

TEST(RecordedSession, FoldersWithoutACommandAreNoSessions) {
    TempDir dir;
    Write(dir.path() / "b-second", kComplete);
    Write(dir.path() / "a-first", kComplete);
    Write(dir.path() / "notes", {{"README", "x"}});
    EXPECT_EQ(SessionNames(dir.path()), (std::vector<std::string>{"a-first", "b-second"}));
    EXPECT_TRUE(SessionNames(dir.path() / "missing").empty());
}

} // namespace
} // namespace qpx::test
