#!/bin/sh
# Builds and runs every test: the plain build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the tests of threaded code under ThreadSanitizer, then each fuzz
# target for a bounded time.
# KESTROVA_QUICK=1 runs the plain build's tests only.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=$(nproc)

echo "== code style and layers"
"$ROOT/scripts/check-format.sh"
"$ROOT/scripts/check-layers.sh"

echo "== tests"
"$ROOT/scripts/build.sh" "$ROOT/build/release"
ctest --test-dir "$ROOT/build/release" --output-on-failure -j "$JOBS"

[ "${KESTROVA_QUICK:-0}" = 1 ] && exit 0

# The sanitizer stages leave the Qt shell out: Chromium inside Qt WebEngine is not instrumented.
# One clang build serves the tests under AddressSanitizer and UndefinedBehaviorSanitizer and the
# fuzz targets: its libraries also carry the fuzzers' coverage counters, which tests ignore.
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$ROOT/scripts/build.sh" "$ROOT/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTROVA_SANITIZE=ON -DKESTROVA_FUZZ=ON -DKESTROVA_BENCH=OFF -DKESTROVA_SHELL=OFF
LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan.supp ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$ROOT/build/sanitize" --output-on-failure -j "$JOBS"

echo "== tests of threaded code under ThreadSanitizer"
# CLucene's own locking (its objects are used by one thread at a time here) is left out.
THREADED="exec_tests workers_tests model_tests search_tests"
KESTROVA_TARGET="$THREADED" "$ROOT/scripts/build.sh" "$ROOT/build/thread-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTROVA_THREAD_SANITIZE=ON -DKESTROVA_BENCH=OFF -DKESTROVA_SHELL=OFF
TSAN_OPTIONS="suppressions=$ROOT/scripts/tsan.supp halt_on_error=1" \
  ctest --test-dir "$ROOT/build/thread-sanitize" --output-on-failure -j "$JOBS" -R "^($(echo $THREADED | tr ' ' '|'))\$"

echo "== fuzz targets"
"$ROOT/scripts/fuzz.sh" "$ROOT/build/sanitize" "${KESTROVA_FUZZ_SECONDS:-10}"
