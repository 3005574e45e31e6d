#!/usr/bin/env bash
# Sets up, builds (release) and runs the program's main job: the desktop program deployqpx with the
# simulated instrument on a pseudo-terminal as COM1. Where there is no display, the same deployment
# runs headless with qpxctl instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset release >/dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    cmake --build --preset release --target qpx-sim deployqpx
    exec ./build/release/qpx-sim --deploy-interval-ms 1000 --exec ./build/release/deployqpx
fi
echo "No display found: running the headless deployment (qpxctl deploy) on the simulator." >&2
cmake --build --preset release --target qpx-sim qpxctl
# Without arguments, watch the first few output lines of the started deployment.
[ "$#" -gt 0 ] || set -- --watch 5
exec ./build/release/qpx-sim --deploy-interval-ms 1000 --exec ./build/release/qpxctl deploy --port COM1 "$@"
