#!/usr/bin/env bash
# Sets up, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer (warnings are
# errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset debug
cmake --build --preset debug
ctest --preset debug -j 2
# The desktop package: a release build of the three programs, packed and checked unpacked.
package=$(bash tools/build-package.sh)
bash tools/check-package.sh "$package"
# The fuzz harnesses run apart: bash tools/run-fuzz.sh 20
