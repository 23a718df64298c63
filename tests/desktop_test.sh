#!/usr/bin/env bash
# The desktop integration end to end, in a virtual X server with the user's
# folders (HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, the desktop folder) in a
# temporary folder: registering from the menu makes xdg-mime name our type
# for a .LTK file and our desktop entry as its default, and xdg-open then
# starts the program with that file open; the shortcut and the homepage
# work from the menu and the toolbar; removing the registration from the
# menu takes its files away again.
# Usage: desktop_test.sh PROGRAM
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ "${2:-}" != "--inside-x" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -m 700 "$work/run"
  mkdir -p "$work/home/.config" "$work/bin" "$work/elsewhere" "$work/lists"
  # A program folder of our own: the build folder's name could hold a blank,
  # which the generic xdg-open cannot start (the entry quotes the path then).
  cp "$1" "$work/bin/zelvo-lingotak"
  # The homepage goes through xdg-open; this one notes web addresses.
  printf '#!/bin/sh\ncase "$1" in http*) echo "$1" >>"%s/opened";; *) exec /usr/bin/xdg-open "$@";; esac\n' \
    "$work" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  printf 'XDG_DESKTOP_DIR="$HOME/Schreibtisch"\n' >"$work/home/.config/user-dirs.dirs"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/data"
  export XDG_RUNTIME_DIR="$work/run" PATH="$work/bin:$PATH" WORK="$work"
  unset XDG_CURRENT_DESKTOP DESKTOP_SESSION BROWSER
  timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$work/bin/zelvo-lingotak" --inside-x
  echo "desktop test passed"
  exit 0
fi

program="$1"
source "$here/window_steps.sh"
fail() { echo "$*"; exit 1; }
data="$XDG_DATA_HOME"
entry="$data/applications/zelvo-lingotak.desktop"
list="$WORK/lists/Englisch.LTK"  # the older files' upper-case extension
cp "$here/../examples/englisch.ltk" "$list"
cp "$list" "$WORK/before.ltk"

cd "$WORK/elsewhere"  # not the program's folder
"$program" &
first=$!
window=$(window_of '^Zelvo Lingotak$')
sleep 1

help_menu "$window" $HELP_REGISTER
answer_box Setup
wait_until test -f "$entry" || fail "registering wrote no desktop entry"
wait_until test -f "$XDG_CONFIG_HOME/mimeapps.list" || fail "registering wrote no mimeapps.list"
desktop-file-validate "$entry"
[ "$(xdg-mime query filetype "$list")" = application/x-zelvo-vocabulary ] ||
  fail "xdg-mime names the type $(xdg-mime query filetype "$list")"
[ "$(xdg-mime query default application/x-zelvo-vocabulary)" = zelvo-lingotak.desktop ] ||
  fail "xdg-mime names the default $(xdg-mime query default application/x-zelvo-vocabulary)"
echo "registered from the menu: xdg-mime knows the type and its default"

help_menu "$window" $HELP_SHORTCUT
answer_box Setup
answer_box Setup  # "Die Verknüpfung wurde erfolgreich erstellt!"
shortcut="$HOME/Schreibtisch/Zelvo Lingotak.desktop"
[ -x "$shortcut" ] || fail "no executable shortcut in the desktop folder"
desktop-file-validate "$shortcut"  # warns that its Comment is its Name, as it must be
grep -qx "Path=$(dirname "$program")/" "$shortcut" || fail "the shortcut does not start in the program's folder"
grep -qx "Exec=$program" "$shortcut" || fail "the shortcut does not start the program"
[ "$(ls -A "$HOME/Schreibtisch")" = "Zelvo Lingotak.desktop" ] || fail "more than the shortcut on the desktop"
echo "the shortcut starts the program in its folder"

xdotool mousemove --window "$window" 218 34 click 1  # toolbar: "Homepage"
wait_until test -s "$WORK/opened" || fail "the homepage was not handed to xdg-open"
echo "the homepage went to xdg-open: $(cat "$WORK/opened")"
icons=$(xprop -id "$window" _NET_WM_ICON)
[[ $icons == *"Icon (16 x 16)"*"Icon (128 x 128)"* ]] || fail "the window has not the program's icon"

kill "$first"
wait "$first" || true
xdg-open "$list" &  # runs the program and waits for it
opener=$!
window=$(window_of '^Zelvo Lingotak$')
sleep 1
add_pair_and_save "$window" "$list" "$WORK/before.ltk"
echo "xdg-open started the program with the file open"
kill "$(xdotool getwindowpid "$window")"
wait "$opener" || true

"$program" &
last=$!
window=$(window_of '^Zelvo Lingotak$')
sleep 1
help_menu "$window" $HELP_UNREGISTER
answer_box Setup
wait_until test ! -e "$entry" || fail "removing left the desktop entry"
sleep 0.5
left=$(find "$data" "$XDG_CONFIG_HOME" -type f \( -name 'zelvo-lingotak*' -o -name 'application-x-zelvo*' \
  -o -name mimeapps.list \) -not -path "$data/zelvo-lingotak/*")
[ -z "$left" ] || fail "removing left: $left"
# The caches are rebuilt after the files are gone, which can take longer
# on a busy machine than the look at the files above.
no_default() { [ -z "$(xdg-mime query default application/x-zelvo-vocabulary)" ]; }
type_unknown() { [ "$(xdg-mime query filetype "$list")" != application/x-zelvo-vocabulary ]; }
wait_until no_default || fail "xdg-mime still names a default"
wait_until type_unknown || fail "xdg-mime still knows the type"
echo "removed from the menu: the association's files are gone"
kill "$last"
wait "$last" || true
