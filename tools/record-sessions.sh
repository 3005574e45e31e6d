#!/usr/bin/env bash
# Records the sessions under tests/data/sessions again: for each folder, qpx-sim plays the
# folder's "scenario" on a real pseudo-terminal and runs qpxctl with the folder's "command" on
# it as COM1; the command lines qpx-sim received ("transcript"), qpxctl's "stdout", "stderr" and
# "exit" replace the stored ones. test_sessions replays the same sessions in-process; after a
# deliberate change of output, record them again and read `git diff tests/data/sessions`.
#
#   tools/record-sessions.sh [--build DIR] [SESSION...]
#
# Without --build, the release preset is configured and built (build/release). Without session
# names, every session is recorded. The time-of-day stamps of an instrument's deployment
# output are masked as tests/data/sessions/README.md says.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sessions="$root/tests/data/sessions"
build=""
if [[ $# -ge 2 && $1 == --build ]]; then
    build=$(cd "$2" && pwd)
    shift 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ -z $build ]]; then
    (cd "$root" && cmake --preset release >"$work/configure.log" 2>&1) ||
        { cat "$work/configure.log" >&2; exit 1; }
    build="$root/build/release"
fi
cmake --build "$build" --target qpx-sim qpxctl -j 2 >"$work/build.log" 2>&1 ||
    { cat "$work/build.log" >&2; exit 1; }
sim="$build/qpx-sim"
ctl="$build/qpxctl"

names=("$@")
if [[ ${#names[@]} -eq 0 ]]; then
    for folder in "$sessions"/*/; do
        [[ -f $folder/command ]] && names+=("$(basename "$folder")")
    done
fi

# Keep in step with MaskDeploymentTimes in tests/sessions/SessionOutput.cpp.
mask_deployment_times() {
    sed -E 's#^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} (Profile [0-9]+)$#YYYY/MM/DD HH:MM:SS \1#'
}

# Keep in step with MaskReviewTimes in tests/sessions/SessionOutput.cpp: what the deployment
# review and the record's name take from the computer's clock.
mask_review_times() {
    sed -E -e 's#^(  From now: ).*$#\1(masked)#' \
        -e 's#^(  Warning: The start time [^(]*)\([^)]*\)#\1(masked)#' \
        -e 's#_[0-9]{8}T[0-9]{6}Z_deploy#_YYYYMMDDTHHMMSSZ_deploy#g'
}

failed=0
for name in "${names[@]}"; do
    folder="$sessions/$name"
    if [[ ! -f $folder/scenario || ! -f $folder/command ]]; then
        echo "record-sessions: $name: no scenario or command file" >&2
        failed=1
        continue
    fi
    mapfile -t args <"$folder/command"
    run="$work/$name"
    mkdir -p "$run"
    # qpx-sim prints the device path and its status itself: only qpxctl's own streams are kept.
    # It runs in its own folder, where it writes "LogFile".
    code=0
    # shellcheck disable=SC2016 # the inner shell expands them
    (cd "$run" && timeout 300 "$sim" --scenario "$folder/scenario" --transcript "$run/transcript" \
        --exec sh -c 'exec "$0" "$@" >stdout 2>stderr' "$ctl" "${args[@]}" \
        >"$run/sim.out" 2>"$run/sim.err") || code=$?
    if [[ ! -f $run/stdout ]] || grep -q -v -e '^qpx-sim: serving ' -e '^qpx-sim: a break cannot reach' "$run/sim.err"; then
        echo "record-sessions: $name: qpx-sim did not run the session (exit $code):" >&2
        cat "$run/sim.err" >&2
        failed=1
        continue
    fi
    cp "$run/transcript" "$folder/transcript"
    mask_deployment_times <"$run/stdout" >"$folder/stdout"
    mask_review_times <"$run/stderr" >"$folder/stderr"
    echo "$code" >"$folder/exit"
    echo "recorded $name (exit $code)"
done

git -C "$root" --no-pager diff --stat -- tests/data/sessions
exit "$failed"
