#!/bin/sh
# Builds the viewer and starts it on the sample knowledge base samples/kb, at its start page in
# the law category. Without a display (no DISPLAY or WAYLAND_DISPLAY), it runs the viewer under
# Xvfb instead, saves a picture of the window once the model is shown and says where it is.
# The per-user folders are the usual ones unless XDG_DATA_HOME and XDG_CONFIG_HOME say otherwise.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
KESTROVA_TARGET=kestrova "$ROOT/scripts/build.sh" "$ROOT/build/release" >/dev/null
VIEWER="$ROOT/build/release/shell/kestrova"
set -- "/folder=$ROOT/samples/kb" index-law.html /domain=law
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$VIEWER" "$@"
fi
SHOT=${KESTROVA_SCREENSHOT:-$ROOT/build/kestrova-window.png}
echo "no display: running the viewer under Xvfb; the window will be saved to $SHOT"
KESTROVA_SCREENSHOT=$SHOT exec xvfb-run -a -s "-screen 0 1440x900x24" "$VIEWER" "$@"
