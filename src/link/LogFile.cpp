#include "link/LogFile.h"

namespace qpx::link {

LogFile::LogFile(std::filesystem::path directory) : directory_(std::move(directory)) {}

LogFile::~LogFile() {
    close();
}

bool LogFile::open() {
    close();
    // Binary mode: the records carry their own CR, which text mode would double on Windows.
    file_ = std::fopen(path().string().c_str(), "ab");
    return file_ != nullptr;
}

void LogFile::write(std::string_view record) {
    if (file_ == nullptr) {
        return;
    }
    std::fwrite(record.data(), 1, record.size(), file_);
    std::fputc('\n', file_);
}

void LogFile::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

} // namespace qpx::link
