#pragma once

#include <string>
#include <string_view>

namespace qpx::serial {

// What to tell a user who may not open a device. On Linux serial devices belong to a group
// (usually dialout) whose members may use them; joining it is the usual fix, so it is named
// whenever membership would actually help.
std::string AccessDeniedMessage(const std::string& path);

// The text itself, from the owning group's name (empty when unknown) and whether joining that
// group would give access (it may read and write the device, and the user is not in it yet).
std::string PermissionDeniedMessage(std::string_view path, std::string_view group,
                                    bool joiningHelps);

} // namespace qpx::serial
