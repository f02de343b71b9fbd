#!/bin/sh
# Times the builder on synthetic FoodData Central downloads written by kalo_fdcgen: one shaped like
# the USDA's Foundation Foods download (387 Foundation foods among 68,875 rows of food.csv, about
# 150,000 figures) built from its zip, and one of two million foods (or N) built from its zip and
# from its folder. Each build runs under /usr/bin/time -v; a row gives its wall time, peak memory
# and the size of FOODS.db, the last row the size of the index of figures by value in it. Not run
# by CI: the large download takes about 3 GB, its zip about 0.7 GB and the database about 2.5 GB.
#
#   bench/fdc-build.sh [N]
#
# Environment: KALO_BENCH_BUILD (build directory, default <source>/build-bench, a Release build
# with the SR24 FOODS.db whose words the generator uses), KALO_FDC_WORK (where the downloads and
# the databases go, default /var/tmp/kalo-fdc), KALO_FDC_KEEP=1 keeps them afterwards.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${KALO_BENCH_BUILD:-$source_dir/build-bench}
work=${KALO_FDC_WORK:-/var/tmp/kalo-fdc}
foods=${1:-2000000}

say() { echo "bench/fdc-build.sh: $*" >&2; }

[ -x /usr/bin/time ] || { say "needs /usr/bin/time (apt-get install time)"; exit 1; }
command -v sqlite3 >/dev/null || { say "needs sqlite3 (apt-get install sqlite3)"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
say "building in $build_dir (Release)"
if ! { cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKALO_BUILD_BENCH=ON &&
    cmake --build "$build_dir" -j"$(nproc)" --target kalo_fdcgen kalo-mkdb kalo_foods_db; } \
    >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi
sr24="$build_dir/share/kalo/pics/kalo/FOODS.db"

# build LABEL INPUT OUTPUT: kalo-mkdb --fdc INPUT under /usr/bin/time, and its row.
build() {
    say "building $3 from $2"
    /usr/bin/time -v -o "$work/time.txt" "$build_dir/bin/kalo-mkdb" -q --fdc "$2" -o "$3"
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
    echo "| $1 | $wall wall | $((rss / 1024)) MiB peak RSS | $(($(stat -c %s "$3") / 1048576)) MiB FOODS.db |"
}

say "writing a Foundation-shaped download into $work"
"$build_dir/bin/kalo_fdcgen" --foods 387 --foundation 68488 --sr24 "$sr24" \
    --out "$work/FoodData_Central_foundation_food_csv" --zip "$work/foundation.zip"
echo "| Foundation-shaped download: $(du -sk "$work/FoodData_Central_foundation_food_csv" | cut -f1) KiB, zip $(($(stat -c %s "$work/foundation.zip") / 1024)) KiB | | | |"
build "FoodData Central build, Foundation-shaped, from the zip" "$work/foundation.zip" \
    "$work/FOODS-foundation.db"

say "writing a download of $foods foods into $work"
"$build_dir/bin/kalo_fdcgen" --foods "$foods" --sr24 "$sr24" --out "$work/FoodData_Central_csv" \
    --zip "$work/download.zip"
du -sh "$work/FoodData_Central_csv" "$work/download.zip" >&2
build "FoodData Central build, $foods foods, from the zip" "$work/download.zip" "$work/FOODS.db"
build "FoodData Central build, $foods foods, from the folder" "$work/FoodData_Central_csv" \
    "$work/FOODS.db"
index=$(sqlite3 "$work/FOODS.db" "select sum(pgsize) from dbstat where name = 'NUTRIENT_DATA_value'")
echo "| Index NUTRIENT_DATA_value, $foods foods | $((index / 1048576)) MiB | | |"
[ "${KALO_FDC_KEEP:-0}" = 1 ] || rm -rf "$work"
