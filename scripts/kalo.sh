#!/usr/bin/env bash
# Sets up a Debian 12 machine for KALO, builds it, and runs the program or the test suite.
#   scripts/kalo.sh run [args...]   install what is missing, build (Release), start the program
#   scripts/kalo.sh test            install what is missing, build (Release), run the whole suite,
#                                   then again under ASan/UBSan, then each fuzz target for 30 s
# Both are idempotent: nothing is installed, downloaded or rebuilt when nothing changed.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

mode=${1:-}
[ $# -gt 0 ] && shift
case "$mode" in
run | test) ;;
*)
    echo "usage: scripts/kalo.sh run|test" >&2
    exit 2
    ;;
esac

packages=(cmake g++ make pkg-config qt6-base-dev libsqlite3-dev libzip-dev)
if [ "$mode" = test ]; then
    # clang for the fuzz targets; the validators of the desktop files for tests/packaging.
    packages+=(clang libclang-rt-14-dev appstream desktop-file-utils)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q --no-install-recommends "${missing[@]}" ||
        { apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"; }
fi

# The USDA SR24 data as Debian ships it (package cronometer): fetched, not installed.
jar=$top/.deps/cronometer/usr/share/cronometer/usda_sr24.jar
if [ ! -f "$jar" ]; then
    mkdir -p "$top/.deps"
    (
        cd "$top/.deps"
        rm -f cronometer_*.deb
        apt-get download cronometer 2>/dev/null || { apt-get update -q && apt-get download cronometer; }
        rm -rf cronometer
        dpkg-deb -x cronometer_*.deb cronometer
    )
fi

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DKALO_SR24_JAR="$jar" >/dev/null
cmake --build "$top/build" -j"$(nproc)"

if [ "$mode" = run ]; then
    exec "$top/build/bin/kalo" "$@"
fi

(cd "$top/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of
# every fuzz target (clang's libFuzzer) from its corpus.
bash "$top/scripts/sanitize.sh"
bash "$top/scripts/fuzz.sh" 30
