#!/usr/bin/env bash
# Screenshots of the real windows under a virtual X display, for the README and for review.
# Run from the project root after building: xvfb-run -a -s "-screen 0 1100x800x24" tools/screenshots.sh [out-dir]
# (a screen of 1100 x 800 holds the planner, 1024 x 700, whole)
set -euo pipefail
out=${1:-docs}
mkdir -p "$out"
for scene in imposition imposition-turn imposition-tumble grammage spine colour about planner planner-cuts planner-quote; do
    build/tools/korvane_tour "$scene" 3 &
    pid=$!
    sleep 1.5
    if [[ $scene == planner* ]]; then
        # The planner alone, a window of its own.
        window=$(xwininfo -root -tree 2>/dev/null | awk '/"拼版方案"/ { print $1; exit }')
        import -window "$window" "$out/$scene.png"
    else
        import -window root -crop 420x320+0+0 +repage "$out/$scene.png"
    fi
    wait "$pid"
done
