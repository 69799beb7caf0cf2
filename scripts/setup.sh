#!/bin/sh
# Installs every Debian package the project needs to build, test and benchmark.
# Safe to run again: apt-get skips what is already there.
set -eu
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
PACKAGES="
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  libclucene-dev libpugixml-dev liblzma-dev libicu-dev uuid-dev
  nlohmann-json3-dev libcli11-dev libfmt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-declarative-dev qt6-webengine-dev qt6-svg-dev xvfb xauth fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev
"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
