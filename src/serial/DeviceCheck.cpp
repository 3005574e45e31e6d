#include "serial/DeviceCheck.h"

#include "link/Port.h"

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qpx::serial {

std::string DevicePath(const std::string& name) {
#ifdef _WIN32
    return name;
#else
    if (name.starts_with('/') || name.starts_with("./") || name.starts_with("../")) {
        return name;
    }
    return "/dev/" + name;
#endif
}

#ifdef _WIN32

DeviceCheck CheckDevicePath(const std::string&) {
    return {};
}

bool IsTerminalDevice(const std::string&) {
    return true;
}

bool LacksAccess(const std::string&) {
    return false;
}

#else

DeviceCheck CheckDevicePath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {link::kPortFailure, "No serial device at " + path + "."};
        }
        return {link::kPortFailure, "Cannot open " + path + ": " + std::strerror(errno) + "."};
    }
    if (!S_ISCHR(info.st_mode)) {
        return {link::kPortFailure, path + " is not a serial device (not a character device)."};
    }
    return {};
}

bool IsTerminalDevice(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return true; // cannot tell; let the caller report its own error
    }
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
}

bool LacksAccess(const std::string& path) {
    return ::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

#endif

} // namespace qpx::serial
