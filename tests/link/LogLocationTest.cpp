#include "link/LogLocation.h"

#include "link/LogFile.h"
#include "platform/UserDataFolder.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

namespace fs = std::filesystem;
using link::ChooseLogLocation;
using link::LogFile;
using link::LogLocation;

// A folder that cannot be created, even by root: one of its parents is a plain file.
fs::path Unwritable(const TempDir& dir) {
    std::ofstream(dir.path() / "plain-file") << "x";
    return dir.path() / "plain-file" / "folder";
}

std::string Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A user such as "Jörg": the path must reach the C library in its own form, not as UTF-8 text
// read in the ANSI code page.
TEST(LogFile, OpensInAFolderWithANonAsciiName) {
    TempDir dir;
    const fs::path folder = dir.path() / fs::path(u8"J\u00f6rg \u0141\u00f3d\u017a");
    fs::create_directories(folder);
    LogFile log(folder);
    ASSERT_TRUE(log.open());
    log.write("Ver\r");
    log.close();
    ASSERT_TRUE(log.open()) << "appends on a second open";
    log.write(">Ver\r");
    log.close();
    std::ifstream in(folder / "LogFile", std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(written, "Ver\r\n>Ver\r\n");
}

TEST(LogLocation, CurrentFolderWhenWritableLeavingNoEmptyLogBehind) {
    TempDir current;
    TempDir perUser;
    const LogLocation chosen = ChooseLogLocation(current.path(), perUser.path() / "DeployQpx");
    EXPECT_EQ(chosen.directory, current.path());
    EXPECT_EQ(chosen.notice, "");
    EXPECT_FALSE(fs::exists(current.path() / "LogFile"));
    EXPECT_FALSE(fs::exists(perUser.path() / "DeployQpx"));

    std::ofstream(current.path() / "LogFile", std::ios::binary) << "A\r\n";
    EXPECT_EQ(ChooseLogLocation(current.path(), std::nullopt).directory, current.path());
    EXPECT_EQ(current.read("LogFile"), "A\r\n") << "an existing log is kept as it was";
}

TEST(LogLocation, UnwritableCurrentFolderGoesToThePerUserFolderAndSaysSo) {
    TempDir current;
    TempDir home;
    const fs::path perUser = home.path() / "share" / "DeployQpx";
    for (const std::optional<fs::path>& start :
         {std::optional(Unwritable(current)), std::optional<fs::path>()}) {
        const LogLocation chosen = ChooseLogLocation(start, perUser);
        EXPECT_EQ(chosen.directory, perUser);
        EXPECT_TRUE(fs::is_directory(perUser)) << "created when missing";
        EXPECT_EQ(chosen.notice, "\"LogFile\" is written in " + Text(perUser) +
                                     ": the current folder cannot be written.");
    }
}

TEST(LogLocation, NeitherFolderWritableTurnsLoggingOffAndSaysSo) {
    TempDir dir;
    for (const std::optional<fs::path>& perUser :
         {std::optional(Unwritable(dir) / "DeployQpx"), std::optional<fs::path>()}) {
        const LogLocation chosen = ChooseLogLocation(Unwritable(dir), perUser);
        EXPECT_FALSE(chosen.directory.has_value());
        EXPECT_NE(chosen.notice.find("\"LogFile\" cannot be written"), std::string::npos);
    }
}

// Sets or (with nullptr) removes an environment variable, and puts it back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedVariable() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const char* value) {
#ifdef _WIN32
        _putenv_s(name_.c_str(), value ? value : "");
#else
        if (value) {
            ::setenv(name_.c_str(), value, 1);
        } else {
            ::unsetenv(name_.c_str());
        }
#endif
    }
    std::string name_;
    std::optional<std::string> old_;
};

TEST(UserDataFolder, FollowsThePlatformsRule) {
#if defined(_WIN32)
    {
        ScopedVariable local("LOCALAPPDATA", "C:\\Users\\Tech\\AppData\\Local");
        EXPECT_EQ(platform::UserDataFolder(),
                  fs::path("C:\\Users\\Tech\\AppData\\Local") / "DeployQpx");
    }
    ScopedVariable none("LOCALAPPDATA", nullptr);
    EXPECT_FALSE(platform::UserDataFolder().has_value());
#elif defined(__APPLE__)
    ScopedVariable home("HOME", "/Users/tech");
    EXPECT_EQ(platform::UserDataFolder(),
              fs::path("/Users/tech/Library/Application Support/DeployQpx"));
#else
    ScopedVariable home("HOME", "/home/tech");
    {
        ScopedVariable xdg("XDG_DATA_HOME", "/data/tech");
        EXPECT_EQ(platform::UserDataFolder(), fs::path("/data/tech/DeployQpx"));
    }
    for (const char* ignored : {"relative/share", "", static_cast<const char*>(nullptr)}) {
        ScopedVariable xdg("XDG_DATA_HOME", ignored);
        EXPECT_EQ(platform::UserDataFolder(), fs::path("/home/tech/.local/share/DeployQpx"));
    }
    ScopedVariable noHome("HOME", nullptr);
    EXPECT_FALSE(platform::UserDataFolder().has_value());
#endif
}

} // namespace
} // namespace qpx::test
