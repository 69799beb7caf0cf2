#!/bin/sh
# Fails when a C++ file of the repository differs from what .clang-format makes of it.
# With --fix, formats the files in place instead.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
if [ "${1:-}" = --fix ]; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
else
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
fi
