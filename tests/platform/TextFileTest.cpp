#include "platform/TextFile.h"

#include "support/TempDir.h"

#include <cerrno>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::size_t Entries(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(SaveFileReplacing, ReplacesTheFileWhole) {
    TempDir dir;
    const fs::path target = dir.path() / "harbour.qpxplan";
    Write(target, "old plan, longer than the new one\n");
    EXPECT_EQ(platform::SaveFileReplacing(target, "cells = 25\n"), "");
    EXPECT_EQ(dir.read("harbour.qpxplan"), "cells = 25\n");
    EXPECT_EQ(Entries(dir.path()), 1u);
}

// A disk that fills half-way through: the old file stays as it was, and no temporary is left.
TEST(SaveFileReplacing, AnInterruptedSaveLeavesThePreviousFileIntact) {
    TempDir dir;
    const fs::path target = dir.path() / "harbour.qpxplan";
    Write(target, "cells = 20\n");
    const auto halfThenFull = [](std::FILE* file, std::string_view bytes) {
        std::fwrite(bytes.data(), 1, bytes.size() / 2, file);
        errno = ENOSPC;
        return false;
    };
    EXPECT_EQ(platform::SaveFileReplacing(target, "cells = 25\nblanking = 1\n", halfThenFull),
              "the disk is full");
    EXPECT_EQ(dir.read("harbour.qpxplan"), "cells = 20\n");
    EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(SaveFileReplacing, AFolderThatIsNotThereIsNamedAsTheReason) {
    TempDir dir;
    EXPECT_EQ(platform::SaveFileReplacing(dir.path() / "no such folder" / "a.qpxplan", "x"),
              "the folder does not exist");
}

TEST(ReadFileBounded, ReadsUpToTheBoundAndRefusesMore) {
    TempDir dir;
    Write(dir.path() / "small", std::string(100, 'a'));
    Write(dir.path() / "large", std::string(70000, 'a'));
    const auto small = platform::ReadFileBounded(dir.path() / "small", 100);
    ASSERT_TRUE(small.contents);
    EXPECT_EQ(small.contents->size(), 100u);
    const auto large = platform::ReadFileBounded(dir.path() / "large", 65536);
    EXPECT_FALSE(large.contents);
    EXPECT_EQ(large.error, "it is larger than 65536 bytes");
    EXPECT_EQ(platform::ReadFileBounded(dir.path() / "missing", 10).error,
              "the file does not exist");
}

TEST(LocalTimeStamp, GivesTheLocalTimeWithItsOffset) {
    EXPECT_TRUE(std::regex_match(platform::LocalTimeStamp(),
                                 std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d [+-]\d\d:\d\d)")));
}

} // namespace
} // namespace qpx::test
