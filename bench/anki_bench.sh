#!/usr/bin/env bash
# The converter reading Anki packages as the user runs it, with unzip and
# the sqlite3 command-line tool on the same package in the same run as the
# yardstick: a package of 200,000 notes into a vocabulary file, once as
# Anki 2.1 exports it (collection.anki21, schema 11, deflated) and once as
# newer versions do (collection.anki21b, schema 18, zstd, beside the
# one-note collection.anki2 that tells older versions to update). The
# yardstick unpacks the collection into a file and lists the fields of all
# notes with sqlite3. Times are hyperfine's means; the peak memory is GNU
# time's maximum resident set.
# Usage: bench/anki_bench.sh CONVERTER [RUNS]
set -euo pipefail
convert="$(realpath "$1")"
runs="${2:-10}"
dir=/tmp/zl-anki-bench
mkdir -p "$dir"
table=$(mktemp)
trap 'rm -f "$table" "$dir/yardstick.db" "$dir/time.txt" "$dir/trial.log"' EXIT

have_zstd=yes
command -v zstd >/dev/null || have_zstd=no
[ "$have_zstd" = yes ] || echo "zstd is missing: the package of the newer kind (collection.anki21b) is left out"

legacy="$dir/notes-200000-anki21.apkg"
latest="$dir/notes-200000-anki21b.apkg"
if [ ! -f "$legacy" ] || { [ "$have_zstd" = yes ] && [ ! -f "$latest" ]; }; then
  python3 - "$dir" "$have_zstd" <<'PY'
import hashlib, json, os, random, re, sqlite3, subprocess, sys, zipfile

folder, have_zstd = sys.argv[1], sys.argv[2] == "yes"
NOTES = 200000
random.seed(11)

SCHEMA11 = """
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
  ease integer not null, ivl integer not null, lastIvl integer not null, factor integer not null,
  time integer not null, type integer not null);
create table graves (usn integer not null, oid integer not null, type integer not null);
"""
INDEXES11 = """
create index ix_notes_usn on notes (usn);
create index ix_cards_usn on cards (usn);
create index ix_revlog_usn on revlog (usn);
create index ix_cards_nid on cards (nid);
create index ix_cards_sched on cards (did, queue, due);
create index ix_revlog_cid on revlog (cid);
create index ix_notes_csum on notes (csum);
"""
# What schema 18 adds and changes: note types, fields, templates, decks, deck
# options, settings and tags in tables of their own, names compared by
# Anki's own case-insensitive collation, the graves without rowid.
SCHEMA18 = """
create table deck_config (id integer primary key not null, name text not null collate unicase,
  mtime_secs integer not null, usn integer not null, config blob not null);
create table config (key text not null primary key, usn integer not null,
  mtime_secs integer not null, val blob not null) without rowid;
create table fields (ntid integer not null, ord integer not null,
  name text not null collate unicase, config blob not null, primary key (ntid, ord)) without rowid;
create unique index idx_fields_name_ntid on fields (name, ntid);
create table templates (ntid integer not null, ord integer not null,
  name text not null collate unicase, mtime_secs integer not null, usn integer not null,
  config blob not null, primary key (ntid, ord)) without rowid;
create unique index idx_templates_name_ntid on templates (name, ntid);
create index idx_templates_usn on templates (usn);
create table notetypes (id integer not null primary key, name text not null collate unicase,
  mtime_secs integer not null, usn integer not null, config blob not null);
create unique index idx_notetypes_name on notetypes (name);
create index idx_notetypes_usn on notetypes (usn);
create table decks (id integer primary key not null, name text not null collate unicase,
  mtime_secs integer not null, usn integer not null, common blob not null, kind blob not null);
create unique index idx_decks_name on decks (name);
create index idx_notes_mid on notes (mid);
create index idx_cards_odid on cards (odid) where odid != 0;
create table tags (id integer primary key not null, name text not null collate unicase,
  usn integer not null, config blob not null);
drop table graves;
create table graves (oid integer not null, type integer not null, usn integer not null,
  primary key (oid, type)) without rowid;
create index idx_graves_pending on graves (usn);
"""

NOW = 1765000000
MODEL = 1700000000001
DECK = 1700000000002
CSS = ".card {\n font-family: arial;\n font-size: 20px;\n text-align: center;\n}\n"

def field(name, ord):
    return {"name": name, "ord": ord, "sticky": False, "rtl": False, "font": "Arial",
            "size": 20, "description": "", "plainText": False, "collapsed": False,
            "excludeFromSearch": False}

def models(name="Einfach"):
    return {str(MODEL): {
        "id": MODEL, "name": name, "type": 0, "mod": NOW, "usn": -1, "sortf": 0, "did": DECK,
        "tmpls": [{"name": "Karte 1", "ord": 0, "qfmt": "{{Front}}",
                   "afmt": "{{FrontSide}}\n\n<hr id=answer>\n\n{{Back}}", "bqfmt": "",
                   "bafmt": "", "did": None, "bfont": "", "bsize": 0}],
        "flds": [field("Front", 0), field("Back", 1)],
        "css": CSS, "latexPre": "\\documentclass[12pt]{article}\n\\begin{document}\n",
        "latexPost": "\\end{document}", "latexsvg": False, "req": [[0, "any", [0]]],
        "tags": [], "vers": []}}

def deck(id, name):
    return {"id": id, "name": name, "mod": NOW, "usn": -1, "lrnToday": [0, 0],
            "revToday": [0, 0], "newToday": [0, 0], "timeToday": [0, 0], "collapsed": False,
            "browserCollapsed": False, "desc": "", "dyn": 0, "conf": 1, "extendNew": 0,
            "extendRev": 0}

DCONF = {"1": {"id": 1, "name": "Default", "mod": 0, "usn": 0, "maxTaken": 60, "autoplay": True,
               "timer": 0, "replayq": True, "dyn": False,
               "new": {"delays": [1.0, 10.0], "ints": [1, 4, 0], "initialFactor": 2500,
                       "order": 1, "perDay": 20},
               "rev": {"perDay": 200, "ease4": 1.3, "maxIvl": 36500, "hardFactor": 1.2},
               "lapse": {"delays": [10.0], "mult": 0.0, "minInt": 1, "leechFails": 8,
                         "leechAction": 1}}}
CONF = {"activeDecks": [1], "curDeck": 1, "newSpread": 0, "collapseTime": 1200,
        "timeLim": 0, "estTimes": True, "dueCounts": True, "curModel": MODEL,
        "nextPos": NOTES + 1, "sortType": "noteFld", "sortBackwards": False,
        "addToCur": True, "schedVer": 2}

WORDS = [("das Haus, Häuser", "la maison, les maisons"), ("die Straße, -n", "la rue, les rues"),
         ("der Bär, -en", "l'ours (m)"), ("die Tür, -en", "la porte d'entrée"),
         ("das Öl, -e", "l'huile (f)"), ("der Käse", "le fromage râpé"),
         ("die Größe, -n", "la taille, la grandeur"), ("die Übung, -en", "l'exercice (m)"),
         ("das Mädchen, -", "la jeune fille"), ("der Schlüssel, -", "la clé, les clés"),
         ("die Brücke, -n", "le pont, les ponts"), ("das Frühstück", "le petit déjeuner"),
         ("der Löffel, -", "la cuillère à soupe"), ("die Ähre, -n", "l'épi de blé"),
         ("schön", "beau, belle"), ("früh am Morgen", "tôt le matin"), ("müde sein", "être fatigué"),
         ("das Café, -s", "le café du coin"), ("die Fassade, -n", "la façade"),
         ("naiv", "naïf, naïve")]
FRONTS = ["{w} {n}", "<b>{w}</b> {n}", "{w}&nbsp;<i>({n})</i>", "<div>{w} {n}</div>",
          "{w} {n}<br>"]
BACKS = ["{t} {n}", "<b>{t}</b>&nbsp;{n}", "{t} ({n})", "<i>{t}</i> – {n}", "{t}&nbsp;{n}"]
GUID = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&()*+,-./:;<=>?@[]^_`{|}~"

def proto_text(number, text):
    data = text.encode()
    assert len(data) < 128
    return bytes([number << 3 | 2, len(data)]) + data

def plain(text):
    return re.sub(r"<[^>]*>", "", text).replace("&nbsp;", " ")

def as_json(value):
    # As Anki writes it: compact, UTF-8 as it is.
    return json.dumps(value, ensure_ascii=False, separators=(",", ":"))

def checksum(text):
    return int(hashlib.sha1(text.encode()).hexdigest()[:8], 16)

def notes_and_cards():
    notes, cards, revlog = [], [], []
    for i in range(NOTES):
        word, translation = WORDS[i % len(WORDS)]
        number = i * 7919 % 1000003
        front = random.choice(FRONTS).format(w=word, n=number)
        back = random.choice(BACKS).format(t=translation, n=number)
        nid = 1600000000000 + i
        sort_field = plain(front)
        notes.append((nid, "".join(random.choices(GUID, k=10)), MODEL, NOW - i % 86400, -1,
                      " vokabeln " if i % 3 else "", front + "\x1f" + back, sort_field,
                      checksum(sort_field), 0, ""))
        reps = random.choice([0, 0, 0, 1, 2, 3, 5, 8, 13, 21])
        lapses = random.randint(0, reps // 4)
        new = reps == 0
        ivl = 0 if new else random.randint(1, 400)
        cards.append((nid, nid, 1 if i % 4 == 0 else DECK, 0, NOW - i % 86400, -1,
                      0 if new else 2, 0 if new else 2, i + 1 if new else 20400 + ivl, ivl,
                      0 if new else random.randint(1300, 2800), reps, lapses, 0, 0, 0, 0, ""))
        if not new:
            revlog.append((1700000000000 + i, nid, -1, 3, ivl, max(1, ivl // 2),
                           2500, random.randint(2000, 20000), 1))
    return notes, cards, revlog

def collection(path, schema, notes, cards, revlog, page_size=4096):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    # Anki's collation: names compared without regard to case.
    db.create_collation("unicase", lambda a, b: (a.casefold() > b.casefold()) - (a.casefold() < b.casefold()))
    db.execute(f"pragma page_size = {page_size}")
    db.executescript(SCHEMA11)
    if schema == 11:
        db.execute("insert into col values (1, ?, ?, ?, 11, 0, 0, 0, ?, ?, ?, ?, '{}')",
                   (NOW - 86400 * 400, NOW * 1000, NOW * 1000, as_json(CONF), as_json(models()),
                    as_json({"1": deck(1, "Default"), str(DECK): deck(DECK, "Französisch::Wortschatz")}),
                    as_json(DCONF)))
    else:
        db.executescript(SCHEMA18)
        db.execute("insert into col values (1, ?, ?, ?, 18, 0, 0, 0, '', '', '', '', '')",
                   (NOW - 86400 * 400, NOW * 1000, NOW * 1000))
        # The settings of note types, fields, templates and decks are
        # protocol buffers: the style sheet (3); font (3) and size (4); the
        # question (1) and answer (2) formats; a normal deck (1) with its
        # options (1).
        db.execute("insert into notetypes values (?, 'Einfach', ?, -1, ?)",
                   (MODEL, NOW, proto_text(3, CSS)))
        font = proto_text(3, "Arial") + bytes([4 << 3, 20])
        db.executemany("insert into fields values (?, ?, ?, ?)",
                       [(MODEL, 0, "Front", font), (MODEL, 1, "Back", font)])
        template = models()[str(MODEL)]["tmpls"][0]
        db.execute("insert into templates values (?, 0, 'Karte 1', ?, -1, ?)",
                   (MODEL, NOW, proto_text(1, template["qfmt"]) + proto_text(2, template["afmt"])))
        db.executemany("insert into decks values (?, ?, ?, -1, x'', x'0a020801')",
                       [(1, "Default", NOW), (DECK, "Französisch\x1fWortschatz", NOW)])
        db.execute("insert into deck_config values (1, 'Default', ?, -1, x'')", (NOW,))
        db.executemany("insert into config values (?, -1, ?, ?)",
                       [(key, NOW, as_json(value).encode()) for key, value in CONF.items()])
        db.execute("insert into tags values (1, 'vokabeln', -1, x'')")
    db.executemany("insert into notes values (?,?,?,?,?,?,?,?,?,?,?)", notes)
    db.executemany("insert into cards values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", cards)
    db.executemany("insert into revlog values (?,?,?,?,?,?,?,?,?)", revlog)
    db.executescript(INDEXES11)
    db.commit()
    db.execute("analyze")
    db.commit()
    db.close()

def zstd(data):
    # From a pipe, as Anki's streaming encoder writes it: one frame without
    # the content size in its header.
    return subprocess.run(["zstd", "-q", "-c"], input=data, stdout=subprocess.PIPE, check=True).stdout

notes, cards, revlog = notes_and_cards()
sizes = [len(n[6].split("\x1f")[k].encode()) for n in notes[:2000] for k in (0, 1)]
print(f"{NOTES} notes, {sum(sizes) / len(sizes):.1f} bytes a field on average "
      f"({min(sizes)} to {max(sizes)}), {len(revlog)} reviews")

db = os.path.join(folder, "collection.db")
collection(db, 11, notes, cards, revlog)
with open(db, "rb") as f:
    data = f.read()
package = os.path.join(folder, "notes-200000-anki21.apkg")
with zipfile.ZipFile(package + ".part", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("collection.anki21", data)
    z.writestr("media", "{}")
os.replace(package + ".part", package)

if have_zstd:
    collection(db, 18, notes, cards, revlog)
    with open(db, "rb") as f:
        data = f.read()
    decoy = os.path.join(folder, "decoy.db")
    collection(decoy, 11, [(1600000000000, "decoy12345", MODEL, NOW, -1, "",
                            "Please update to the latest Anki version, then import the .colpkg/.apkg file again.\x1f",
                            "Please update", 0, 0, "")],
               [(1600000000000, 1600000000000, 1, 0, NOW, -1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, "")], [], 512)
    with open(decoy, "rb") as f:
        decoy_data = f.read()
    os.remove(decoy)
    package = os.path.join(folder, "notes-200000-anki21b.apkg")
    with zipfile.ZipFile(package + ".part", "w", zipfile.ZIP_STORED) as z:
        z.writestr("meta", b"\x08\x03")  # the package's version: the newest (3)
        z.writestr("collection.anki21b", zstd(data))
        z.writestr("collection.anki2", decoy_data)
        z.writestr("media", zstd(b""))  # no media: an empty list, compressed
    os.replace(package + ".part", package)
os.remove(db)
PY
fi

mb() { awk -v b="$1" 'BEGIN { printf "%.1f MB", b / 1048576 }'; }

# package, its collection's name in the zip, the command that writes the
# collection to stdout
measure() {
  local package="$1" name="$2" unpack="$3" out="$dir/notes.ltk"
  echo "== $(basename "$package"): 200,000 notes into a vocabulary file =="
  if ! "$convert" --force "$package" "$out" >"$dir/trial.log" 2>&1; then
    echo "the converter refused the package:"
    cat "$dir/trial.log"
    return 0
  fi
  echo "pairs written: $(( $(wc -l <"$out") / 4 ))"
  hyperfine -N -w 2 -r "$runs" --style none --export-markdown "$table" \
    "sh -c '$unpack >$dir/yardstick.db && sqlite3 $dir/yardstick.db \"select flds from notes\" >/dev/null'" \
    "$convert --force $package $out" >/dev/null 2>&1
  grep '^| `' "$table"
  /usr/bin/time -f "peak memory of the converter: %M KB" -o "$dir/time.txt" \
    "$convert" --force "$package" "$out" >/dev/null 2>&1
  cat "$dir/time.txt"
  echo "package: $(mb "$(stat -c %s "$package")"), $name in it: $(mb "$(unzip -Zl "$package" "$name" | awk '{ print $6 }')")," \
    "the collection unpacked: $(mb "$(sh -c "$unpack" | wc -c)"), vocabulary file: $(mb "$(stat -c %s "$out")")"
}

measure "$legacy" collection.anki21 "unzip -p $legacy collection.anki21"
if [ "$have_zstd" = yes ]; then
  measure "$latest" collection.anki21b "unzip -p $latest collection.anki21b | zstd -q -d -c"
fi
