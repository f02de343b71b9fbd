#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan
# and runs the whole test suite there. Any sanitizer finding fails the test that triggered it.
#   scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=$top/build-asan

# The SR24 jar from $KALO_SR24_JAR or where scripts/kalo.sh puts it; otherwise the build fetches
# it itself.
jar=${KALO_SR24_JAR:-$top/.deps/cronometer/usr/share/cronometer/usda_sr24.jar}
jar_option=()
[ -f "$jar" ] && jar_option=(-DKALO_SR24_JAR="$jar")

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALO_SANITIZE=ON \
    "${jar_option[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

# Leaks are checked too; scripts/lsan.supp names the one library whose caches are
# never freed (fontconfig).
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/scripts/lsan.supp:print_suppressions=0}
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
