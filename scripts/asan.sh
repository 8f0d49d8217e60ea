#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (the
# asan preset) and runs the whole test suite under them once. Kept apart from
# scripts/test.sh: the instrumented build and run take several times as long.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan >/dev/null
cmake --build --preset asan

source scripts/pulse.sh
start_pulse
trap stop_pulse EXIT

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
ctest --preset asan
