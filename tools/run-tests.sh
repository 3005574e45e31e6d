#!/usr/bin/env bash
# Sets up, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer (warnings are
# errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
# Line tables only (-g1): sanitizer reports keep their file and line, and the build is quicker
# to compile and link than with full debug information.
cmake --preset debug -DCMAKE_CXX_FLAGS_DEBUG=-g1
cmake --build --preset debug
ctest --preset debug -j 2
bash tools/run-windows-tests.sh
# The desktop package: a release build of the three programs, packed and checked unpacked.
package=$(bash tools/build-package.sh)
bash tools/check-package.sh "$package"
# Then every fuzz harness over its committed corpus and regressions, about 10 s each, two at a
# time, from a fixed seed; a find fails the run and prints its input in base64.
bash tools/run-fuzz.sh 10
