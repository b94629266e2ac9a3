#!/usr/bin/env bash
# The page in headless Chromium, as a stage of scripts/test.sh: installs what is missing
# (Debian's chromium, node and npm, poppler-utils; the probe's packages from the lock file),
# builds the page where there is none (scripts/web.sh) and the test programs in build/, then
# runs the window checks and the documents, the monkey on both windows, and the benchmark,
# and prints one line: how many passed and failed.
#
# Usage: tests/web/run.sh     KORVANE_MONKEY_ACTIONS sets the monkey's length (3000),
#                             KORVANE_WEB_PAGE the page, KORVANE_BUILD the build folder (build)
set -uo pipefail
cd "$(dirname "$0")/../.."
here=tests/web
build=${KORVANE_BUILD:-build}
export KORVANE_WEB_PAGE=${KORVANE_WEB_PAGE:-$PWD/build-web/korvane.html}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
start=$SECONDS

packages=(chromium poppler-utils fonts-noto-cjk)
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
bash scripts/install-deps.sh --only "${packages[@]}" || exit 1
if [ ! -d "$here/node_modules/puppeteer-core" ] ||
    [ "$here/package-lock.json" -nt "$here/node_modules/.package-lock.json" ]; then
    npm ci --prefix "$here" --no-audit --no-fund --loglevel=error || exit 1
fi
[ -f "$KORVANE_WEB_PAGE" ] || bash scripts/web.sh || exit 1
if ! { cmake -S . -B "$build" && cmake --build "$build" --target web_window_test web_bench_cases -j2; } \
    >"$logs/build.log" 2>&1; then
    tail -40 "$logs/build.log"
    exit 1
fi
tests=$build/tests/web

passed=0
failed=0
# A test program's results, counted from its lines; its output shown where it failed.
count() {
    local name=$1 log=$2
    local ok bad
    ok=$(grep -c '^\[       OK \]' "$log")
    bad=$(grep -c '^\[  FAILED  \] .*([0-9]* ms)$' "$log")
    [ "$ok" -gt 0 ] || [ "$bad" -gt 0 ] || bad=1 # it ran no test: it failed before
    passed=$((passed + ok))
    failed=$((failed + bad))
    local took
    took=$(grep -o '^\[==========\] .* ran\. ([0-9]* ms total)' "$log" | grep -o '[0-9]* ms')
    echo "$name: $ok passed, $bad failed (${took:-no total})"
    [ "$bad" -eq 0 ] || grep -v '^\[ *\(RUN\|OK\) ' "$log" | tail -80
}

# The window checks and documents, and the monkey, each with a browser of its own, side by
# side; then the benchmark alone, so that nothing else runs while it times.
timeout 280 "$tests/web_window_test" --gtest_filter=-PageTest.* >"$logs/window.log" 2>&1 &
checks=$!
timeout 280 "$tests/web_window_test" --gtest_filter=PageTest.* >"$logs/monkey.log" 2>&1 &
monkey=$!
wait $checks
wait $monkey
count "the window checks and documents" "$logs/window.log"
count "the monkey" "$logs/monkey.log"
"$tests/web_bench_cases" >"$logs/cases.jsonl"
if timeout 120 node "$here/bench.mjs" --cases "$logs/cases.jsonl" "$KORVANE_WEB_PAGE" \
    >"$logs/bench.log" 2>&1; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi
grep -v '^{' "$logs/bench.log"
echo "web: $passed passed, $failed failed, in $((SECONDS - start)) s"
[ "$failed" -eq 0 ]
