#!/bin/sh
# Runs every benchmark in one go and prints one Markdown table: start-up and user actions of the
# real main window on the real food database (offscreen), the ranking cache build, the database
# builder, and the whole-process start of the installed program beside a bare Qt 6 window under
# Xvfb, with peak memory; then the builder on a synthetic FoodData Central download of two million
# foods (kalo_fdcgen, words and lengths drawn from the real descriptions) and the same user actions
# on the FOODS.db it makes (both kept in the build directory and made again when the real FOODS.db
# is newer).
#
#   bench/run.sh [--quick]
#
# Environment: KALO_BENCH_BUILD (build directory, default <source>/build-bench, a Release build),
# KALO_SR24_JAR (the USDA SR24 jar of the Debian package cronometer; found where the build finds
# it when unset), KALO_BENCH_RUNS (timed runs of each user action and start, default 21),
# KALO_BENCH_LARGE (foods in the synthetic download, default 2000000; 0 leaves it out; the
# download takes about 3 GB for a moment and the database 2 GB).
# Missing Debian packages (xvfb, xauth, time) are installed with apt-get when run as root.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KALO_BENCH_BUILD:-$source_dir/build-bench}
runs=${KALO_BENCH_RUNS:-21}
large=${KALO_BENCH_LARGE:-2000000}
start_runs=11
cache_runs=7
builder_runs=3
if [ "${1:-}" = "--quick" ]; then
    runs=5
    start_runs=3
    cache_runs=2
    builder_runs=1
fi

say() { echo "bench/run.sh: $*" >&2; }

missing=""
command -v Xvfb >/dev/null 2>&1 || missing="$missing xvfb"
command -v xauth >/dev/null 2>&1 || missing="$missing xauth"
[ -x /usr/bin/time ] || missing="$missing time"
if [ -n "$missing" ]; then
    if [ "$(id -u)" = 0 ]; then
        say "installing$missing"
        # shellcheck disable=SC2086 # one word per package
        apt-get install -y -qq $missing >/dev/null ||
            { apt-get update -qq && apt-get install -y -qq $missing >/dev/null; }
    else
        say "missing Debian packages:$missing (apt-get install$missing)"
        exit 1
    fi
fi

# The SR24 jar, where the build looks for it (data/CMakeLists.txt).
jar=${KALO_SR24_JAR:-}
if [ -z "$jar" ]; then
    for candidate in "$source_dir/.deps/cronometer/usr/share/cronometer/usda_sr24.jar" \
        "$build_dir/_deps/cronometer/usr/share/cronometer/usda_sr24.jar"; do
        if [ -f "$candidate" ]; then
            jar=$candidate
            break
        fi
    done
fi

say "building in $build_dir (Release)"
if [ -n "$jar" ]; then
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKALO_BUILD_BENCH=ON \
        -DKALO_SR24_JAR="$jar" >/dev/null
else
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKALO_BUILD_BENCH=ON >/dev/null
    # The build may have fetched the jar itself.
    candidate="$build_dir/_deps/cronometer/usr/share/cronometer/usda_sr24.jar"
    [ -f "$candidate" ] && jar=$candidate
fi
cmake --build "$build_dir" -j"$(nproc)" --target kalo_bench kalo_bench_start kalo_fdcgen kalo_documents \
    >/dev/null
if [ ! -f "$build_dir/share/kalo/pics/kalo/FOODS.db" ]; then
    say "no FOODS.db was built (no SR24 jar); see data/CMakeLists.txt"
    exit 1
fi

scratch=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The installed program: what users start, with its icon in the theme directory beside it.
cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
i=0
while [ ! -s "$scratch/display" ] && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
done
if [ ! -s "$scratch/display" ]; then
    say "Xvfb did not start: $(cat "$scratch/xvfb.log")"
    exit 1
fi
display=:$(head -n 1 "$scratch/display")

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
cpu=$(grep -m 1 'model name' /proc/cpuinfo | sed 's/.*: //')
commit=$(git -C "$source_dir" rev-parse --short HEAD 2>/dev/null || echo "unknown")
echo "KALO benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $commit, $(nproc) × $cpu, Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6), load average before: $load_before"
echo
bench_log="$scratch/kalo_bench.log"
if ! "$build_dir/bin/kalo_bench" --header --runs "$runs" --start-runs "$start_runs" \
    --cache-runs "$cache_runs" --builder-runs "$builder_runs" ${jar:+--jar "$jar"} 2>"$bench_log"; then
    tail -n 20 "$bench_log" >&2
    exit 1
fi
"$build_dir/bin/kalo_bench" --only memory 2>>"$bench_log"
DISPLAY=$display XDG_DATA_DIRS="$scratch/prefix/share:/usr/local/share:/usr/share" \
    "$build_dir/bin/kalo_bench_start" --runs "$runs" --kalo "$scratch/prefix/bin/kalo"

# The same peak memory as GNU time reports it, one start each.
peak() {
    mkdir -p "$scratch/home"
    env DISPLAY="$display" HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" \
        XDG_DATA_DIRS="$scratch/prefix/share:/usr/local/share:/usr/share" QT_QPA_PLATFORM=xcb \
        KALO_QUIT_AFTER_PAINT=1 /usr/bin/time -v "$1" 2>&1 >/dev/null |
        sed -n 's/.*Maximum resident set size (kbytes): //p'
}
bare_kib=$(peak "$build_dir/bin/kalo_bare_window")
kalo_kib=$(peak "$scratch/prefix/bin/kalo")
awk -v b="$bare_kib" -v k="$kalo_kib" 'BEGIN {
    printf "| Bare Qt 6 window: peak RSS, /usr/bin/time -v | 1 | %.1f MiB | - | - | - | - | - | - |\n", b / 1024
    printf "| kalo: peak RSS, /usr/bin/time -v | 1 | %.1f MiB | - | - | - | - | ≤ 1.2 × bare: %.2f × | %s |\n", k / 1024, k / b, (k / b <= 1.2 ? "yes" : "no")
}'

if [ "$large" -gt 0 ]; then
    real_db="$build_dir/share/kalo/pics/kalo/FOODS.db"
    large_dir="$build_dir/large"
    large_db="$large_dir/FOODS-$large.db"
    label="$(echo "$large" | sed 's/000000$/M/; s/000$/k/'): "
    if [ ! -f "$large_db" ] || [ "$real_db" -nt "$large_db" ]; then
        say "writing a FoodData Central download of $large foods and building FOODS.db from it"
        rm -rf "$large_dir"
        mkdir -p "$large_dir"
        "$build_dir/bin/kalo_fdcgen" --foods "$large" --out "$large_dir/download" \
            --sr24 "$real_db" 2>>"$bench_log"
        /usr/bin/time -v -o "$large_dir/time.txt" "$build_dir/bin/kalo-mkdb" -q \
            --fdc-dir "$large_dir/download" -o "$large_db" 2>>"$bench_log"
        rm -rf "$large_dir/download"
    fi
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$large_dir/time.txt")
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$large_dir/time.txt")
    size=$(stat -c %s "$large_db")
    seconds=$(echo "$wall" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
    echo "| ${label}Builder: FoodData Central download to FOODS.db (kalo-mkdb --fdc-dir), $((size / 1048576)) MiB | 1 | $wall | - | - | - | - | ≤ 10 min | $(awk -v s="$seconds" 'BEGIN { print (s <= 600 ? "yes" : "no") }') |"
    echo "| ${label}Builder: peak RSS, /usr/bin/time -v | 1 | $((rss / 1024)) MiB | - | - | - | - | ≤ 1 GiB | $([ "$rss" -le 1048576 ] && echo yes || echo no) |"
    for part in start,actions,finder memory; do
        if ! "$build_dir/bin/kalo_bench" --only "$part" --runs "$runs" --start-runs "$start_runs" \
            --foods "$large_db" --label "$label" 2>>"$bench_log"; then
            tail -n 20 "$bench_log" >&2
            exit 1
        fi
    done
fi
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
