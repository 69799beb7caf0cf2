#!/bin/sh
# Fails when a library or program includes a header that another library keeps to itself.
# A header is internal to its library when its name ends in _impl.h or it lies in an internal/
# folder. A library is the nearest of the folders below; its tests/ belong to it. The
# benchmarks (bench/) and fuzz targets (fuzz/) look inside on purpose and are not checked.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
LIBRARIES="platform exec/workers exec model/page model search/morphology search favorites
  tools/dictc cli shell launcher"
library_of() {  # the library folder a path belongs to, or nothing
  for lib in $LIBRARIES; do
    case "$1" in "$lib"/*) echo "$lib"; return ;; esac
  done
}
failures=0
for file in $(git ls-files '*.cpp' '*.h' | grep -v -e '^bench/' -e '^fuzz/'); do
  from=$(library_of "$file")
  for header in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file"); do
    case "$header" in
      */internal/*|*_impl.h) ;;
      *) continue ;;
    esac
    owner=$(library_of "$header")
    if [ "$owner" != "$from" ]; then
      echo "$file: includes $header, internal to ${owner:-?}"
      failures=$((failures + 1))
    fi
  done
done
[ $failures = 0 ] || exit 1
