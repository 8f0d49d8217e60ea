#!/usr/bin/env bash
# The main job: builds the navigator and shows the demonstration drive on
# it (see scripts/demo.sh): a live window with a display, else offscreen
# with screenshots and the recorded route written to a folder it names at
# the end. Installs what it needs first. TARVOK_DEMO_OUT chooses the folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target TarvokMAP TarvokSET tarvok-drive tarvok-tool tarvok_demo_files tarvok_sound_sets

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "run: no display; the demonstration drive runs offscreen" >&2
fi
exec bash scripts/demo.sh build/release ${TARVOK_DEMO_OUT:+"$TARVOK_DEMO_OUT"}
