#!/usr/bin/env bash
# Runs install_tests.exe in a Wine prefix of its own, made afresh: the first
# install meets a clean user, and nothing an installation writes (Run value,
# Start menu, "Apps and features") reaches the prefix of the other tests.
#   run_install_tests.sh <build-dir> <install_tests.exe>
# Two sessions: the installs, then - every program of the first ended, as at
# the next log-on - the removal of what running programs held.
# The setup program is a 32-bit program: without 32-bit support, skipped (77).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$1
PROGRAM=$2
if ! "$ROOT/scripts/can-run-32bit.sh" || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "install tests skipped: the setup program is 32-bit, and this machine cannot run 32-bit programs"
    exit 77
fi
SCRATCH=$BUILD/install-test
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH"
. "$ROOT/scripts/wine-env.sh" "$SCRATCH" x86_64
# No menu entries for the Linux desktop from the shortcuts the setup makes.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
trap 'wine_env_stop; rm -rf "$SCRATCH"' EXIT
wine_env_start
status=0
wine "$PROGRAM" --gtest_brief=1 --gtest_filter='Setup.*' || status=1
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine_env_start
wine "$PROGRAM" --gtest_brief=1 --gtest_filter='NextLogOn.*' || status=1
exit $status
