# Sourced by the scripts: a Wine prefix per build tree with the virtual
# desktop "shell" (taskbar and notification area), and an X display.
# Usage: . scripts/wine-env.sh <build-dir> [x86_64|i686]; then wine_env_start; ...; wine_env_stop
# The loaders are called directly, never through Debian's `wine` wrapper:
# the wrapper prefers the 32-bit loader, which some machines cannot run.

KZ_BUILD_DIR=$(cd "$1" && pwd)
KZ_WINE_ARCH=${2:-x86_64}
export WINEPREFIX="$KZ_BUILD_DIR/wineprefix"
if [ "$KZ_WINE_ARCH" = i686 ]; then
    export WINEARCH=win32
    export WINELOADER=/usr/lib/wine/wine
else
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
fi
export WINEDEBUG=-all
# No downloads of Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

KZ_XVFB_PID=""

wine() { "$WINELOADER" "$@"; }
wineserver() { /usr/lib/wine/wineserver "$@"; }

wine_env_prepare_prefix() {
    if [ ! -f "$WINEPREFIX/.kz-ready" ]; then
        echo "Preparing the Wine prefix $WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
        wineserver -w
        # Without Marlett the system's caption buttons come out as letters.
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot failed for $WINEPREFIX" >&2; return 1; }
        touch "$WINEPREFIX/.kz-ready"
    fi
}

wine_env_start() {
    if [ -z "${DISPLAY:-}" ] || [ "${KZ_OWN_DISPLAY:-0}" = 1 ]; then
        local n=77
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        KZ_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
    fi
    wine_env_prepare_prefix
    # One server and one desktop for the whole run: every program starts
    # faster, and the long-lived helper processes Wine starts are started
    # here, outside any pipe a caller waits on for its end.
    wineserver -p
    wine explorer.exe /desktop=shell,1024x768 </dev/null >/dev/null 2>&1 &
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$KZ_XVFB_PID" ]; then
        kill "$KZ_XVFB_PID" 2>/dev/null || true
        wait "$KZ_XVFB_PID" 2>/dev/null || true
    fi
}
