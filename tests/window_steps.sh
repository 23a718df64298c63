# Steps with the real window under X, for the end-to-end tests (sourced).
# The window has a fixed layout; these coordinates are relative to it.

# The id of the first visible window named by the pattern, once it is there.
window_of() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }

# Answers the next message box titled $1 with Return (its first button).
answer_box() {
  local box
  box=$(window_of "^$1\$")
  xdotool windowfocus --sync "$box" key Return
}

# Clicks the entry at height $2 of the menu "Hilfe" of window $1.
help_menu() {
  xdotool mousemove --window "$1" 138 8 click 1
  sleep 0.3
  xdotool mousemove --window "$1" 248 "$2" click 1
}
HELP_SHORTCUT=53
HELP_REGISTER=77
HELP_UNREGISTER=99

# Waits up to five seconds for the test `$@` to hold.
wait_until() {
  for _ in $(seq 50); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Types a pair into the entry page of window $1 and saves with the toolbar;
# then file $2 must be $3 (its bytes before, which the program showed) with
# that pair after them: the file was open in the program, its pairs in the
# list.
add_pair_and_save() {
  local expected
  xdotool windowfocus --sync "$1"
  xdotool type --delay 20 "house"
  xdotool key Tab
  xdotool type --delay 20 "Haus"
  xdotool key Return
  sleep 0.3
  xdotool mousemove --window "$1" 66 33 click 1  # toolbar: "Speichern"
  expected=$( (cat "$3"; printf 'house\r\nHaus\r\n0\r\n0\r\n') | od -c)
  wait_until test "$(od -c <"$2")" = "$expected" ||
    { echo "the file was not the one shown, or not saved:"; od -c "$2" | tail -n 5; return 1; }
}
