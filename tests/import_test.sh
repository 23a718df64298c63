#!/usr/bin/env bash
# "Open with" end to end, in a virtual X server with the user's folders in
# a temporary folder: the import's desktop entry and the KVTML and Anki
# types are installed for the user, and the entry is launched with a file
# as a file manager does (gio launch). A CSV file becomes a new vocabulary
# file beside it and the trainer comes up with that file open; a KVTML
# document with a letter the trainer's files cannot hold asks first and,
# answered Yes, goes the same way; so does an Anki package, with the counts
# of its cards; a file that holds no pairs gets a message box and no file.
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
  cp "$3/packaging/zelvo-lingotak-kvtml.xml" "$3/packaging/zelvo-lingotak-anki.xml" "$work/home/data/mime/packages/"
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

# An Anki deck as the widely read generation of packages holds it
# (collection.anki2, schema 11, beside the list of media): a note type of
# two fields, and one card per note with its reviews and lapses.
apkg="$lists/Französisch.apkg"
python3 - "$apkg" "$WORK/collection.anki2" <<'PY'
import json, os, sqlite3, sys, zipfile

package, scratch = sys.argv[1], sys.argv[2]
db = sqlite3.connect(scratch)
db.executescript("""
create table col (id integer primary key, crt integer not null, mod integer not null,
  scm integer not null, ver integer not null, dty integer not null, usn integer not null,
  ls integer not null, conf text not null, models text not null, decks text not null,
  dconf text not null, tags text not null);
create table notes (id integer primary key, guid text not null, mid integer not null,
  mod integer not null, usn integer not null, tags text not null, flds text not null,
  sfld integer not null, csum integer not null, flags integer not null, data text not null);
create table cards (id integer primary key, nid integer not null, did integer not null,
  ord integer not null, mod integer not null, usn integer not null, type integer not null,
  queue integer not null, due integer not null, ivl integer not null, factor integer not null,
  reps integer not null, lapses integer not null, left integer not null, odue integer not null,
  odid integer not null, flags integer not null, data text not null);
create table revlog (id integer primary key, cid integer not null, usn integer not null,
  ease integer not null, ivl integer not null, lastIvl integer not null,
  factor integer not null, time integer not null, type integer not null);
create table graves (usn integer not null, oid integer not null, type integer not null);
""")
model_id, deck_id = 1700000000000, 1700000000001
fields = [{"name": name, "ord": i, "sticky": False, "rtl": False, "font": "Arial", "size": 20}
          for i, name in enumerate(["Vorderseite", "Rückseite"])]
template = {"name": "Karte 1", "ord": 0, "qfmt": "{{Vorderseite}}",
            "afmt": "{{FrontSide}}<hr id=answer>{{Rückseite}}", "did": None, "bqfmt": "", "bafmt": ""}
model = {"id": model_id, "name": "Einfach", "type": 0, "mod": 0, "usn": -1, "sortf": 0,
         "did": deck_id, "tmpls": [template], "flds": fields, "css": "", "latexPre": "",
         "latexPost": "", "req": [[0, "any", [0]]], "tags": [], "vers": []}
def deck(id, name):
    return {"id": id, "name": name, "mod": 0, "usn": -1, "dyn": 0, "conf": 1, "desc": "",
            "collapsed": False, "newToday": [0, 0], "revToday": [0, 0], "lrnToday": [0, 0],
            "timeToday": [0, 0]}
decks = {"1": deck(1, "Default"), str(deck_id): deck(deck_id, "Französisch")}
db.execute("insert into col values (1, 1700000000, 0, 0, 11, 0, 0, 0, '{}', ?, ?, '{}', '{}')",
           (json.dumps({str(model_id): model}), json.dumps(decks)))
notes = [("la maison", "<b>das</b> Haus", 5, 2), ("la porte", "die Tür", 0, 0)]
for n, (front, back, reps, lapses) in enumerate(notes, 1700000000100):
    db.execute("insert into notes values (?, ?, ?, 0, -1, '', ?, ?, 0, 0, '')",
               (n, "guid%d" % n, model_id, front + "\x1f" + back, front))
    db.execute("insert into cards values (?, ?, ?, 0, 0, -1, 2, 2, 0, 1, 2500, ?, ?, 0, 0, 0, 0, '')",
               (n + 1000, n, deck_id, reps, lapses))
db.commit()
db.close()
with zipfile.ZipFile(package, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(scratch, "collection.anki2")
    z.writestr("media", "{}")
os.remove(scratch)
PY
[ "$(xdg-mime query filetype "$apkg")" = application/x-apkg ] || fail "*.apkg has no type"
gio launch "$entry" "$apkg"
window=$(window_of '^Zelvo Lingotak$')
sleep 1
ltk="$lists/Französisch.ltk"
printf 'la maison\r\ndas Haus\r\n3\r\n2\r\nla porte\r\ndie T\xfcr\r\n0\r\n0\r\n' >"$WORK/expected.ltk"
cmp "$ltk" "$WORK/expected.ltk" || fail "the new vocabulary file does not hold the notes and their counts"
add_pair_and_save "$window" "$ltk" "$WORK/expected.ltk"
echo "the Anki package became $(basename "$ltk"), counts included, and the trainer came up with it"
stop_trainer

# Nothing to take over: a message box, and no file.
printf 'nur ein Wort\r\n' >"$lists/Liste.csv"
gio launch "$entry" "$lists/Liste.csv"
answer_box 'Zelvo Lingotak \(Import\)'
sleep 0.5
[ ! -e "$lists/Liste.ltk" ] || fail "a file was made of a list without pairs"
no_trainer || fail "the trainer started without pairs"
echo "a list without pairs got a message box and no file"
