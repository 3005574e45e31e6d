#include "platform/TextFile.h"

#include "model/TextFormat.h"
#include "platform/StandardClock.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qpx::platform {
namespace {

namespace fs = std::filesystem;

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// Flushed through the C library and then the system's own buffers to the disk.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

std::string Reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return "the folder cannot be written to";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "the disk is full";
    case ENOENT:
    case ENOTDIR:
        return "the folder does not exist";
    default:
        return std::generic_category().message(error);
    }
}

bool PlainWrite(std::FILE* file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

fs::path TemporaryBeside(const fs::path& target) {
    std::random_device random;
    return target.parent_path() /
           fs::path(target.filename().string() + model::FormatText(".%08x.tmp", random()));
}

} // namespace

FileRead ReadFileBounded(const fs::path& path, std::size_t maxBytes) {
    FileRead read;
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr) {
        read.error = errno == ENOENT ? std::string("the file does not exist") : Reason(errno);
        return read;
    }
    std::string contents;
    char buffer[8192];
    // One byte past the bound is enough to know the file is too large.
    while (contents.size() <= maxBytes) {
        const std::size_t wanted = std::min(sizeof buffer, maxBytes + 1 - contents.size());
        const std::size_t got = std::fread(buffer, 1, wanted, file);
        contents.append(buffer, got);
        if (got < wanted) {
            break;
        }
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        read.error = Reason(error);
    } else if (contents.size() > maxBytes) {
        read.error = model::FormatText("it is larger than %llu bytes",
                                       static_cast<unsigned long long>(maxBytes));
    } else {
        read.contents = std::move(contents);
    }
    return read;
}

std::string SaveFileReplacing(const fs::path& target, std::string_view contents,
                              const FileWriter& writer) {
    const fs::path temporary = TemporaryBeside(target);
    std::FILE* file = OpenFile(temporary, "wb");
    if (file == nullptr) {
        return Reason(errno);
    }
    errno = 0;
    const bool written =
        (writer ? writer(file, contents) : PlainWrite(file, contents)) && FlushToDisk(file);
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    std::error_code ignored;
    if (!written || !closed) {
        fs::remove(temporary, ignored);
        const int error = !written ? writeError : closeError;
        return error != 0 ? Reason(error) : std::string("the file could not be written");
    }
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed) {
        fs::remove(temporary, ignored);
        return Reason(renamed.value());
    }
    return {};
}

std::string LocalTimeStamp() {
    const link::CalendarTime local = StandardClock().localTime();
    const int offsetSeconds = StandardClock().utcOffsetSeconds();
    const int minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
    return model::FormatText("%04d/%02d/%02d %02d:%02d:%02d %c%02d:%02d", local.year, local.month,
                             local.day, local.hour, local.minute, local.second,
                             offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

} // namespace qpx::platform
