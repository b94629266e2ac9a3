#!/usr/bin/env bash
# The toolkit-free libraries built for WebAssembly, on Debian 12 without a display: installs
# what is missing (as root), cross-compiles the libraries and their tests for wasm32-wasi
# with clang 14, without exceptions or threads (cmake --preset wasm, into build-wasm/), runs
# the tests under node, then prints how long the presses take there (for information). Ends
# with a one-line summary; the exit status is non-zero when the build or a test failed.
#
# Usage: scripts/wasm.sh          (from any directory)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build="build-wasm"
jobs=$(nproc)
start=$SECONDS

# llvm-14 for llvm-ar: GNU ar cannot index WebAssembly objects. googletest: its sources,
# which the build compiles for wasm32. Debian's nodejs only when there is no node at all.
packages=(cmake make clang-14 lld-14 llvm-14 wasi-libc libc++-14-dev-wasm32
          libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32 libfast-float-dev googletest)
command -v node >/dev/null || packages+=(nodejs)
bash scripts/install-deps.sh --only "${packages[@]}" || exit 1

fail() {
    echo "wasm: FAILED: $1 ($((SECONDS - start)) s)"
    exit 1
}

cmake --preset wasm >/dev/null || fail "configure"
cmake --build --preset wasm -j"$jobs" || fail "build"
built=$((SECONDS - start))
ctest --preset wasm -j"$jobs" || fail "tests under node"
tests=$(ctest --preset wasm -N | sed -n 's/^Total Tests: //p')

echo
echo "--- one press of 查看拼版图 under node, 20 runs each (for information)"
node --no-warnings scripts/wasi-run.mjs "$build/tests/press.wasm" --time 20 || true
echo
echo "--- the layout planner's answer to a keystroke under node (for information)"
node --no-warnings scripts/wasi-run.mjs "$build/tests/planner_bench.wasm" 10 || true

echo
echo "wasm: built in $built s, all ${tests:-?} tests passed under node $(node --version), $((SECONDS - start)) s in all"
