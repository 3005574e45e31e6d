#!/usr/bin/env bash
# Builds the desktop package: a release build of deployqpx, qpxctl and qpx-sim only, then cpack.
# The build folder is build/release, or $QPX_PACKAGE_BUILD_DIR. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${QPX_PACKAGE_BUILD_DIR:-build/release}"
cmake --preset release -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target deployqpx qpxctl qpx-sim -j 2 >&2
rm -f "$build_dir"/deployqpx_*.deb
(cd "$build_dir" && cpack -G DEB >&2)
package=$(ls "$build_dir"/deployqpx_*.deb)
echo "$(cd "$(dirname "$package")" && pwd)/$(basename "$package")"
