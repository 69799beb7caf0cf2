#!/bin/sh
# Regenerates resources/dict/ (the twelve LZMA-compressed Russian dictionary files) from the
# OpenCorpora lexicon shipped in the npm package az 0.2.3.  Running it again gives the same bytes.
#
#   tools/build-dictionaries.sh [BUILD_DIR [LEXICON_COPY]]
#
# Needs node and npm; builds kestrova-dictc in BUILD_DIR (default build/release, configured when
# missing).  LEXICON_COPY, when given, keeps the dumped lexicon for the quality check.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

echo "fetching az@0.2.3 into $tmp"
(cd "$tmp" && npm install --no-audit --no-fund --no-save --silent az@0.2.3)
node "$root/tools/dictc/dump-az-lexicon.js" "$tmp/node_modules/az/dicts" "$tmp/lexicon.txt"
if [ $# -ge 2 ]; then cp "$tmp/lexicon.txt" "$2"; fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
ninja -C "$build" -j2 kestrova-dictc
mkdir -p "$root/resources/dict"
nice "$build/tools/dictc/kestrova-dictc" "$tmp/lexicon.txt" "$root/resources/dict"
