#!/usr/bin/env bash
# The Qt sources compiled for Windows as far as this machine can: MinGW-w64 parses the files that
# differ on Windows (--all: every Qt source and Qt test) against the installed Linux Qt headers,
# with _WIN32 defined and the project's warnings as errors. Syntax only: no linking, no Windows
# Qt. What only a real Windows build can prove is listed in docs/WINDOWS.md.
#
#   bash tools/check-windows-qt-syntax.sh [--all]     (after tools/run-windows-tests.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
qt=/usr/include/x86_64-linux-gnu/qt6
moc=/usr/lib/qt6/libexec/moc
jobs=${QPX_JOBS:-2}
# GoogleTest's headers for Windows, as tools/run-windows-tests.sh installs them.
gtest=${QPX_WINDOWS_PREFIX:-build/windows/_deps/prefix}/include
[ -f "$gtest/gtest/gtest.h" ] || { echo "no GoogleTest for Windows in $gtest"; exit 1; }

# By default every Qt source with a Windows branch of its own, and the platform front ends
# (src/serial, src/app, qpxctl's main). The other Qt files have no Windows branch: parsing them
# again for Windows proves little and costs minutes. tests/serial's other files drive
# pseudo-terminals: Unix only, never built for Windows.
if [ "${1:-}" = --all ]; then
    files=(src/ui/*.cpp tests/gui/*.cpp)
else
    mapfile -t files < <(grep -l -E '_WIN32|Q_OS_WIN' src/ui/*.cpp tests/gui/*.cpp)
fi
files+=(src/app/*.cpp src/serial/*.cpp src/cli/QpxCtlMain.cpp src/cli/SerialPortAccess.cpp
    tests/serial/PortListTest.cpp)

# The GUI tests include their own moc output ("XTest.moc"): made here by the installed moc.
generated=$(mktemp -d)
trap 'rm -rf "$generated"' EXIT
for file in "${files[@]}"; do
    name=$(basename "${file%.cpp}")
    if grep -q "^#include \"$name.moc\"" "$file"; then
        "$moc" -Isrc -Itests "$file" -o "$generated/$name.moc"
    fi
done

flags=(-std=c++20 -fsyntax-only -Isrc -I. -Itests -I"$generated" -isystem "$gtest" -isystem "$qt")
for module in QtCore QtGui QtWidgets QtSerialPort QtSvg QtTest; do
    flags+=(-isystem "$qt/$module")
done
flags+=(-DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_SERIALPORT_LIB -DQT_SVG_LIB
    -DQT_TESTLIB_LIB -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
# What the build defines for the GUI tests (the source folder their shipped documents are in).
flags+=("-DQPX_SOURCE_DIR=\"$PWD\"")
started=$(date +%s)
printf '%s\0' "${files[@]}" |
    nice -n 10 xargs -0 -n 2 -P "$jobs" x86_64-w64-mingw32-g++-posix "${flags[@]}"
echo "Qt sources parsed for Windows: ${#files[@]} files in $(($(date +%s) - started)) s"
