#!/usr/bin/env bash
# Builds the libFuzzer harnesses (the fuzz preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each over its committed corpus and regressions for
# SECONDS (default 20), two at a time, from a fixed random seed so that a run can be repeated.
# Fails on any crash, leak, time-out or sanitizer report: the input that caused it is printed in
# base64 and copied to fuzz/regressions/<harness>/, where the unit tests replay it.
#
#   tools/run-fuzz.sh [SECONDS]
#   QPX_FUZZ_BUILD_DIR=/somewhere tools/run-fuzz.sh 180   # another build folder
#   QPX_FUZZ_SEED=7 tools/run-fuzz.sh                     # another seed (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
build="${QPX_FUZZ_BUILD_DIR:-build/fuzz}"
seed="${QPX_FUZZ_SEED:-1}"

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzzers -j 2

work="$build/fuzz-work"
rm -rf "$work"
mkdir -p "$work"

harnesses=()
for source in fuzz/*Fuzz.cpp; do
    harnesses+=("$(basename "$source" .cpp)")
done

# One fuzzer: new inputs go to a scratch corpus, the committed corpus and regressions are read.
run_one() {
    local name="$1"
    mkdir -p "$work/$name/corpus" "$work/$name/artifacts" "fuzz/corpus/$name"
    local inputs=("$work/$name/corpus" "fuzz/corpus/$name")
    if [ -d "fuzz/regressions/$name" ]; then
        inputs+=("fuzz/regressions/$name")
    fi
    "$build/fuzz/$name" -seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/$name/artifacts/" "${inputs[@]}" \
        >"$work/$name/log" 2>&1
}

failed=0
report() {
    local name="$1" status="$2"
    local done_line
    done_line="$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/$name/log" | tail -1 || true)"
    local runs
    runs="$(grep -E '^stat::number_of_executed_units' "$work/$name/log" | awk '{print $2}' || true)"
    if [ "$status" -eq 0 ]; then
        echo "$name: ok, ${runs:-?} executions in ${seconds}s (seed $seed); ${done_line:-no summary}"
    else
        failed=1
        echo "$name: FAILED (exit $status); log: $work/$name/log"
        tail -40 "$work/$name/log"
        mkdir -p "fuzz/regressions/$name"
        for artifact in "$work/$name/artifacts/"*; do
            [ -e "$artifact" ] || continue
            cp "$artifact" "fuzz/regressions/$name/"
            echo "  kept $(basename "$artifact") in fuzz/regressions/$name/; in base64:"
            base64 -w 0 "$artifact"
            echo
        done
    fi
}

# Two at a time: the machine has two cores.
i=0
while [ "$i" -lt "${#harnesses[@]}" ]; do
    first="${harnesses[$i]}"
    second="${harnesses[$((i + 1))]:-}"
    run_one "$first" &
    first_pid=$!
    if [ -n "$second" ]; then
        run_one "$second" &
        second_pid=$!
    fi
    status=0
    wait "$first_pid" || status=$?
    report "$first" "$status"
    if [ -n "$second" ]; then
        status=0
        wait "$second_pid" || status=$?
        report "$second" "$status"
    fi
    i=$((i + 2))
done

if [ "$failed" -ne 0 ]; then
    echo "fuzzing found faults: see above"
    exit 1
fi
echo "fuzzing: ${#harnesses[@]} harnesses, ${seconds}s each, seed $seed, nothing found"
