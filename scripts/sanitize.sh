#!/usr/bin/env bash
# Builds Korvane and every test CTest knows with AddressSanitizer and UndefinedBehaviorSanitizer
# (the "asan" preset of CMakePresets.json, in build-asan) and runs the tests; GUI tests run on
# the offscreen platform. Any sanitizer report or failing test makes this exit non-zero.
# Usage: scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
bash scripts/install-deps.sh test

# The preset gives its build and test steps this same environment; it is set here as well so
# that the settings a CI log ran with are visible in this script.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:print_stacktrace=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="detect_leaks=1:print_suppressions=0:suppressions=$root/tests/sanitizer/lsan.supp"

cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
