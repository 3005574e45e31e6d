#include "serial/PermissionMessage.h"

#if defined(__linux__)
#include <algorithm>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

namespace qpx::serial {
#if defined(__linux__)
namespace {

bool IsMemberOf(gid_t group) {
    if (::getegid() == group) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 &&
           std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

} // namespace
#endif

std::string PermissionDeniedMessage(std::string_view path, std::string_view group,
                                    bool joiningHelps) {
    std::string text = "Permission denied for " + std::string(path) + ": ";
    // Joining root's group would be a bad piece of advice.
    if (!group.empty() && group != "root" && joiningHelps) {
        const std::string name(group);
        return text + "add your user to the group '" + name + "' (sudo usermod -aG " + name +
               " $USER) and log in again.";
    }
    return text + "your user may not read and write it; ask the administrator for access.";
}

std::string AccessDeniedMessage(const std::string& path) {
#if defined(__linux__)
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        // A member of the group, or a group without read and write permission, gains nothing.
        const bool joiningHelps = (info.st_mode & S_IRGRP) != 0 && (info.st_mode & S_IWGRP) != 0 &&
                                  !IsMemberOf(info.st_gid);
        std::vector<char> buffer(16384);
        struct group entry {};
        struct group* found = nullptr;
        if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->gr_name != nullptr) {
            return PermissionDeniedMessage(path, found->gr_name, joiningHelps);
        }
    }
#endif
    return PermissionDeniedMessage(path, "", false);
}

} // namespace qpx::serial
