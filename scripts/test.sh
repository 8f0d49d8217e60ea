#!/usr/bin/env bash
# Builds everything and runs every test. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release

# A private PulseAudio with a null sink, so the sound tests play through the
# real audio path with no speakers attached.
source scripts/pulse.sh
start_pulse
trap stop_pulse EXIT

ctest --preset release
