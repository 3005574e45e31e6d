#include "platform/RecordFiles.h"

#include "operations/RecordNaming.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

namespace fs = std::filesystem;

const platform::RecordTexts kRecord{"QPX1_20261209T101500Z_deploy", "text\n", "{}\n"};

// A folder that cannot be made, one whose text file fails to write, then one that works: the
// pair lands whole in the last, and no half pair is left behind.
TEST(RecordFiles, KeptTogetherInTheFirstFolderThatTakesBoth) {
    TempDir dir;
    std::ofstream(dir.path() / "plain-file") << "x";
    const fs::path underFile = dir.path() / "plain-file" / "records";
    const fs::path failing = dir.path() / "failing";
    const fs::path working = dir.path() / "working" / "made";
    const platform::FileWriter writer = [&](std::FILE* file, std::string_view bytes) {
        // The text file of the second folder meets a full disk.
        if (bytes == kRecord.text && !fs::exists(working)) {
            errno = ENOSPC;
            return false;
        }
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    };
    const auto saved = platform::SaveRecord(kRecord, {underFile, failing, working}, writer);
    ASSERT_TRUE(saved.folder);
    EXPECT_EQ(*saved.folder, working);
    ASSERT_EQ(saved.problems.size(), 2u);
    EXPECT_EQ(saved.problems[1], failing.string() + ": the disk is full");
    EXPECT_TRUE(fs::is_empty(failing));
    EXPECT_TRUE(fs::exists(working / (kRecord.stem + ".json")));
    EXPECT_TRUE(fs::exists(working / (kRecord.stem + ".txt")));
}

TEST(RecordFiles, FallbackFoldersFollowTheChosenOne) {
    TempDir dir;
    const auto folders = platform::RecordFolders("records", dir.path());
    ASSERT_GE(folders.size(), 2u);
    EXPECT_EQ(folders[0], dir.path() / "records");
    EXPECT_EQ(folders[1], dir.path());
    EXPECT_EQ(folders.back().filename(), "DeployQpx records");
}

TEST(RecordNaming, StemsAndInstantsInUtc) {
    // 00:30 local at +01:00 is the day before in UTC.
    const operations::RecordInstant instant{{2026, 1, 1, 0, 30, 5}, 3600};
    EXPECT_EQ(operations::RecordFileStem("QPX 47/11", instant, "deploy"),
              "QPX_47_11_20251231T233005Z_deploy");
    EXPECT_EQ(operations::RecordFileStem("..", instant, "clock"), "unknown_20251231T233005Z_clock");
    EXPECT_EQ(operations::LocalInstantText(instant), "2026/01/01 00:30:05 +01:00");
    EXPECT_EQ(operations::LocalInstantText({{2026, 1, 1, 0, 0, 0}, -19800}),
              "2026/01/01 00:00:00 -05:30");
    const std::string utc = operations::UtcInstantText(instant);
    EXPECT_EQ(utc, "2025-12-31T23:30:05Z");
    EXPECT_EQ(operations::ParseUtcInstant(utc), operations::UtcSeconds(instant));
    for (const char* bad : {"2025-12-31T23:30:05", "2025-02-30T00:00:00Z", "2025-12-31 23:30:05Z",
                            "2025-12-31T23:30:5Z"}) {
        EXPECT_FALSE(operations::ParseUtcInstant(bad)) << bad;
    }
}

} // namespace
} // namespace qpx::test
