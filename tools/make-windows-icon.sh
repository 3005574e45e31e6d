#!/usr/bin/env bash
# Makes packaging/deployqpx.ico, the Windows program icon, from the program's own SVG icon: the
# sizes Windows asks for (Explorer, the taskbar, the Start menu, high-DPI), drawn by librsvg and
# packed by icoutils. Run again after the SVG changes and commit the result; the build only reads
# the .ico (the cross build and a Windows build have no SVG renderer of their own).
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in rsvg-convert:librsvg2-bin icotool:icoutils; do
    command -v "${tool%%:*}" >/dev/null || { echo "needs ${tool#*:} (apt-get install ${tool#*:})"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 24 32 48 64 256; do
    rsvg-convert -w "$size" -h "$size" src/ui/resources/deployqpx-icon.svg -o "$work/$size.png"
    pngs+=("$work/$size.png")
done
# The small sizes as classic bitmaps (every Windows reads them), 256 as PNG (as Windows stores it).
icotool -c -o packaging/deployqpx.ico "${pngs[@]:0:5}" -r "$work/256.png"
icotool -l packaging/deployqpx.ico
