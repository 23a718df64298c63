#!/usr/bin/env bash
# The internet update of the real program, end to end, in a virtual X
# server: a copy of the program that trusts a key made here for the test,
# and a server on 127.0.0.1 offering that copy stamped 2.5.0.58 and signed
# with the key. "Internet Update" answered Yes twice must put the new file
# in place of the program, which comes up again with the same vocabulary
# file in its folder, and its start must remove the old program file.
# With ZL_SHOTS set to a folder, screenshots of every step land there;
# with ZL_APP_FOLDER, the copy of the program is kept in that folder (one
# on a USB stick's file system, say) instead of one of the test's own.
# Usage: update_e2e_test.sh PROGRAM
set -euo pipefail
program="$1"

if [ "${2:-}" != "--inside-x" ]; then
  work=$(mktemp -d)
  trap 'kill $(cat "$work/server.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
  export WORK="$work"
  # -noreset: the X server must not start over when the old instance, its
  # last client, goes while the new one connects.
  timeout 100 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$program" --inside-x
  echo "update test passed"
  exit 0
fi

source "$(dirname "$0")/window_steps.sh"
shot() { [ -z "${ZL_SHOTS:-}" ] || import -window root "$ZL_SHOTS/$1.png"; }
fail() { echo "$1"; shot failure; exit 1; }
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }
# Presses Return (the default button, "Ja" or "OK") in the next box titled
# $1 and waits until it has gone.
answer() {
  local box
  box=$(window_of "^$1\$")
  sleep 0.3
  shot "$2"
  xdotool windowfocus --sync "$box" key Return
  while visible "^$1\$" | grep -qx "$box"; do sleep 0.1; done
}

app="${ZL_APP_FOLDER:-$WORK/app}/zelvo-lingotak"
list="$WORK/lists/englisch.ltk"
mkdir -p "$(dirname "$app")" "$WORK/server" "$WORK/lists"
cp "$program" "$app"
printf 'house\r\nHaus\r\n0\r\n0\r\n' >"$list"

# The test's own key pair (no password), trusted by the copy.
minisign -G -W -p "$WORK/test.pub" -s "$WORK/test.key" >/dev/null
sed -n 2p "$WORK/test.pub" | tr -d '\n' >"$WORK/key.txt"
objcopy --update-section .zl_update_key="$WORK/key.txt" "$app"

# The update: the same program stamped 2.5.0.58, signed.
python3 -c 'import struct, sys; sys.stdout.buffer.write(struct.pack("<13I",
  0xFEEF04BD, 0x10000, 2 << 16 | 5, 58, 2 << 16 | 5, 58, 0x3F, 0, 0, 1, 0, 0, 0))' >"$WORK/version.bin"
cp "$app" "$WORK/server/Lingotak.upd"
objcopy --update-section .zl_version="$WORK/version.bin" "$WORK/server/Lingotak.upd"
minisign -S -s "$WORK/test.key" -m "$WORK/server/Lingotak.upd" >/dev/null

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$WORK/server" >"$WORK/server.log" 2>&1 &
echo $! >"$WORK/server.pid"
for _ in $(seq 50); do
  port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$WORK/server.log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the test server did not start"
export ZELVO_LINGOTAK_UPDATE_URL="http://127.0.0.1:$port/Lingotak.upd"
export XDG_RUNTIME_DIR="$WORK"

"$app" "$list" &
old=$!
window=$(window_of '^Zelvo Lingotak$')
sleep 1
shot 1-running
xdotool mousemove --window "$window" 187 33 click 1  # toolbar: "Internet Update"
answer "Update Information" 2-start-question
answer "Update Information" 3-install-question
answer "Update Information" 4-installed
code=0
wait "$old" || code=$?
[ "$code" -eq 0 ] || fail "the old instance ended with $code"
echo "the old instance ended after the update"

new=""
for _ in $(seq 100); do
  window=$(visible '^Zelvo Lingotak$' | head -n 1)
  [ -n "$window" ] && new=$(xdotool getwindowpid "$window" 2>/dev/null || true)
  [ -n "$new" ] && break
  sleep 0.1
done
[ -n "$new" ] || fail "the updated program did not come up"
trap 'kill "$new" 2>/dev/null || true' EXIT
[ "$(tr '\0' '\n' <"/proc/$new/cmdline")" = "$(printf '%s\n%s' "$app" "$list")" ] ||
  fail "the updated program was started as: $(tr '\0' ' ' <"/proc/$new/cmdline")"
[ "$(readlink "/proc/$new/cwd")" = "$WORK/lists" ] || fail "the updated program runs in $(readlink "/proc/$new/cwd")"
echo "the updated program came up with $list"
objcopy -O binary --only-section=.zl_version "$app" "$WORK/now.bin"  # the running file stays untouched
cmp -s "$WORK/now.bin" "$WORK/version.bin" || fail "the program file does not carry 2.5.0.58"
echo "the program file carries 2.5.0.58"
wait_until test ! -e "$app.tmp" || fail "the old program file $app.tmp is still there"
[ ! -e "$app.upd" ] && [ ! -e "$app.upd.minisig" ] || fail "a downloaded file is left beside the program"
echo "the old program file is gone"
sleep 0.5
shot 5-restarted
kill "$new"
while kill -0 "$new" 2>/dev/null; do sleep 0.1; done
