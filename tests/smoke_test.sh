#!/usr/bin/env bash
# Starts the real program in a virtual X server: its window must come up
# with its title, a second start must end with 0 while the first keeps
# running, and the lock must be free again once the first is killed. Then a
# pair typed at once after the start (word, Tab, translation, Return) and
# saved with the toolbar's "Speichern" must be in the file.
# Usage: smoke_test.sh PROGRAM
set -euo pipefail
program="$1"

if [ "${2:-}" != "--inside-x" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR="$work"
  export SMOKE_FOLDER="$work"
  timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" --inside-x
  echo "smoke test passed"
  exit 0
fi

source "$(dirname "$0")/window_steps.sh"

"$program" &
first=$!
window_of '^Zelvo Lingotak$' >/dev/null
echo "first instance up: window \"Zelvo Lingotak\""

"$program" &
second=$!
answer_box Fehler  # the second start shows its error box
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

list="$SMOKE_FOLDER/neu.ltk"
"$program" "$list" &
fourth=$!
window=$(window_of '^Zelvo Lingotak$')
sleep 1
xdotool type --delay 20 "house"
xdotool key Tab
xdotool type --delay 20 "Haus"
xdotool key Return
sleep 0.3
xdotool mousemove --window "$window" 66 33 click 1  # toolbar: "Speichern"
wait_until test -f "$list" || true
expected=$(printf 'house\r\nHaus\r\n0\r\n0\r\n' | od -c)
[ "$(od -c < "$list" 2>/dev/null)" = "$expected" ] || { echo "the typed pair was not saved:"; od -c "$list" || true; exit 1; }
echo "a pair typed at the start and saved from the toolbar is in the file"
kill "$fourth"
wait "$fourth" || true
