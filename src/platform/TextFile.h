#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Documents the user keeps (plans, command files): read with a size bound, saved so that a
// failure never leaves a half-written file where the old one was.
namespace qpx::platform {

struct FileRead {
    std::optional<std::string> contents;
    std::string error; // why nothing was read: "it is larger than 65536 bytes", the system's reason
};

// The whole file when it holds at most `maxBytes`; a larger one is refused without reading past
// the bound.
FileRead ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes);

// Writes `bytes` to the open file, as fwrite would; false on failure with errno set. Tests put a
// failing one in to simulate a full disk.
using FileWriter = std::function<bool(std::FILE*, std::string_view bytes)>;

// Writes the contents to a temporary file beside `target`, flushes it to the disk, then renames
// it over the target. On any failure the temporary file is removed, the target is as it was, and
// the reason is returned ("the folder cannot be written to", "the disk is full", ...); empty on
// success.
std::string SaveFileReplacing(const std::filesystem::path& target, std::string_view contents,
                              const FileWriter& writer = {});

// The local time with its offset from UTC, "2026/12/09 10:15:00 +01:00", for the header of a
// saved document.
std::string LocalTimeStamp();

} // namespace qpx::platform
