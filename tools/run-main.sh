#!/usr/bin/env bash
# Sets up, builds (release) and runs the program's main job against the simulated instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target qpx-demo
./build/release/qpx-demo "$@"
