#!/bin/sh
# package_test.sh BUILD_DIR: builds the Debian package with CPack (the program CPACK names, else
# the one in PATH), unpacks it into a temporary root with dpkg-deb -x, and runs the unpacked
# launcher under Xvfb from the reference folder its desktop entry names, as the desktop would.
# Passes when the unpacked viewer ran there with the reference's start page and category, and
# showed its window with the model and the page.
set -eu
if [ "${1:-}" = --inside-xvfb ]; then
  shift
  ROOT=$1 TMP=$2
  # The launcher ends at once; the viewer it started is found by its executable file.
  veltralauncher >"$TMP/viewer.out" 2>"$TMP/viewer.err" || {
    echo "package_test: the launcher failed: $(cat "$TMP/viewer.err")" >&2; exit 1; }
  viewer=$ROOT/usr/bin/kestrova pid="" tries=0
  while [ -z "$pid" ] && [ $tries -lt 600 ]; do
    for exe in /proc/[0-9]*/exe; do
      [ "$(readlink "$exe" 2>/dev/null)" = "$viewer" ] || continue
      pid=${exe#/proc/}; pid=${pid%/exe}
      tr '\0' '\n' <"/proc/$pid/cmdline" >"$TMP/viewer.args"
      readlink "/proc/$pid/cwd" >"$TMP/viewer.cwd"
      break
    done
    [ -n "$pid" ] || { tries=$((tries + 1)); sleep 0.1; }
  done
  [ -n "$pid" ] || { echo "package_test: the viewer did not start: $(cat "$TMP/viewer.err")" >&2; exit 1; }
  # The viewer ends by itself once its window is ready and saved (KESTROVA_SCREENSHOT). It is
  # no child of this shell: it has ended when its /proc entry is gone or a zombie.
  running() { [ -r "/proc/$1/stat" ] && [ "$(sed 's/.*) \(.\).*/\1/' "/proc/$1/stat" 2>/dev/null)" != Z ]; }
  tries=0
  while running "$pid" && [ $tries -lt 1500 ]; do tries=$((tries + 1)); sleep 0.1; done
  if running "$pid"; then kill "$pid"; echo "package_test: the viewer was not ready" >&2; exit 1; fi
  exit 0
fi

BUILD=$1
HERE=$(cd "$(dirname "$0")" && pwd)
TMP=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-package.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

"${CPACK:-cpack}" --config "$BUILD/CPackConfig.cmake" -G DEB -B "$TMP/package" >"$TMP/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$TMP/cpack.log")"
deb=$(ls "$TMP"/package/kestrova_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6webenginecore6 libqt6webenginecore6-bin libqt6svg6 libclucene-core1v5 libc6; do
  echo "$depends" | grep -q "$dependency" || fail "Depends lacks $dependency: $depends"
done

ROOT=$TMP/root
dpkg-deb -x "$deb" "$ROOT"
for file in bin/kestrova bin/veltralauncher share/applications/veltralauncher.desktop \
    share/applications/kestrova.desktop share/metainfo/org.kestrova.Kestrova.metainfo.xml \
    share/icons/hicolor/scalable/apps/veltra.svg share/icons/hicolor/48x48/apps/kestrova.png \
    share/doc/kestrova/LICENSE-OpenCorpora.txt share/doc/kestrova/LICENSE-az.txt; do
  [ -e "$ROOT/usr/$file" ] || fail "the package lacks /usr/$file"
done
data=$(sed -n 's/^Path=//p' "$ROOT/usr/share/applications/veltralauncher.desktop")
[ "$data" = /usr/share/veltra ] || fail "veltralauncher.desktop: Path=$data, expected /usr/share/veltra"
[ -f "$ROOT$data/kb/index-law.html" ] || fail "the package lacks $data/kb/index-law.html"

# A desktop with a PDF reader (no warning waits for a user), per-user folders of its own.
mkdir -p "$TMP/path" "$TMP/data" "$TMP/config"
printf '#!/bin/sh\necho org.example.Reader.desktop\n' >"$TMP/path/xdg-mime"
chmod +x "$TMP/path/xdg-mime"
cd "$ROOT$data"
PATH="$ROOT/usr/bin:$TMP/path:$PATH" XDG_DATA_HOME=$TMP/data XDG_CONFIG_HOME=$TMP/config \
  KESTROVA_SCREENSHOT=$TMP/window.png \
  QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
  xvfb-run -a -s "-screen 0 1280x900x24" sh "$HERE/package_test.sh" --inside-xvfb "$ROOT" "$TMP" ||
  fail "the run failed; viewer output: $(cat "$TMP/viewer.out" "$TMP/viewer.err" 2>/dev/null)"

printf '%s\n' "$ROOT/usr/bin/kestrova" 'kb\index-law.html' /domain=law >"$TMP/expected.args"
cmp -s "$TMP/expected.args" "$TMP/viewer.args" ||
  fail "the viewer's command line: $(cat "$TMP/viewer.args"), expected $(cat "$TMP/expected.args")"
[ "$(cat "$TMP/viewer.cwd")" = "$ROOT$data" ] || fail "the viewer ran in $(cat "$TMP/viewer.cwd")"
grep -q "^screenshot: $TMP/window.png" "$TMP/viewer.out" && [ -s "$TMP/window.png" ] ||
  fail "the viewer's window was not ready: $(cat "$TMP/viewer.out" "$TMP/viewer.err")"
[ -z "${KESTROVA_PACKAGE_KEEP:-}" ] || cp "$TMP/window.png" "$deb" "$KESTROVA_PACKAGE_KEEP/"
echo "package_test: $(basename "$deb") unpacked and run: the viewer showed the reference"
