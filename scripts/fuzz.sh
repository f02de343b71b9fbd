#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# on every project source) into build-fuzz, then runs each target for a while from its corpus in
# fuzz/corpus/<target>/. Stops at the first crash, leak, sanitizer finding or failed check; the
# input that caused it is left in build-fuzz/fuzz/crashes/<target>/ for the fuzzer to replay:
#   build-fuzz/fuzz/<target> build-fuzz/fuzz/crashes/<target>/crash-...
#
#   scripts/fuzz.sh [seconds per target (default 30)] [target...]
#
# New inputs found during a run go to build-fuzz/fuzz/work/<target>/, never into the repository.
# To grow the repository corpus after a long run, minimise it into a fresh folder:
#   build-fuzz/fuzz/<target> -merge=1 NEW fuzz/corpus/<target> build-fuzz/fuzz/work/<target>
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

seconds=${1:-30}
[ $# -gt 0 ] && shift
case "$seconds" in
'' | *[!0-9]*)
    echo "usage: scripts/fuzz.sh [seconds] [target...]" >&2
    exit 2
    ;;
esac

build=$top/build-fuzz
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKALO_BUILD_FUZZ=ON -DKALO_BUILD_TESTS=OFF -DKALO_BUILD_BENCH=OFF -DKALO_BUILD_FOODS_DB=OFF \
    >/dev/null
cmake --build "$build" -j"$(nproc)" --target kalo_fuzzers

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for dir in "$top"/fuzz/corpus/*/; do
        targets+=("$(basename "$dir")")
    done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for target in "${targets[@]}"; do
    work=$build/fuzz/work/$target
    crashes=$build/fuzz/crashes/$target
    mkdir -p "$work" "$crashes"
    log=$build/fuzz/$target.log
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$crashes/" -print_final_stats=1 "$work" "$top/fuzz/corpus/$target" \
        >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz: $target failed; the input is in $crashes, the whole output in $log" >&2
        exit 1
    fi
    echo "$target: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1)s"
done
echo "fuzz: all targets ran clean"
