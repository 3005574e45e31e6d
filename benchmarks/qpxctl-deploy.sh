#!/usr/bin/env bash
# How long `qpxctl deploy` takes against qpx-sim over a pseudo-terminal in real time, against
# the least it could take: the pauses the sequence takes through its clock plus its bytes' time
# on the line (bench_qpxctl_floor runs the same command in-process on virtual time to find
# them). Also the tool's processor time as a share of its wall time: waiting must not spin.
#
#     bash benchmarks/qpxctl-deploy.sh [BUILD_DIR]
#
# BUILD_DIR holds qpxctl, qpx-sim and bench_qpxctl_floor; without it the release preset is
# built (an optimised build: sanitizers would inflate the processor time). Needs only bash and
# the tools of a base system.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -ge 1 ]]; then
    build=$1
else
    cmake --preset release >/dev/null
    cmake --build --preset release --target qpxctl qpx-sim bench_qpxctl_floor >/dev/null
    build=build/release
fi
for tool in qpxctl qpx-sim bench_qpxctl_floor; do
    if [[ ! -x $build/$tool ]]; then
        echo "qpxctl-deploy.sh: $build/$tool is missing" >&2
        exit 2
    fi
done

work=$(mktemp -d)
simPid=
cleanup() {
    if [[ -n $simPid ]]; then
        kill "$simPid" 2>/dev/null || true
        wait "$simPid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# One setting changed, a second of the instrument's output watched.
settings=(cells=25 --watch 1)

printf '%8s %9s %9s %7s %8s %9s\n' baud wall_ms floor_ms ratio cpu_ms cpu_share
for baud in 9600 115200; do
    read -r floorMs _ < <("$build/bench_qpxctl_floor" --baud "$baud" \
        deploy --port COM1 --baud "$baud" "${settings[@]}")

    "$build/qpx-sim" --baud "$baud" >"$work/sim.out" 2>"$work/sim.err" &
    simPid=$!
    for _ in $(seq 200); do
        [[ -s $work/sim.out ]] && break
        sleep 0.05
    done
    device=$(head -n 1 "$work/sim.out")
    if [[ -z $device ]]; then
        echo "qpxctl-deploy.sh: qpx-sim did not start" >&2
        cat "$work/sim.err" >&2
        exit 3
    fi

    # bash's own `time` reports the tool's real, user and system time (its children only).
    TIMEFORMAT='%3R %3U %3S'
    rc=0
    { time "$build/qpxctl" deploy --port "$device" --baud "$baud" "${settings[@]}" \
        >"$work/out" 2>"$work/err" || rc=$?; } 2>"$work/time"
    kill "$simPid" 2>/dev/null || true
    wait "$simPid" 2>/dev/null || true
    simPid=
    if [[ $rc -ne 0 ]]; then
        echo "qpxctl-deploy.sh: qpxctl deploy ended with $rc at $baud baud:" >&2
        cat "$work/err" >&2
        exit 3
    fi
    read -r real user sys <"$work/time"
    awk -v baud="$baud" -v real="$real" -v user="$user" -v sys="$sys" -v floor="$floorMs" \
        'BEGIN {
            wall = real * 1000; cpu = (user + sys) * 1000
            printf "%8d %9.0f %9.0f %7.3f %8.0f %8.2f%%\n", baud, wall, floor, wall / floor, cpu,
                100 * cpu / wall
        }'
done
echo "Targets: ratio within 1.10 of the floor, processor time under 5% of the wall time."
