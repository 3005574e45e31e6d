#include "link/LogFile.h"

namespace qpx::link {

LogFile::LogFile(std::filesystem::path directory) : directory_(std::move(directory)) {}

LogFile::~LogFile() {
    close();
}

bool LogFile::open() {
    close();
    // Binary mode: the records carry their own CR, which text mode would double on Windows.
    file_.open(path(), std::ios::binary | std::ios::app);
    return file_.is_open();
}

void LogFile::write(std::string_view record) {
    if (!file_.is_open()) {
        return;
    }
    file_.write(record.data(), static_cast<std::streamsize>(record.size()));
    file_.put('\n');
}

void LogFile::close() {
    if (file_.is_open()) {
        file_.close();
    }
    file_.clear();
}

} // namespace qpx::link
