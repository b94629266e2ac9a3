#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan and UBSan, in build-fuzz) and runs each for a
# bounded time from its seed corpus in fuzz/corpus/<target>/. The seeds are copied to a
# scratch directory first, so a run never adds files to the repository. Any crash, sanitizer
# report, broken property, leak, timeout or out-of-memory fails its target; the input that
# caused it is kept in build-fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
case $seconds in
'' | *[!0-9]*)
    echo "usage: scripts/fuzz.sh [seconds-per-target]" >&2
    exit 2
    ;;
esac

bash scripts/install-deps.sh test
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DKORVANE_CORE_ONLY=ON -DKORVANE_FUZZ=ON \
    -DKORVANE_BUILD_BENCHMARKS=OFF >/dev/null

# One target per seed corpus directory.
targets=()
for dir in "$root"/fuzz/corpus/*/; do
    targets+=("$(basename "$dir")")
done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:print_stacktrace=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

passed=0
failed=0
for target in "${targets[@]}"; do
    work=$scratch/$target
    findings=$build/findings/$target
    rm -rf "$findings"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$root/fuzz/corpus/$target/"* "$work/corpus/"
    log=$work/log
    status=0
    # The outer timeout only guards against a fuzzer that stops honouring its own limits.
    timeout --kill-after=30 $((seconds + 300)) "$build/fuzz/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" \
        >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log")
    if [ "$status" -eq 0 ] && [ -z "$(ls -A "$work/artifacts")" ]; then
        echo "$target: passed (${runs:-no summary})"
        passed=$((passed + 1))
        continue
    fi
    failed=$((failed + 1))
    mkdir -p "$findings"
    cp "$work/artifacts/"* "$findings/" 2>/dev/null || true
    cp "$log" "$findings/log"
    echo "$target: FAILED (exit status $status); inputs and log in $findings"
    grep -E -m 20 'ERROR|SUMMARY|property violated|runtime error|Test unit written|Base64' "$log" \
        | sed 's/^/    /' || true
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
