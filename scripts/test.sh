#!/usr/bin/env bash
# Builds everything and runs every test. Installs what it needs first.
# Fails when the test run leaves a new or changed file in the source tree:
# tests write only inside their own temporary folders.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release

# What the source tree holds beyond the last commit: each path git reports
# (build/ is ignored) with a checksum of its content, so a file that was
# already changed before and is changed again by a test shows up too.
source_tree_state() {
  git status --porcelain=v1 -z --untracked-files=all | while IFS= read -r -d '' entry; do
    local path="${entry:3}"
    # A rename carries its old name as a second entry.
    [[ "$entry" == R* ]] && IFS= read -r -d '' _
    if [[ -f "$path" && ! -L "$path" ]]; then
      printf '%s %s\n' "$(sha1sum < "$path" | cut -c1-40)" "$entry"
    else
      printf '%s %s\n' "-" "$entry"
    fi
  done
}
in_git=false
git rev-parse --is-inside-work-tree >/dev/null 2>&1 && in_git=true
$in_git && before=$(source_tree_state)

# A private PulseAudio with a null sink, so the sound tests play through the
# real audio path with no speakers attached.
source scripts/pulse.sh
start_pulse
trap stop_pulse EXIT

status=0
ctest --preset release || status=$?

if $in_git; then
  after=$(source_tree_state)
  if [[ "$before" != "$after" ]]; then
    echo "test.sh: the test run left files in the source tree:" >&2
    diff <(printf '%s\n' "$before") <(printf '%s\n' "$after") | grep '^>' | cut -c3- >&2 || true
    status=1
  fi
fi
exit "$status"
