#!/bin/sh
# fuzz.sh BUILD_DIR SECONDS: runs every fuzz_* program of a fuzz build for SECONDS each,
# starting from its seed corpus in fuzz/corpus/NAME when there is one.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DIR=$1
SECONDS_EACH=$2
found=0
for f in "$DIR"/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  found=1
  name=$(basename "$f")
  work=$(mktemp -d)
  seeds="$ROOT/fuzz/corpus/$name"
  [ -d "$seeds" ] && cp -r "$seeds/." "$work/"
  echo "-- $name for ${SECONDS_EACH}s"
  LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan.supp ASAN_OPTIONS=detect_leaks=1 "$f" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=0 "$work" 2>"$work.log" || { tail -60 "$work.log"; exit 1; }
  tail -1 "$work.log"
  rm -rf "$work" "$work.log"
done
[ $found = 1 ] || echo "no fuzz targets"
