#!/bin/sh
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Idempotent: does nothing when every package is already present.
# The 32-bit Wine loader is installed only where 32-bit programs can run.
set -eu
cd "$(dirname "$0")/.."

PACKAGES="cmake make g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 googletest wine wine64 fonts-wine \
xvfb xdotool imagemagick x11-utils python3 fp-utils nsis zip"
WITH_32BIT=0
if ./scripts/can-run-32bit.sh; then
    WITH_32BIT=1
    PACKAGES="$PACKAGES wine32:i386"
fi

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ "$WITH_32BIT" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
