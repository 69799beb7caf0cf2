#!/bin/sh
# Quality check of the Russian dictionaries: fetches the lexicon (npm package az 0.2.3), checks
# every word form against resources/dict/ and measures prediction on a build without a fixed
# random 5% of the lexemes.
#
#   tools/check-dictionaries.sh [BUILD_DIR [LEXICON]]
#
# LEXICON is a lexicon dumped before (tools/build-dictionaries.sh BUILD_DIR FILE); without it
# the package is fetched with npm.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

if [ $# -ge 2 ]; then
  lexicon=$2
else
  (cd "$tmp" && npm install --no-audit --no-fund --no-save --silent az@0.2.3)
  node "$root/tools/dictc/dump-az-lexicon.js" "$tmp/node_modules/az/dicts" "$tmp/lexicon.txt"
  lexicon=$tmp/lexicon.txt
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
ninja -C "$build" -j2 kestrova-dictc kestrova-dictcheck

echo "== the dictionaries of resources/dict"
status=0
nice "$build/tools/dictc/kestrova-dictcheck" "$lexicon" "$root/resources/dict" || status=1
echo "== prediction: compiled without 5% of the lexemes"
nice "$build/tools/dictc/kestrova-dictc" "$lexicon" "$tmp/holdout" --hold-out 5 >/dev/null
nice "$build/tools/dictc/kestrova-dictcheck" "$lexicon" "$tmp/holdout" --hold-out 5 || status=1
exit $status
