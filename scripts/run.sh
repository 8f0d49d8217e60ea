#!/usr/bin/env bash
# The main job: builds the navigator and starts it. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target TarvokMAP

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "run: no display; starting TarvokMAP on the offscreen platform" >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec build/release/bin/TarvokMAP
