#!/usr/bin/env bash
# "Open with" end to end, in a virtual X server with the user's folders in
# a temporary folder: the import's desktop entry and the KVTML type are
# installed for the user, and the entry is launched with a file as a file
# manager does (gio launch). A CSV file becomes a new vocabulary file
# beside it and the trainer comes up with that file open; a KVTML document
# with a letter the trainer's files cannot hold asks first and, answered
# Yes, goes the same way; a file that holds no pairs gets a message box and
# no file.
# Usage: import_test.sh PROGRAM CONVERTER SOURCE-FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ "${4:-}" != "--inside-x" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -m 700 "$work/run"
  mkdir -p "$work/bin" "$work/home/data/applications" "$work/home/data/mime/packages" "$work/Listen"
  cp "$1" "$2" "$work/bin/"
  cp "$3/packaging/zelvo-lingotak-import.desktop" "$work/home/data/applications/"
  cp "$3/packaging/zelvo-lingotak-kvtml.xml" "$work/home/data/mime/packages/"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/data"
  export XDG_RUNTIME_DIR="$work/run" PATH="$work/bin:$PATH" WORK="$work"
  unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
  update-mime-database "$XDG_DATA_HOME/mime"
  timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$1" "$2" "$3" --inside-x
  echo "import test passed"
  exit 0
fi

source "$here/window_steps.sh"
fail() { echo "$*"; exit 1; }
entry="$XDG_DATA_HOME/applications/zelvo-lingotak-import.desktop"
lists="$WORK/Listen"
no_trainer() { ! pgrep -x zelvo-lingotak >/dev/null; }
stop_trainer() {
  pkill -x zelvo-lingotak
  wait_until no_trainer || fail "the trainer did not end"
}

# An Excel-style list: semicolons, Windows-1252, an umlaut in its name.
csv="$lists/Vokabeln Französisch.csv"
printf 'maison;Haus\r\nporte;T\xfcr\r\n' >"$csv"
[ "$(xdg-mime query filetype "$csv")" = text/csv ] || fail "not a CSV file to the desktop"
gio launch "$entry" "$csv"
window=$(window_of '^Zelvo Lingotak$')
sleep 1
ltk="$lists/Vokabeln Französisch.ltk"
printf 'maison\r\nHaus\r\n0\r\n0\r\nporte\r\nT\xfcr\r\n0\r\n0\r\n' >"$WORK/expected.ltk"
cmp "$ltk" "$WORK/expected.ltk" || fail "the new vocabulary file does not hold the pairs"
add_pair_and_save "$window" "$ltk" "$WORK/expected.ltk"
echo "Open with made $(basename "$ltk") and the trainer came up with it"
stop_trainer

# A KVTML document with a Polish letter: the question, then the trainer.
kvtml="$lists/Polnisch.kvtml"
cat >"$kvtml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0"><identifiers><identifier id="0"><name>Polnisch</name></identifier>
<identifier id="1"><name>Deutsch</name></identifier></identifiers><entries>
<entry id="0"><translation id="0"><text>łódź</text></translation><translation id="1"><text>Boot</text></translation></entry>
</entries></kvtml>
XML
[ "$(xdg-mime query filetype "$kvtml")" = application/x-kvtml ] || fail "*.kvtml has no type"
gio launch "$entry" "$kvtml"
answer_box 'Zelvo Lingotak \(Import\)'  # "Sollen diese Zeichen ... ersetzt werden?": Ja
window=$(window_of '^Zelvo Lingotak$')
printf 'l\xf3dz\r\nBoot\r\n0\r\n0\r\n' >"$WORK/expected.ltk"
wait_until cmp -s "$lists/Polnisch.ltk" "$WORK/expected.ltk" || fail "the replaced pair is not in Polnisch.ltk"
echo "the KVTML document asked, and came in with its letter replaced"
stop_trainer

# Nothing to take over: a message box, and no file.
printf 'nur ein Wort\r\n' >"$lists/Liste.csv"
gio launch "$entry" "$lists/Liste.csv"
answer_box 'Zelvo Lingotak \(Import\)'
sleep 0.5
[ ! -e "$lists/Liste.ltk" ] || fail "a file was made of a list without pairs"
no_trainer || fail "the trainer started without pairs"
echo "a list without pairs got a message box and no file"
