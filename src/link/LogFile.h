#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>

namespace qpx::link {

// The command log "LogFile": every command line sent and the echo that came back. Each record is
// written unchanged and followed by a line feed, so the file reads well in any editor (the
// command records already end with their CR). The folder is injected; the program passes the
// current directory, tests a temporary one.
class LogFile {
public:
    explicit LogFile(std::filesystem::path directory = std::filesystem::current_path());
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens "LogFile" for appending (creating it). False when it cannot be opened: the caller
    // then goes on without logging.
    bool open();
    void write(std::string_view record);
    void close();
    bool isOpen() const { return file_.is_open(); }

    std::filesystem::path path() const { return directory_ / "LogFile"; }

private:
    std::filesystem::path directory_;
    // A stream opened by path, not by narrow text: on Windows the path's own wide form is used,
    // so a folder such as C:\Users\Jörg works whatever the ANSI code page.
    std::ofstream file_;
};

} // namespace qpx::link
