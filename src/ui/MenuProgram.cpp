#include "ui/MenuProgram.h"

#include <QCoreApplication>
#include <QString>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace qpx::ui {

std::filesystem::path ProgramDirectory() {
    // UTF-16 converts to the path's own encoding everywhere: wide on Windows, UTF-8 elsewhere.
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String());
}

std::optional<std::filesystem::path>
FindMenuProgram(const std::filesystem::path& programDirectory) {
    if (programDirectory.empty())
        return std::nullopt;
    std::filesystem::path candidate = programDirectory / kMenuProgramName;
#ifdef _WIN32
    candidate += ".exe";
#endif
    std::error_code error;
    if (!std::filesystem::is_regular_file(candidate, error))
        return std::nullopt;
#ifndef _WIN32
    if (::access(candidate.c_str(), X_OK) != 0)
        return std::nullopt;
#endif
    return candidate;
}

void ChainToMenuProgram(const std::filesystem::path& programDirectory) {
    const auto program = FindMenuProgram(programDirectory);
    if (!program)
        return;
#ifdef _WIN32
    const std::wstring path = program->wstring();
    const wchar_t* arguments[] = {L"Menu", nullptr};
    _wexecv(path.c_str(), arguments);
#else
    const std::string path = program->string();
    char name[] = "Menu";
    char* arguments[] = {name, nullptr};
    ::execv(path.c_str(), arguments);
#endif
}

} // namespace qpx::ui
