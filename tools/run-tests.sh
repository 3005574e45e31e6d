#!/usr/bin/env bash
# Sets up, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer (warnings are
# errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset debug
cmake --build --preset debug
ctest --preset debug -j 2
# The fuzz harnesses run apart: bash tools/run-fuzz.sh 20
