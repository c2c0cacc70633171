#!/usr/bin/env bash
# Runs every test on a fresh Debian machine: installs what is missing, builds,
# runs the three layers under Wine in a virtual desktop, and the byte-format
# code natively under the sanitizers. Extra arguments go to ctest (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

./scripts/install-deps.sh
./scripts/build.sh build

# Pure byte-format code, natively, under AddressSanitizer and UBSan.
cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-native -j2
(cd build-native && ctest --output-on-failure)

. "$ROOT/scripts/wine-env.sh" build
trap wine_env_stop EXIT
wine_env_start
cd build
ctest --output-on-failure "$@"
