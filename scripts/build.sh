#!/bin/sh
# Builds the Windows binaries: scripts/build.sh [<build-dir> [x86_64|i686]]
# Defaults: build/ for x86_64; build-x86/ is the usual place of the i686 build.
set -eu
cd "$(dirname "$0")/.."
BUILD=${1:-build}
ARCH=${2:-x86_64}
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$ARCH.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j2
