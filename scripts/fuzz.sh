#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, the fuzz preset) and runs each in turn.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   each target for SECONDS (default 60)
#   FUZZ_RUNS=10000000 bash scripts/fuzz.sh 3600  each target for that many executions
#                                                 (or SECONDS, whichever comes first)
# The corpus of each target grows in build/fuzz/corpus/<target>, seeded from
# fuzz/seeds, the receiver logs of the tests and the demo files; a crash is
# written to build/fuzz/crashes/ and ends the script with its reproducer; an
# input that takes more than 10 seconds (a wait on a pipe) counts as one.
# One target at a time in one process, niced: it shares the machine.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[[ $# -gt 0 ]] && shift
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(fuzz_settings fuzz_corner_file fuzz_map_database fuzz_map_folder
  fuzz_track_text fuzz_track_gpx fuzz_nmea fuzz_wav fuzz_route fuzz_map_bitmap)

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

out=build/fuzz
mkdir -p "$out/crashes"

# Seeds: the hand-made ones, plus real files cut to their first 4 KB behind
# the option bytes each target reads first.
seed() {  # seed TARGET NAME PREFIX_BYTES FILE
  local dir=$out/corpus/$1
  mkdir -p "$dir"
  [[ -f $4 ]] || return 0
  { printf "$3"; head -c 4096 "$4"; } > "$dir/$2"
}
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  [[ -d fuzz/seeds/$t ]] && cp -n fuzz/seeds/$t/* "$out/corpus/$t/" 2>/dev/null || true
done
for log in tests/navigator/gps/nmea/*.log; do
  seed fuzz_nmea "log-$(basename "$log" .log)" '\x00\x01\x7f\x1f' "$log"
done
maps=build/release/share/tarvok/KAARTEN
seed fuzz_nmea demorit '\x02\x01\x7f\x05' "$maps/DEMORIT.NMEA"
for des in "$maps"/*.des; do
  seed fuzz_corner_file "demo-$(basename "$des")" '\x20\x03\x7a\x03' "$des"
done
for wav in sounds/*/*.WAV share/tarvok/*/*.WAV build/release/share/tarvok/SOUND/*.WAV; do
  [[ -f $wav ]] && seed fuzz_wav "wav-$(basename "$wav")" '\x00\x00\x01' "$wav"
done

# With FUZZ_RUNS, SECONDS still bounds each target's time.
limit=(-max_total_time="$seconds")
[[ -n "${FUZZ_RUNS:-}" ]] && limit+=(-runs="$FUZZ_RUNS")

# The longest input each reads: a settings file is 145 bytes, a corner file
# a few lines, a point line or a sentence under 100 characters; longer
# inputs only slow the search down.
max_len() {
  case $1 in
    fuzz_settings) echo 512 ;;
    fuzz_corner_file|fuzz_nmea|fuzz_track_text) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

for t in "${targets[@]}"; do
  echo "fuzz: $t" >&2
  log=$out/$t.log
  if ! nice -n 10 "$out/bin/$t" "${limit[@]}" -max_len="$(max_len "$t")" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$out/crashes/$t-" "$out/corpus/$t" >"$log" 2>&1; then
    tail -60 "$log" >&2
    echo "fuzz: $t found a fault; reproducer in $out/crashes/ (run: $out/bin/$t FILE)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  size=$(ls "$out/corpus/$t" | wc -l)
  echo "fuzz: $t: $runs executions, $rate per second, corpus $size files, no crash" >&2
done
