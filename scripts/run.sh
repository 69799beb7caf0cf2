#!/bin/sh
# Builds the tools and runs the main job on the sample knowledge base: the navigation record
# of its start pages.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/build.sh" "$ROOT/build/release" >/dev/null
CLI="$ROOT/build/release/cli/kestrova-cli"
KB="$ROOT/samples/kb"
for page in "$KB"/*.html; do
  [ -f "$page" ] || continue
  echo "== kestrova-cli meta $(basename "$page")"
  "$CLI" meta "$page" || true
done
