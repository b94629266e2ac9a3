#!/usr/bin/env bash
# Installs what is missing, builds Korvane under build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build --target korvane -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Korvane is built (build/korvane), but there is no display to show its window on:" >&2
    echo "neither DISPLAY nor WAYLAND_DISPLAY is set. Run it from a desktop session," >&2
    echo "or under a virtual display: xvfb-run -a build/korvane" >&2
    exit 1
fi
exec build/korvane
