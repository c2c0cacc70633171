#!/bin/sh
# Places the i686 build beside the x86_64 one as a 64-bit install has it:
# <x86_64 build>/bin/x86 holds the i686 kz.exe and trelmo.dll (the 32-bit
# companion) and the i686 kz_target.exe (a 32-bit program for the tests and
# the demo). Only where this machine runs 32-bit programs; elsewhere the
# folder is removed and the host works without a companion.
#   scripts/place-companion.sh [<x86_64 build> [<i686 build>]]
set -eu
cd "$(dirname "$0")/.."
WIDE=${1:-build}
NARROW=${2:-build-x86}
rm -rf "$WIDE/bin/x86"
if ./scripts/can-run-32bit.sh && [ -f "$NARROW/bin/kz.exe" ]; then
    mkdir -p "$WIDE/bin/x86"
    cp -f "$NARROW/bin/kz.exe" "$NARROW/bin/trelmo.dll" "$NARROW/bin/kz_target.exe" "$WIDE/bin/x86/"
fi
