#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests, the benchmarks, the
# fuzzers and the demo need. Run as root; quiet and quick when all is present.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-multimedia-dev
  qt6-image-formats-plugins qt6-qpa-plugins libgl-dev libxkbcommon-dev
  libespeak-ng-dev espeak-ng-data fonts-dejavu-core
  libpocketsphinx-dev pocketsphinx-en-us espeak-ng sox
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  pulseaudio pulseaudio-utils
  clang libclang-rt-14-dev
  gpsd gpsd-clients
  xvfb xauth
  desktop-file-utils
  libxml2-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "setup: these packages are missing; run as root to install them: ${missing[*]}" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# gpsd is started by the tests that need it, never as a system service.
if command -v systemctl >/dev/null 2>&1; then
  systemctl disable --now gpsd.socket gpsd.service >/dev/null 2>&1 || true
fi
