#!/usr/bin/env bash
# Starts the real program in a virtual X server: its window must come up
# with its title, a second start must end with 0 while the first keeps
# running, and the lock must be free again once the first is killed.
# Usage: smoke_test.sh PROGRAM
set -euo pipefail
program="$1"

if [ "${2:-}" != "--inside-x" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR="$work"
  timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" --inside-x
  echo "smoke test passed"
  exit 0
fi

window_of() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }

"$program" &
first=$!
window_of '^Zelvo Lingotak$' >/dev/null
echo "first instance up: window \"Zelvo Lingotak\""

"$program" &
second=$!
box=$(window_of '^Fehler$')  # the second start shows its error box
xdotool windowfocus --sync "$box" key Return
code=0
wait "$second" || code=$?
[ "$code" -eq 0 ] || { echo "second instance ended with $code"; exit 1; }
echo "second instance ended with 0"
kill -0 "$first" || { echo "first instance is gone"; exit 1; }
xdotool search --name '^Zelvo Lingotak$' >/dev/null || { echo "first window is gone"; exit 1; }
echo "first instance still runs"

kill -9 "$first"
wait "$first" || true
"$program" &
third=$!
window_of '^Zelvo Lingotak$' >/dev/null
echo "a new start after kill -9 comes up"
kill "$third"
wait "$third" || true
