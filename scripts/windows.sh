#!/usr/bin/env bash
# The Windows build from end to end, on Debian 12 without a display: installs what is
# missing (as root), cross-compiles with mingw-w64 (cmake --preset windows, into
# build-windows/), runs every test under Wine, makes the zip and the installer, checks the
# installer under Wine, and prints the start-up comparison (for information). Ends with a
# one-line summary; the exit status is non-zero when any step failed.
#
# Usage: scripts/windows.sh          (from any directory)
# A fresh build tree also creates its Wine prefix (build-windows/wine-prefix, about 7 s,
# 700 MB); later runs reuse it.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build="build-windows"
jobs=$(nproc)
start_all=$SECONDS

# --- packages ---------------------------------------------------------------------------
packages=(cmake make g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine nsis
          fonts-noto-cjk util-linux locales)
bash scripts/install-deps.sh --only "${packages[@]}" || exit 1

# Wine servers of this build tree are ended however the script ends.
stop_wine() {
    local prefix
    for prefix in "$PWD/$build"/wine-prefix "$PWD/$build"/wine-prefix-*dpi; do
        [ -d "$prefix" ] && bash scripts/wine-prefix.sh stop "$prefix" >/dev/null 2>&1
    done
}
trap stop_wine EXIT

passed=0
failed=0
failures=()
timings=()
step() {
    local name=$1
    shift
    echo
    echo "--- $name"
    local start=$SECONDS status=0
    "$@" || status=1
    if [ "$status" -eq 0 ]; then
        passed=$((passed + 1))
        echo "--- $name: passed in $((SECONDS - start)) s"
    else
        failed=$((failed + 1))
        failures+=("$name")
        echo "--- $name: FAILED after $((SECONDS - start)) s"
    fi
    timings+=("$name $((SECONDS - start)) s")
    return "$status"
}

configure_and_build() {
    cmake --preset windows >/dev/null && cmake --build --preset windows -j"$jobs"
}

package() {
    local version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
    rm -f "$build/korvane-$version-win64.zip" "$build/korvane-$version-win64.exe"
    (cd "$build" && cpack -C MinSizeRel) >"$build/cpack.log" 2>&1 || { cat "$build/cpack.log"; return 1; }
    local file
    for file in "$build/korvane-$version-win64.zip" "$build/korvane-$version-win64.exe"; do
        [ -s "$file" ] || { echo "cpack made no $file"; cat "$build/cpack.log"; return 1; }
        echo "$file: $(stat -c %s "$file") bytes"
    done
}

if step "cross build" configure_and_build; then
    step "tests under Wine" ctest --preset windows -j"$jobs"
    if step "zip and installer" package; then
        step "installer under Wine" bash scripts/check-windows-install.sh "$build"
    fi
    echo
    echo "--- start-up against a bare Win32 window and the same controls made plainly (for information)"
    bash bench/startup/win32/compare.sh "$build" 10 || true
    echo
    echo "--- the slowest presses of the Windows window (for information)"
    bash scripts/wine-prefix.sh start "$PWD/$build/wine-prefix" >/dev/null &&
        bash scripts/wine-prefix.sh run "$PWD/$build/wine-prefix" \
            "$build/bench/win32_press_bench.exe" 20 || true
fi

echo
if [ "$failed" -eq 0 ]; then
    summary=$(printf '%s, ' "${timings[@]}")
    echo "windows: all $passed steps passed in $((SECONDS - start_all)) s (${summary%, })"
else
    echo "windows: FAILED: ${failures[*]} ($passed passed, $failed failed, $((SECONDS - start_all)) s)"
fi
[ "$failed" -eq 0 ]
