#!/usr/bin/env bash
# Checks a built .deb the way a fresh Debian 12 machine would see it: unpacked into a temporary
# root, every file where it belongs, qpxctl answering --help, deployqpx starting offscreen, and
# the declared dependencies resolvable by apt.
set -euo pipefail
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
package=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() {
    echo "check-package: $*" >&2
    failures=$((failures + 1))
}

dpkg-deb -I "$package" | sed -n 's/^ *\(Package\|Version\|Architecture\|Depends\):/\1:/p'
dpkg-deb -x "$package" "$root"

for file in usr/bin/deployqpx usr/bin/qpxctl usr/bin/qpx-sim usr/bin/deployqpx-help.html \
    usr/share/applications/deployqpx.desktop \
    usr/share/icons/hicolor/scalable/apps/deployqpx.svg; do
    [ -f "$root/$file" ] || fail "missing /$file"
done
for program in deployqpx qpxctl qpx-sim; do
    [ -x "$root/usr/bin/$program" ] || fail "/usr/bin/$program is not executable"
done
grep -q '^Exec=deployqpx$' "$root/usr/share/applications/deployqpx.desktop" 2>/dev/null ||
    fail "the desktop entry does not start deployqpx"

# A library the package forgot shows up here as a loader error.
if ! "$root/usr/bin/qpxctl" --help >"$root/qpxctl-help.txt" 2>&1; then
    cat "$root/qpxctl-help.txt" >&2
    fail "qpxctl --help failed"
fi
grep -q 'ports' "$root/qpxctl-help.txt" || fail "qpxctl --help lists no commands"
"$root/usr/bin/qpx-sim" --help >/dev/null 2>&1 || fail "qpx-sim --help failed"

# The program runs until it is closed: a clean start that the time-out ends (status 124) is a
# success; a crash, a missing library or a plugin that cannot load ends it sooner.
status=0
(cd "$root" && QT_QPA_PLATFORM=offscreen timeout -s TERM 2 "$root/usr/bin/deployqpx") \
    >"$root/deployqpx.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    cat "$root/deployqpx.log" >&2
    fail "deployqpx ended with status $status instead of running until stopped"
fi

# The dependencies must resolve from the system's package lists; a dry run installs nothing.
if command -v apt-get >/dev/null && [ "$(id -u)" -eq 0 ]; then
    if ! apt-get install --simulate -q "$package" >"$root/apt.log" 2>&1; then
        cat "$root/apt.log" >&2
        fail "apt cannot resolve the package's dependencies"
    fi
fi

if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures check(s) failed" >&2
    exit 1
fi
echo "check-package: $(basename "$package") installs and starts"
