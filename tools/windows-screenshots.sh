#!/usr/bin/env bash
# Screenshots of the Windows window under Wine on a virtual X display, for the README and for
# review. Run from the project root after `bash scripts/windows.sh` (or a build of the
# windows preset):
#   xvfb-run -a -s "-screen 0 640x480x24" tools/windows-screenshots.sh [out-dir]
# Uses a prefix of its own with Wine's X11 driver (the tests' prefixes draw nowhere).
set -euo pipefail
out=${1:-docs/windows}
tour=build-windows/tools/korvane_tour.exe
[ -e "$tour" ] || { echo "no $tour: build the windows preset first" >&2; exit 1; }
mkdir -p "$out"
export WINEPREFIX=$PWD/build-windows/wine-prefix-screenshots WINEDEBUG=-all LANG=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -e "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
for scene in imposition imposition-turn imposition-tumble grammage spine colour about; do
    /usr/lib/wine/wine64 "$tour" "$scene" 4 >/dev/null 2>&1 &
    pid=$!
    sleep 2.5
    # Wine's windows are captured one by one: without a window manager the root window
    # shows none of them.
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Korvane"/ { print $1; exit }')
    import -window "$window" "$out/$scene.png"
    wait "$pid"
done
/usr/lib/wine/wineserver -k 2>/dev/null || true
