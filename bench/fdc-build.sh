#!/bin/sh
# Times the builder on a synthetic FoodData Central download of two million foods (or N): builds
# kalo_fdcgen and kalo-mkdb (Release), writes the download, then builds FOODS.db from it under
# /usr/bin/time -v and prints the wall time and peak memory. Not run by CI: the download takes
# about 3 GB and the database about 4 GB.
#
#   bench/fdc-build.sh [N]
#
# Environment: KALO_BENCH_BUILD (build directory, default <source>/build-bench, a Release build
# with the SR24 FOODS.db whose words the generator uses), KALO_FDC_WORK (where the download and
# the database go, default /var/tmp/kalo-fdc), KALO_FDC_KEEP=1 keeps them afterwards.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KALO_BENCH_BUILD:-$source_dir/build-bench}
work=${KALO_FDC_WORK:-/var/tmp/kalo-fdc}
foods=${1:-2000000}

say() { echo "bench/fdc-build.sh: $*" >&2; }

[ -x /usr/bin/time ] || { say "needs /usr/bin/time (apt-get install time)"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
say "building in $build_dir (Release)"
if ! { cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKALO_BUILD_BENCH=ON &&
    cmake --build "$build_dir" -j"$(nproc)" --target kalo_fdcgen kalo-mkdb kalo_foods_db; } \
    >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi

say "writing a download of $foods foods into $work/download"
"$build_dir/bin/kalo_fdcgen" --foods "$foods" --out "$work/download" \
    --sr24 "$build_dir/share/kalo/pics/kalo/FOODS.db"
du -sh "$work/download" >&2

say "building $work/FOODS.db"
/usr/bin/time -v -o "$work/time.txt" "$build_dir/bin/kalo-mkdb" --fdc-dir "$work/download" \
    -o "$work/FOODS.db" 2>&1 | grep -v '^executing query:' >&2
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
size=$(stat -c %s "$work/FOODS.db")
echo "| FoodData Central build, $foods foods | $wall wall | $((rss / 1024)) MiB peak RSS | $((size / 1048576)) MiB FOODS.db |"
[ "${KALO_FDC_KEEP:-0}" = 1 ] || rm -rf "$work"
