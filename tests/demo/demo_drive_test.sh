#!/usr/bin/env bash
# demo_drive_test.sh SOURCE_DIR BUILD_DIR
# The headless demonstration drive, fed fast: it must navigate the whole
# drive with its trail under the cross, stop, change the settings through
# SETUP, and leave its screenshots and the recorded route as GPX.
set -euo pipefail
src=$1 build=$2
out=$(mktemp -d /tmp/tarvok-demo-test-XXXXXX)
trap 'rm -rf "$out"' EXIT
fail() { echo "demo_drive: $*" >&2; [[ -f $out/drive.log ]] && cat "$out/drive.log" >&2; exit 1; }

unset DISPLAY WAYLAND_DISPLAY
TARVOK_DEMO_LINE_MS=10 bash "$src/scripts/demo.sh" "$build" "$out" >"$out/run.log" 2>&1 \
  || { cat "$out/run.log" >&2; fail "scripts/demo.sh failed"; }
grep -q "are in $out" "$out/run.log" || fail "the demo does not name its folder"

# Each screenshot a real PNG of the whole window, not a blank picture.
for shot in 1-radar 2-map-zoom0 3-map-zoom3 3b-map-zoom3-trail-off 4-drive-end 5-stopped 6-route-playback 7-route-played \
            8-settings-general 9-settings-maps 10-after-setup; do
  png=$out/$shot.png
  [[ -s $png ]] || fail "$shot.png missing"
  [[ $(head -c 8 "$png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$shot.png is no PNG"
  [[ $(stat -c %s "$png") -gt 20000 ]] || fail "$shot.png is nearly empty ($(stat -c %s "$png") bytes)"
done
cmp -s "$out/1-radar.png" "$out/2-map-zoom0.png" && fail "the map view still shows the radar"
cmp -s "$out/2-map-zoom0.png" "$out/3-map-zoom3.png" && fail "zoom 3 shows the same picture as zoom 0"
# The trail of the drive so far ends under the cross at zoom 0 and 3, and
# is gone with the trail box off.
for shot in 2-map-zoom0:shown 3-map-zoom3:shown 3b-map-zoom3-trail-off:hidden; do
  "$build/bin/trail_shot_check" "$out/${shot%%:*}.png" "${shot##*:}" || fail "${shot%%:*}.png: trail check failed"
done
# (the script itself waits for "  Zoeken klaar!" in Text7, or fails)
cmp -s "$out/5-stopped.png" "$out/6-route-playback.png" && fail "route playback shows the stopped window unchanged"
cmp -s "$out/6-route-playback.png" "$out/7-route-played.png" && fail "the playback under way looks the same as at its end"

# SETUP: the settings window's own script ran to its end in a second
# process, its two pages differ, the file holds Dutch (position 5), mph
# (10) and no route recording (38), and the navigator's speed box reads mph
# after the reload.
[[ $(grep -c '^script done' "$out/drive.log") -eq 2 ]] || fail "the settings window's script did not complete"
cmp -s "$out/8-settings-general.png" "$out/9-settings-maps.png" && fail "the two settings pages look the same"
cmp -s "$out/7-route-played.png" "$out/10-after-setup.png" && fail "the navigator after SETUP looks unchanged"
settings=$(head -c 38 "$out/prefix/drive_c/WINDOWS/VELKAR.DLL")
[[ ${settings:4:1}${settings:9:1}${settings:37:1} == 020 ]] || fail "settings file after SETUP: '$settings'"
grep -A1 '"name": "Smode"' "$out/10-after-setup.json" | grep -q '"text": "mph"' \
  || fail "the speed box does not read mph after SETUP"

grep -q '"mapLoaded":1' "$out/drive.log" || fail "no map was loaded"
grep -q 'REGIO.BMP' "$out/drive.log" || fail "the region map was not the map shown"

# The recorded route: the whole drive as one GPX track (the drive has 540
# fixes; the first are recorded once the map is loaded).
gpx=$out/route.gpx
[[ -s $gpx ]] || fail "route.gpx missing"
grep -q '<gpx' "$gpx" || fail "route.gpx is no GPX"
points=$(grep -o '<trkpt' "$gpx" | wc -l)
[[ $points -ge 500 ]] || fail "route.gpx holds $points points of the 540 s drive"
grep -q 'lat="52\.0' "$gpx" || fail "route.gpx does not lie around Delft and The Hague"
echo "demo_drive: $points route points, screenshots complete"
