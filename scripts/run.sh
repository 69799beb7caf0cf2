#!/bin/sh
# Builds the tools and runs the main job on the sample knowledge base samples/kb: the
# navigation record of its start page, the model (built from the pages, cached, logged) and its
# table of contents. The per-user folders are the usual ones unless XDG_DATA_HOME and
# XDG_CONFIG_HOME say otherwise.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/build.sh" "$ROOT/build/release" >/dev/null
CLI="$ROOT/build/release/cli/kestrova-cli"
KB="$ROOT/samples/kb"
run() {
  echo "== kestrova-cli $*"
  "$CLI" "$@"
}
run meta "$KB/index-law.html"
run load "$KB"
run toc "$KB"
run toc "$KB" --domain tech
run keywords "$KB" --domain law
if "$CLI" --help | grep -q '^  search '; then
  run search "$KB" "трудовой договор"
fi
