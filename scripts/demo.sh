#!/usr/bin/env bash
# demo.sh BUILD_DIR [OUT_DIR]: the demonstration drive on a built tree.
# Makes a fresh drive prefix in OUT_DIR (a new folder under /tmp when not
# given), starts the navigator's window through tarvok-drive, loads the
# region map and plays share/tarvok/KAARTEN/DEMORIT.NMEA into COM1 through a
# pseudo-terminal while navigating. With a display the window stays open
# after the drive until it is closed; without one it runs offscreen, the
# drive fed faster than real time, and ends by itself. After the drive and
# its playback, SETUP opens the settings program (its window run by a second
# tarvok-drive with a script of its own): the speed unit becomes mph, the
# language Dutch, route recording off; it closes, and a short stretch of the
# drive fed again shows the speed in mph. Either way OUT_DIR receives
# screenshots (radar, the map at zoom 0 and 3 with the trail of the drive
# under the cross, zoom 3 with the trail hidden, the end of the drive, the
# stopped window, the recorded route played back, two pages of the settings
# window, the navigator after the reload), the recorded route as GPX and the
# scripts' log.
#   TARVOK_DEMO_LINE_MS   milliseconds between NMEA lines (two lines make one
#                         second of drive): 500 (real time) with a display,
#                         else 20 (the 540 s drive in about 22 s)
set -euo pipefail
cd "$(dirname "$0")/.."

build=$1
out=${2:-$(mktemp -d /tmp/tarvok-demo-XXXXXX)}
mkdir -p "$out"
out=$(cd "$out" && pwd)
bin=$build/bin

live=0
[[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]] && live=1
line_ms=${TARVOK_DEMO_LINE_MS:-$([[ $live -eq 1 ]] && echo 500 || echo 20)}

export TARVOK_PREFIX=$out/prefix
rm -rf "$TARVOK_PREFIX"
# The demonstration's navigator and settings program find each other's
# windows in a folder of their own, so a settings program open elsewhere on
# the desktop is never taken for the one SETUP started.
export TARVOK_RUNTIME_DIR=$out/runtime
mkdir -p -m 0700 "$TARVOK_RUNTIME_DIR"
kaarten=$TARVOK_PREFIX/drive_c/TARVOK/KAARTEN

if [[ $live -eq 0 ]]; then
  export QT_QPA_PLATFORM=offscreen
  # Sounds play through a private null sink, as in the tests, unless a
  # sound server already answers.
  if ! pactl info >/dev/null 2>&1; then
    source scripts/pulse.sh
    start_pulse
    trap stop_pulse EXIT
  fi
fi

# A third of the way into the drive the map is shown at zoom 0 and 3. The
# window may take longer than the feed interval per sentence on a busy
# machine (the feed then waits), so the end of the drive has a wide bound.
lines=$(grep -c '^\$' "$build/share/tarvok/KAARTEN/DEMORIT.NMEA")
settle=$(( lines * line_ms / 3 ))
step=$(( line_ms * 12 > 600 ? line_ms * 12 : 600 ))
# With a display the settings window's changes are shown slowly enough to
# follow, and SETUP gives it its full grace period; offscreen both are short.
pause=$([[ $live -eq 1 ]] && echo 1500 || echo 0)
grace=$([[ $live -eq 1 ]] && echo 10000 || echo 500)

# The region map's name, as its corner file gives it: the status line shows
# it once the map, read in the background, is shown and calibrated; the drive
# starts only then, so no fix falls off the start picture.
region_name=$(head -n 1 "$build/share/tarvok/KAARTEN/REGIO.des" | tr -d '\r')

# Six seconds from the middle of the drive, at 54 km/h, for the speed after
# the settings have changed.
tail_nmea=$out/after-setup.nmea
sed -n "$(( lines / 2 + 1 )),$(( lines / 2 + 12 ))p" "$build/share/tarvok/KAARTEN/DEMORIT.NMEA" >"$tail_nmea"

settings=$out/demo-settings.txt
cat >"$settings" <<SCRIPT
# The settings window during the demonstration (written by scripts/demo.sh)
expect SnText " kmh"
sleep $pause
click Scomm1
expect SnText " mph"
sleep $pause
grab "$out/8-settings-general.png"
click Command4
expect Ttaal1 NL
click Mtoets3
click Routesave
expect RSText1 "NO SAVE"
sleep $pause
grab "$out/9-settings-maps.png"
key Esc
wait-ended
SCRIPT

script=$out/demo-drive.txt
cat >"$script" <<SCRIPT
# The demonstration drive (written by scripts/demo.sh)
sleep 800
grab "$out/1-radar.png"
load-map "$kaarten/REGIO.BMP"
wait-status " MAP: $region_name"
# The map follows the car, so the cross stays in view when zoomed in.
click Check1
feed "$kaarten/DEMORIT.NMEA" $line_ms
click Navig1
wait-status " NAVIGATION ACTIVE " 5000
sleep $settle
# A zoom key puts the cross in the view's centre until the next fix is
# shown, which is also when the navigator takes keys again: each grab waits
# for that fix.
key 0
wait-keys
grab "$out/2-map-zoom0.png"
key 3
expect Ztext Zoom=3
wait-keys
grab "$out/3-map-zoom3.png"
# The trail box off and on again: the same view without the trail.
click Check2
sleep 200
grab "$out/3b-map-zoom3-trail-off.png"
click Check2
wait-fed $(( lines * line_ms * 4 + 30000 ))
sleep $step
grab "$out/4-drive-end.png"
map-state
click Navig1
wait-status " NAVIGATION STOPPED" 5000
grab "$out/5-stopped.png"
# The recorded route played back from its first record: the route button
# opens the playback panel, PLAY walks the file along the map as fast as
# the window shows it (about a second here), so the first shot is taken
# in the very next step, while the walk is under way.
click Command1
wait-status " PLAY DRIVEN ROUTE" 5000
sleep 800
click Play1
grab "$out/6-route-playback.png"
expect Text7 "  Zoeken klaar!" $(( lines * line_ms * 4 + 60000 ))
grab "$out/7-route-played.png"
click Command1
# SETUP: the settings window's script sets mph, Dutch and no route
# recording; once it has closed the next fixes show the speed in mph (the
# captions stay English until the navigator starts again).
settings-script "$settings"
setup-grace $grace
click SetupCommand
wait-status "CHANGE SETTINGS" 5000
wait-setup 120000
feed "$tail_nmea" $line_ms
click Navig1
expect Smode mph 30000
wait-fed $(( 12 * line_ms * 4 + 30000 ))
sleep $step
grab "$out/10-after-setup.png"
dump "$out/10-after-setup.json"
click Navig1
wait-status " NAVIGATIE GESTOPT " 5000
SCRIPT
[[ $live -eq 1 ]] && echo "wait-ended 86400000" >>"$script"

echo "demo: the drive into COM1, a line every $line_ms ms ($(( lines * line_ms / 1000 )) s)" >&2
if ! "$bin/tarvok-drive" --screen 1280x800 "$script" >"$out/drive.log" 2>&1; then
  cat "$out/drive.log" >&2
  echo "demo: the drive did not complete; see $out/drive.log" >&2
  exit 1
fi
route=$TARVOK_PREFIX/drive_c/TARVOK/ROUTE1.TVK
if [[ -s $route ]]; then
  "$bin/tarvok-tool" gpx "$route" >"$out/route.gpx"
else
  echo "demo: no route was recorded" >&2
fi
echo "demo: screenshots, route.gpx and drive.log are in $out"
