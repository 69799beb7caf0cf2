#!/bin/sh
# install_test.sh BUILD_DIR: installs the desktop entries, icons, AppStream data, licences and
# the reference into a temporary prefix with `cmake --install` (the program CMAKE names, else
# the one in PATH), validates the entries and the metainfo, and checks what the entries point
# at: the launcher's folder holds kb/, the icons exist at their sizes.
set -eu
BUILD=$1
TMP=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-install.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
PREFIX=$TMP/prefix
fail() { echo "install_test: $*" >&2; exit 1; }

for component in desktop data doc; do
  "${CMAKE:-cmake}" --install "$BUILD" --prefix "$PREFIX" --component "$component" >/dev/null
done
APPS=$PREFIX/share/applications

# Warnings count: both tools must have nothing to say.
out=$(desktop-file-validate "$APPS/kestrova.desktop" "$APPS/veltralauncher.desktop" 2>&1) ||
  fail "desktop-file-validate failed: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$PREFIX"/share/metainfo/org.kestrova.Kestrova.metainfo.xml >/dev/null ||
  fail "appstreamcli validate failed: $(appstreamcli validate --no-net "$PREFIX"/share/metainfo/*.xml)"

# The launcher runs in the reference's folder, where its start page is kb/index-law.html.
for entry in kestrova veltralauncher; do
  path=$(sed -n 's/^Path=//p' "$APPS/$entry.desktop")
  [ "$path" = "$PREFIX/share/veltra" ] || fail "$entry.desktop: Path=$path, expected $PREFIX/share/veltra"
done
[ -f "$PREFIX/share/veltra/kb/index-law.html" ] || fail "no kb/index-law.html in $PREFIX/share/veltra"
[ ! -e "$PREFIX/share/veltra/kb/README.md" ] || fail "the sample's README was installed"
grep -qx 'Exec=veltralauncher' "$APPS/veltralauncher.desktop" || fail "veltralauncher.desktop: Exec"
grep -qx 'Exec=kestrova /folder=%f' "$APPS/kestrova.desktop" || fail "kestrova.desktop: Exec"

# Each icon an entry names: the SVG, and a PNG of each size whose header gives that size.
png_size() {  # the width and height in the PNG header, as "W H"
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
for icon in kestrova veltra; do
  [ -f "$PREFIX/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
  for size in 16 22 24 32 48 64 128 256; do
    png=$PREFIX/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ -f "$png" ] || fail "no icon $png"
    [ "$(png_size "$png")" = "$size $size" ] || fail "$png: size $(png_size "$png")"
  done
done
for licence in LICENSE-OpenCorpora.txt LICENSE-az.txt; do
  [ -s "$PREFIX/share/doc/kestrova/$licence" ] || fail "no $licence"
done
echo "install_test: installed and validated in $PREFIX"
