#!/usr/bin/env bash
# Draws every window of deployqpx into docs/screenshots/*.png on the offscreen platform, filled
# from the simulated instrument. Run it again whenever a window changes and commit the images.
# The build folder is build/release, or $QPX_SCREENSHOT_BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${QPX_SCREENSHOT_BUILD_DIR:-build/release}"
cmake --preset release -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target screenshots -j 2
rm -f docs/screenshots/*.png
QT_QPA_PLATFORM=offscreen "$build_dir/tools/screenshots/screenshots" docs/screenshots
