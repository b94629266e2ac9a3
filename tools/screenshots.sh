#!/usr/bin/env bash
# Screenshots of the real window under a virtual X display, for the README and for review.
# Run from the project root after building: xvfb-run -a -s "-screen 0 420x320x24" tools/screenshots.sh [out-dir]
set -euo pipefail
out=${1:-docs}
mkdir -p "$out"
for scene in imposition imposition-turn imposition-tumble grammage spine colour about; do
    build/tools/korvane_tour "$scene" 3 &
    pid=$!
    sleep 1.5
    import -window root "$out/$scene.png"
    wait "$pid"
done
