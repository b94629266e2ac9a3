#!/usr/bin/env bash
# Screenshots of the Windows window under Wine on a virtual X display, for the README and for
# review, and the files the imposition panel's commands write. Run from the project root
# after `bash scripts/windows.sh` (or a build of the windows preset):
#   xvfb-run -a -s "-screen 0 1100x800x24" tools/windows-screenshots.sh [out-dir]
# (a screen of 1100 x 800 holds the planner, 1024 x 700, whole)
# Uses a prefix of its own with Wine's X11 driver (the tests' prefixes draw nowhere).
set -euo pipefail
out=${1:-docs/windows}
tour=build-windows/tools/korvane_tour.exe
[ -e "$tour" ] || { echo "no $tour: build the windows preset first" >&2; exit 1; }
mkdir -p "$out"
export WINEPREFIX=$PWD/build-windows/wine-prefix-screenshots WINEDEBUG=-all LANG=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The zh_CN locale the tests' prefixes use (scripts/wine-prefix.sh start compiles it).
export LOCPATH=$PWD/build-windows/locales
[ -e "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ] || bash scripts/wine-prefix.sh start "$PWD/build-windows/wine-prefix" >/dev/null
[ -e "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
for scene in imposition imposition-turn imposition-tumble grammage spine colour about planner planner-cuts planner-quote; do
    /usr/lib/wine/wine64 "$tour" "$scene" 4 >/dev/null 2>&1 &
    pid=$!
    sleep 2.5
    # Wine's windows are captured one by one: without a window manager the root window
    # shows none of them.
    caption=Korvane
    [[ $scene == planner* ]] && caption=拼版方案
    window=$(xwininfo -root -tree 2>/dev/null | awk -v caption="\"$caption\"" 'index($0, caption) { print $1; exit }')
    import -window "$window" "$out/$scene.png"
    wait "$pid"
done
# The diagram's context menu after a press (the menu is a window of its own: the whole
# screen is taken), and what the commands hand on, written into the output folder: the PNG
# and SVG files and the EMF of a copy.
/usr/lib/wine/wine64 "$tour" imposition 4 --menu --save "Z:$(realpath "$out" | tr / '\\')" >/dev/null 2>&1 &
pid=$!
sleep 2.5
import -window root -crop 460x300+0+20 "$out/imposition-menu.png"
wait "$pid"
/usr/lib/wine/wineserver -k 2>/dev/null || true
