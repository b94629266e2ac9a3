#!/usr/bin/env bash
# Start-up time and peak memory of korvane.exe against the bare tab-control window
# (baseline.exe) and against the same-controls floor (samecontrols.exe: korvane.exe's own
# controls made the plain way), under Wine, from an existing Windows build (builds nothing).
# Runs the three in turn, RUNS times each, in a rotating order, through the launcher, and
# prints the median time to the first window, the median time to the end of the first
# paint, the median peak working set, and Korvane's ratios to both; the aim is against the
# floor. How the first paint is detected from outside the program is explained at the top of
# tools/win32_launch.cpp. The times include Wine's own process start-up, the same for every
# program. Reports only: the exit status is always 0.
#
# Usage: bench/startup/win32/compare.sh [BUILD_DIR] [RUNS]     (defaults: build-windows, 10)
# The build needs korvane.exe, baseline.exe, samecontrols.exe and launch.exe
# (cmake --build BUILD_DIR --target startup_compare builds them all).

source_dir=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$source_dir/build-windows}
runs=${2:-10}
build=$(cd "$build" 2>/dev/null && pwd) || { echo "compare.sh: no build directory ${1:-build-windows}"; exit 0; }
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "compare.sh: RUNS must be a positive number"; exit 0; }

korvane=$build/win32/korvane.exe
baseline=$build/bench/startup/win32/baseline.exe
samecontrols=$build/bench/startup/win32/samecontrols.exe
launch=$build/launch.exe
missing=
for file in "$korvane" "$baseline" "$samecontrols" "$launch"; do
    [ -e "$file" ] || missing+=" $file"
done
if [ -n "$missing" ]; then
    echo "compare.sh: not built:$missing"
    echo "  build them with: cmake --build $build --target startup_compare"
    exit 0
fi

prefix=$build/wine-prefix
wine_prefix_sh=$source_dir/scripts/wine-prefix.sh
results=$(mktemp /tmp/korvane-startup.XXXXXX)
trap 'rm -f "$results"; bash "$wine_prefix_sh" stop "$prefix" >/dev/null' EXIT
bash "$wine_prefix_sh" start "$prefix" >/dev/null || { echo "compare.sh: no Wine prefix"; exit 0; }

# One start of PROGRAM; appends "NAME window_ms paint_ms peak_kib" to the results.
measure() {
    local name=$1 program=$2 line
    line=$(bash "$wine_prefix_sh" run "$prefix" "$launch" "$program" | grep '^RESULT ')
    if [ -z "$line" ]; then
        echo "  ($name: a run failed)"
        return
    fi
    awk -v name="$name" '{
        for (i = 2; i <= NF; ++i) { split($i, kv, "="); value[kv[1]] = kv[2] }
        print name, value["window_ms"], value["paint_ms"], value["peak_kib"]
    }' <<<"$line" >>"$results"
}

# One unmeasured start each first: the first start after the prefix starts loads Wine's
# DLLs from disk and would distort whichever program came first.
for program in "$baseline" "$samecontrols" "$korvane"; do
    bash "$wine_prefix_sh" run "$prefix" "$launch" "$program" >/dev/null
done
# Each round starts one program further on, so that each follows each of the others as
# often: under Wine a program that has just ended still slows down the start of the next.
names=(baseline samecontrols korvane)
paths=("$baseline" "$samecontrols" "$korvane")
for round in $(seq 0 $((runs - 1))); do
    for turn in 0 1 2; do
        i=$(((turn + round) % 3))
        measure "${names[i]}" "${paths[i]}"
    done
done

echo "Start-up under $(/usr/lib/wine/wine64 --version) (null display driver), median of $runs runs each:"
awk '
    function median(name, column,    n, i, j, t, v) {
        n = 0
        for (i = 1; i <= rows; ++i) if (who[i] == name) v[++n] = data[i, column]
        if (n == 0) return -1
        for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    function ratio(a, b) { return (a > 0 && b > 0) ? sprintf("%.2fx", a / b) : "-" }
    function verdict(a, b) { return (a > 0 && b > 0) ? (a / b <= aim ? " (within)" : " (ABOVE)") : "" }
    { ++rows; who[rows] = $1; data[rows, 1] = $2; data[rows, 2] = $3; data[rows, 3] = $4 }
    END {
        aim = 1.10
        for (c = 1; c <= 3; ++c) {
            b[c] = median("baseline", c); f[c] = median("samecontrols", c); k[c] = median("korvane", c)
        }
        printf "  %-26s %14s %14s %14s\n", "", "first window", "first paint", "peak memory"
        printf "  %-26s %11.1f ms %11.1f ms %10.1f MiB\n", "baseline.exe", b[1], b[2], b[3] / 1024
        printf "  %-26s %11.1f ms %11.1f ms %10.1f MiB\n", "samecontrols.exe", f[1], f[2], f[3] / 1024
        printf "  %-26s %11.1f ms %11.1f ms %10.1f MiB\n", "korvane.exe", k[1], k[2], k[3] / 1024
        printf "  %-26s %14s %14s %14s\n", "korvane / baseline", ratio(k[1], b[1]), ratio(k[2], b[2]), ratio(k[3], b[3])
        printf "  %-26s %14s %14s %14s\n", "korvane / samecontrols", ratio(k[1], f[1]), ratio(k[2], f[2]), ratio(k[3], f[3])
        printf "  against samecontrols, aim %.2fx: first paint%s, peak memory%s\n", aim, verdict(k[2], f[2]), verdict(k[3], f[3])
    }' "$results"
exit 0
