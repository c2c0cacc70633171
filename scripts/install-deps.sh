#!/bin/sh
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Idempotent: does nothing when every package is already present.
set -eu

PACKAGES="cmake make g++ g++-mingw-w64-i686-posix mingw-w64-tools googletest \
wine wine32:i386 wine64 fonts-wine xvfb xdotool imagemagick x11-utils python3"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
