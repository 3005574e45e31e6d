#pragma once

#include <filesystem>
#include <string>

namespace qpx::test {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The whole content of a file in the folder ("" when missing).
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

} // namespace qpx::test
