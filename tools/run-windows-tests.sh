#!/usr/bin/env bash
# The Windows build of everything that needs no Qt (core, simulator, qpxctl's library, the core
# and command-line tests), cross-compiled with MinGW-w64 (warnings are errors) and its tests run
# under wine through CTest. Debian 12 has no Qt for Windows: the Qt parts are parsed for Windows
# (tools/check-windows-qt-syntax.sh), and docs/WINDOWS.md says what only a Windows machine proves.
#
#   bash tools/run-windows-tests.sh        (as root the first time: it installs what is missing)
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 googletest libcli11-dev nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=$PWD/build/windows
mkdir -p "$build"
prefix=$build/_deps/prefix
toolchain=$PWD/cmake/MinGW-w64-x86_64.cmake
jobs=${QPX_JOBS:-2}

# GoogleTest from Debian's sources, built once for x86_64-w64-mingw32 into the private prefix.
if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$build/_deps/googletest" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
        -DCMAKE_INSTALL_PREFIX="$prefix" >"$build/googletest-configure.log"
    cmake --build "$build/_deps/googletest" -j "$jobs" >/dev/null
    cmake --install "$build/_deps/googletest" >/dev/null
fi
# CLI11 is headers only: a copy of Debian's package (its CMake files find the headers beside
# them) keeps the Linux include folder out of the Windows build.
if [ ! -f "$prefix/share/cmake/CLI11/CLI11Config.cmake" ]; then
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -r /usr/include/CLI "$prefix/include/"
    cp -r /usr/share/cmake/CLI11 "$prefix/share/cmake/"
fi
# nlohmann-json likewise.
if [ ! -f "$prefix/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" ]; then
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -r /usr/include/nlohmann "$prefix/include/"
    cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
fi

# Debug without debug information (-O0 alone): the quickest to compile and link; only what the
# tests run (no benchmarks, demo or developer tools).
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQPX_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
    -DQPX_WITH_QT=OFF -DQPX_WERROR=ON -DQPX_BUILD_TOOLS=OFF \
    >"$build/configure.log" || { cat "$build/configure.log"; exit 1; }
nice -n 10 cmake --build "$build" -j "$jobs"
built=$(date +%s)

# A private wine prefix under the build folder, and its own wineserver, stopped on the way out
# whatever happens. No Mono or Gecko: the tests are console programs.
export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# Create the prefix before the tests run two at a time.
wine cmd /c exit >/dev/null 2>&1 || true

tests=$(ctest --test-dir "$build" -N | grep -c 'Test *#')
executables=$(find "$build/tests" -maxdepth 1 -name 'test_*.exe' | wc -l)
ctest --test-dir "$build" -j "$jobs" --output-on-failure --timeout 600
tested=$(date +%s)
"$wineserver" -k 2>/dev/null || true

# The Qt parts as far as this machine can check them, and the byte-exact checkout.
bash tools/check-windows-qt-syntax.sh
bash tools/check-byte-exact-checkout.sh
finished=$(date +%s)
echo "Windows tests under wine: $tests tests passed ($executables test executables and" \
    "qpxctl.exe); build $((built - started)) s, tests $((tested - built)) s, Qt syntax and" \
    "checkout $((finished - tested)) s, total $((finished - started)) s"
