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

# Leaks are reported too; Qt's own one-time allocations are not ours.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --preset asan
