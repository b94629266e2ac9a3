#!/usr/bin/env bash
# Start-up time and peak memory of Korvane against the bare tab-widget window and against the
# same-controls floor (Korvane's own controls made the plain way, samecontrols.cpp), from an
# existing build (builds nothing). The three take turns in a rotating order. Prints, per
# platform, the median time from process start to each start-up stage, the median peak
# resident memory when the window was first painted, and Korvane's ratios to both; the aim
# is against the floor. Reports only: the exit status is always 0.
#
# Usage: bench/startup/compare.sh [BUILD_DIR] [RUNS]      (defaults: build, 20)
# Runs offscreen, and on a virtual X display too when xvfb-run is installed.
# The build needs the targets korvane, startup_baseline, startup_samecontrols, startup_probe
# and startup_compare (cmake --build BUILD_DIR --target startup_compare builds them all).
#
# Instruction counts to the first paint, which hardly vary from run to run, come from the
# probe under callgrind (on xcb a forked child reports too: the program's count is the last):
#   QT_QPA_PLATFORM=offscreen LD_PRELOAD=BUILD_DIR/bench/startup/libstartup_probe.so \
#   KORVANE_STARTUP_FD=3 valgrind --tool=callgrind BUILD_DIR/korvane 3>/dev/null

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$source_dir/build}
runs=${2:-20}

bench=$build/bench/startup
missing=
for file in "$build/korvane" "$bench/startup_baseline" "$bench/startup_samecontrols" \
    "$bench/startup_compare" "$bench/libstartup_probe.so"; do
    [ -e "$file" ] || missing+=" $file"
done
if [ -n "$missing" ]; then
    echo "compare.sh: not built:$missing"
    echo "  build them with: cmake --build $build --target startup_compare"
    exit 0
fi

# The programs compared, in this order: the last one is measured against each of the others,
# and the one before it is the floor.
programs=("baseline=$bench/startup_baseline" "samecontrols=$bench/startup_samecontrols"
          "korvane=$build/korvane")

# Qt warns about a missing runtime directory when run as root without a session.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/korvane-startup-runtime.XXXXXX)
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

QT_QPA_PLATFORM=offscreen "$bench/startup_compare" "$bench/libstartup_probe.so" "$runs" \
    "${programs[@]}"
if command -v xvfb-run >/dev/null && command -v xauth >/dev/null; then
    echo
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
        "$bench/startup_compare" "$bench/libstartup_probe.so" "$runs" "${programs[@]}"
else
    echo "(xvfb-run is not installed: no comparison on X11)"
fi
exit 0
