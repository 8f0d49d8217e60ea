# Starts and stops a private PulseAudio daemon with a null sink.
# Sourced by the test and demo scripts.

start_pulse() {
  export XDG_RUNTIME_DIR
  XDG_RUNTIME_DIR=$(mktemp -d /tmp/tarvok-pulse-XXXXXX)
  chmod 700 "$XDG_RUNTIME_DIR"
  export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
  local as_root=()
  [[ $(id -u) -eq 0 ]] && as_root=(--system=false --disallow-exit)
  if ! pulseaudio -D --exit-idle-time=-1 -n --use-pid-file=true "${as_root[@]}" \
       --load=module-null-sink --load=module-native-protocol-unix >/dev/null 2>&1; then
    echo "pulse: could not start PulseAudio; sound tests use the silent device" >&2
    return 0
  fi
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "pulse: PulseAudio did not answer; sound tests use the silent device" >&2
}

stop_pulse() {
  pulseaudio --kill >/dev/null 2>&1 || true
  [[ -n "${XDG_RUNTIME_DIR:-}" && "$XDG_RUNTIME_DIR" == /tmp/tarvok-pulse-* ]] && rm -rf "$XDG_RUNTIME_DIR"
}
