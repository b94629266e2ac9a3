#!/usr/bin/env bash
# Installs what is missing, builds Korvane with its tests and benchmarks, and runs every check.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
