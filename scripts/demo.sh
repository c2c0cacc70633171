#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds,
# and runs the host kz.exe with demo windows (two captioned windows of the
# demo target, Wine's notepad and, where the machine runs 32-bit programs, a
# window of the 32-bit demo target) in a Wine virtual desktop.
# With a display ($DISPLAY set) the demo runs until kz.exe ends (tray icon,
# right click, Exit). Without one it runs in Xvfb, leaves a screenshot of the
# caption buttons and the tray icon in out/demo.png, and ends the host with
# "kz.exe --exit", which gives every window back as it was.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

./scripts/install-deps.sh
./scripts/build.sh build x86_64
# Where this machine runs 32-bit programs: the i686 build as the host's
# 32-bit companion, and a 32-bit program among the demo windows.
THIRTY_TWO=0
if ./scripts/can-run-32bit.sh; then
    THIRTY_TWO=1
    ./scripts/build.sh build-x86 i686
fi
./scripts/place-companion.sh build build-x86

HEADLESS=0
[ -z "${DISPLAY:-}" ] && HEADLESS=1
. "$ROOT/scripts/wine-env.sh" build x86_64
trap wine_env_stop EXIT
wine_env_start

mkdir -p out
LOG=out/demo.log
: >"$LOG"

# The demo windows first, side by side: the host decorates what is already
# open. Notepad takes its place from its own settings.
for value in iWindowPosX=20 iWindowPosY=340 iWindowPosDX=480 iWindowPosDY=300; do
    wine reg add 'HKCU\Software\Microsoft\Notepad' /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f >/dev/null 2>&1
done
wine notepad.exe </dev/null >/dev/null 2>&1 &
TARGET_WINDOWS=2
if [ "$THIRTY_TWO" = 1 ]; then
    TARGET_WINDOWS=3
    wine build/bin/x86/kz_target.exe --at 520,340 --size 480,300 --title "Barquill demo: a 32-bit program" \
        </dev/null >/dev/null 2>&1 &
fi
wine build/bin/kz_target.exe --count 2 --at 20,20 --size 480,300 --step 500,0 \
    --title "Barquill demo" --announce --announce-with Notepad --announce-targets "$TARGET_WINDOWS" \
    </dev/null >"$LOG" 2>&1 &

if [ "$HEADLESS" = 0 ]; then
    wine build/bin/kz.exe
    exit 0
fi

wine build/bin/kz.exe </dev/null >/dev/null 2>&1 &
HOST=$!
# The target prints ATTACHED once the demo targets' windows (the 32-bit one
# too) carry the buttons, notepad's window is shown and the host's splash is gone.
for _ in $(seq 600); do
    grep -q ATTACHED "$LOG" 2>/dev/null && break
    kill -0 "$HOST" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q ATTACHED "$LOG"; then
    echo "The demo windows did not get their caption buttons; see $LOG" >&2
    wine build/bin/kz.exe --exit || true
    exit 1
fi
import -window root out/demo.png
echo "Screenshot: $ROOT/out/demo.png"
wine build/bin/kz.exe --exit
wait "$HOST" || true
cat "$LOG"
