#!/usr/bin/env bash
# install_test.sh BUILD_DIR DESKTOP_FILE_VALIDATE
# Installs the build into a temporary prefix, checks the tree, validates the
# desktop entries, and starts the installed navigator's script driver on a
# fresh drive prefix to see that it provisions from the installed share folder.
set -euo pipefail
build=$1 validate=$2
tmp=$(mktemp -d /tmp/tarvok-install-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr

fail() { echo "install_tree: $*" >&2; exit 1; }
need() { [[ -s $prefix/$1 ]] || fail "missing or empty after install: $1"; }

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install failed"; }

for exe in TarvokMAP tarvok-tool tarvok-drive tarvok-listen; do
  [[ -x $prefix/bin/$exe ]] || fail "bin/$exe not installed or not executable"
done
if [[ -e $build/bin/TarvokSET ]]; then
  [[ -x $prefix/bin/TarvokSET ]] || fail "bin/TarvokSET not installed"
  need share/applications/tarvok-set.desktop
fi
need share/tarvok/USERNav4.HTM
# The installed recogniser starts and knows its words.
"$prefix/bin/tarvok-listen" --words | grep -qx "hoe laat is het" || fail "installed tarvok-listen does not list its words"
for map in DELFT DENHAAG REGIO; do
  need share/tarvok/KAARTEN/$map.BMP
  need share/tarvok/KAARTEN/$map.des
done
need share/tarvok/KAARTEN/DEMORIT.NMEA
for set in GELUID SOUND; do
  count=$(find "$prefix/share/tarvok/$set" -name '*.WAV' -size +0 | wc -l)
  [[ $count -gt 20 ]] || fail "share/tarvok/$set holds $count sound files"
done

need share/applications/tarvok-map.desktop
need share/icons/hicolor/scalable/apps/tarvok-map.svg
for entry in "$prefix"/share/applications/*.desktop; do
  "$validate" "$entry" || fail "$(basename "$entry") does not validate"
  exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [[ -x $prefix/bin/$exe ]] || fail "$(basename "$entry") starts $exe, which is not installed"
  [[ -s $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "icon $icon not installed"
  grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" || fail "icon $icon is no SVG"
done

# The installed programs find share/tarvok beside their bin/: a first start
# on an empty drive prefix copies the sound sets, guide and maps into it.
export TARVOK_PREFIX=$tmp/drive
printf 'sleep 50\n' >"$tmp/start.txt"
"$prefix/bin/tarvok-drive" --pass-microseconds 1 "$tmp/start.txt" >"$tmp/drive.log" 2>&1 \
  || { cat "$tmp/drive.log"; fail "installed tarvok-drive did not start"; }
for f in TARVOK/USERNav4.HTM TARVOK/KAARTEN/DELFT.BMP TARVOK/KAARTEN/DEMORIT.NMEA TARVOK/SOUND/Navig1.WAV; do
  [[ -s $TARVOK_PREFIX/drive_c/$f ]] || { cat "$tmp/drive.log"; fail "first start did not provision drive_c/$f"; }
done
cmp -s "$prefix/share/tarvok/KAARTEN/DELFT.BMP" "$TARVOK_PREFIX/drive_c/TARVOK/KAARTEN/DELFT.BMP" \
  || fail "provisioned DELFT.BMP differs from the installed one"
echo "install_tree: installed tree, desktop entries and provisioning are complete"
