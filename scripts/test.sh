#!/usr/bin/env bash
# Runs every test on a fresh Debian machine: installs what is missing, builds
# both architectures, runs the byte-format code natively under the
# sanitizers, inspects both hook libraries, and runs the three layers under
# Wine in a virtual desktop: the x86_64 build always (with the i686 build as
# its 32-bit companion), the i686 build where this machine can run 32-bit
# programs. Extra arguments go to ctest (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

./scripts/install-deps.sh
./scripts/build.sh build x86_64
./scripts/build.sh build-x86 i686
# The 64-bit host's 32-bit companion and a 32-bit target program beside the
# x86_64 binaries, where this machine runs 32-bit programs.
./scripts/place-companion.sh build build-x86

# Pure byte-format code, natively, under AddressSanitizer and UBSan.
cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-native -j2
(cd build-native && ctest --output-on-failure)

# The i686 hook library's exports, shared section and imports.
(cd build-x86 && ctest -L shape --output-on-failure)

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    (
        . "$ROOT/scripts/wine-env.sh" build-x86 i686
        trap wine_env_stop EXIT
        wine_env_start
        cd build-x86
        ctest --output-on-failure "$@"
    )
else
    echo "i686 build compiled and inspected, not run: this machine cannot start the 32-bit Wine loader (no 32-bit program support or no wine32)."
fi

. "$ROOT/scripts/wine-env.sh" build x86_64
trap wine_env_stop EXIT
wine_env_start
cd build
ctest --output-on-failure "$@"
