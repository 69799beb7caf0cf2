#!/bin/sh
# Builds and runs every test: the plain build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for a bounded time.
# KESTROVA_QUICK=1 runs the plain build's tests only.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=$(nproc)

echo "== tests"
"$ROOT/scripts/build.sh" "$ROOT/build/release"
ctest --test-dir "$ROOT/build/release" --output-on-failure -j "$JOBS"

[ "${KESTROVA_QUICK:-0}" = 1 ] && exit 0

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$ROOT/scripts/build.sh" "$ROOT/build/asan" -DCMAKE_BUILD_TYPE=Debug -DKESTROVA_SANITIZE=ON -DKESTROVA_BENCH=OFF
LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan.supp ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$ROOT/build/asan" --output-on-failure -j "$JOBS"

echo "== fuzz targets"
KESTROVA_TARGET=fuzzers "$ROOT/scripts/build.sh" "$ROOT/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTROVA_FUZZ=ON -DKESTROVA_BENCH=OFF
"$ROOT/scripts/fuzz.sh" "$ROOT/build/fuzz" "${KESTROVA_FUZZ_SECONDS:-20}"
