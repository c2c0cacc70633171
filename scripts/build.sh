#!/bin/sh
# Builds the Windows binaries: scripts/build.sh [<build-dir> [x86_64|i686 [<target>...]]]
# Defaults: build/ for x86_64, every target; build-x86/ is the usual place of
# the i686 build. Named targets alone are built when given (package.sh).
set -eu
cd "$(dirname "$0")/.."
BUILD=${1:-build}
ARCH=${2:-x86_64}
[ $# -ge 2 ] && shift 2 || set --
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$ARCH.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$BUILD" -j2 --target "$@"
else
    cmake --build "$BUILD" -j2
fi
