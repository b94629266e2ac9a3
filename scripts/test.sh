#!/usr/bin/env bash
# Installs what is missing, builds Korvane with its tests and benchmarks, and runs every
# check: the unit and GUI tests, the fuzzers, the sanitizer build, the leak check, the
# install and package check, the WebAssembly build, the web page in headless Chromium and
# the Windows build; then prints the start-up comparison.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test || exit 1
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build build -j"$jobs" || exit 1

passed=0
failed=0
failures=()
stage() {
    local name=$1
    shift
    echo
    echo "=== $name"
    local start=$SECONDS
    if "$@"; then
        passed=$((passed + 1))
        echo "=== $name: passed in $((SECONDS - start)) s"
    else
        failed=$((failed + 1))
        failures+=("$name")
        echo "=== $name: FAILED after $((SECONDS - start)) s"
    fi
}

stage "unit and GUI tests" ctest --test-dir build --output-on-failure -j"$jobs"
stage "leak check" bash scripts/leaks.sh build
stage "install and package" bash scripts/check-install.sh build
stage "fuzzing" bash scripts/fuzz.sh "${KORVANE_FUZZ_SECONDS:-60}"
stage "sanitizers" bash scripts/sanitize.sh
stage "WebAssembly build and tests" bash scripts/wasm.sh
stage "the web page in headless Chromium" bash -c 'bash scripts/web.sh && bash tests/web/run.sh'
stage "Windows build, tests and packages" bash scripts/windows.sh

echo
echo "=== start-up against a bare Qt window and the same controls made plainly (for information)"
bash bench/startup/compare.sh build 10 || true

echo
[ "$failed" -eq 0 ] || echo "failed: ${failures[*]}"
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
