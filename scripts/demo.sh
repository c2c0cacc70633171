#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds,
# and runs the demo host with demo windows in a Wine virtual desktop.
# With a display ($DISPLAY set) the demo runs until its host window is closed.
# Without one it runs in Xvfb and leaves a screenshot in out/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

./scripts/install-deps.sh
./scripts/build.sh build x86_64

HEADLESS=0
[ -z "${DISPLAY:-}" ] && HEADLESS=1
. "$ROOT/scripts/wine-env.sh" build x86_64
trap wine_env_stop EXIT
wine_env_start

mkdir -p out
LOG=out/demo.log
if [ "$HEADLESS" = 0 ]; then
    wine build/bin/kzdemo.exe | tee "$LOG"
    exit 0
fi

wine build/bin/kzdemo.exe --seconds 20 >"$LOG" 2>&1 &
DEMO=$!
for _ in $(seq 300); do
    grep -q READY "$LOG" 2>/dev/null && break
    kill -0 "$DEMO" 2>/dev/null || break
    sleep 0.1
done
# Let the demo windows finish their first paint, then capture the desktop.
for _ in $(seq 50); do
    [ "$(xdotool search --name 'Notepad' 2>/dev/null | wc -l)" -gt 0 ] && break
    sleep 0.1
done
sleep 2
import -window root out/demo.png
echo "Screenshot: $ROOT/out/demo.png"
wait "$DEMO" || true
cat "$LOG"
