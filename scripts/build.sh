#!/bin/sh
# build.sh [DIR [CMAKE OPTIONS...]]: configures and builds the project with Ninja.
# KESTROVA_TARGET names the targets to build instead of all (separated by blanks).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DIR=${1:-$ROOT/build/release}
[ $# -gt 0 ] && shift
cmake -S "$ROOT" -B "$DIR" -G Ninja "$@" >/dev/null
if [ -n "${KESTROVA_TARGET:-}" ]; then
  # shellcheck disable=SC2086 # one word per target
  cmake --build "$DIR" --target $KESTROVA_TARGET
else
  cmake --build "$DIR"
fi
