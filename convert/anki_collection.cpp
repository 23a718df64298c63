#include "convert/anki_collection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "convert/html_text.h"
#include "convert/sha1.h"
#include "convert/texts.h"
#include "convert/unicode.h"
#include "store/cp1252.h"

namespace zl {

namespace {

using convert_text::fill;

// --- SQLite, held by the hand ---------------------------------------------------

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

// Why SQLite failed, for the user.
std::string causeOf(sqlite3* db) {
  const int code = sqlite3_errcode(db) & 0xFF;
  if (code == SQLITE_NOMEM) throw std::bad_alloc();
  if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_RANGE) return convert_text::CollectionBroken;
  return fill(convert_text::CollectionUnreadable, {sqlite3_errmsg(db)});
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool prepared() const { return statement_ != nullptr; }
  // The next row; false at the end or on a failure (then failed()).
  bool next() {
    if (!statement_ || done_) return false;
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    done_ = true;
    failed_ = result != SQLITE_DONE;
    return false;
  }
  bool failed() const { return !statement_ || failed_; }
  std::int64_t number(int column) const { return sqlite3_column_int64(statement_, column); }
  std::string_view text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string_view();
  }
  std::string_view blob(int column) const {
    const void* blob = sqlite3_column_blob(statement_, column);
    return blob ? std::string_view(static_cast<const char*>(blob),
                                   static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string_view();
  }
  void bind(int parameter, std::int64_t value) { sqlite3_bind_int64(statement_, parameter, value); }
  void bind(int parameter, std::string_view text) {
    sqlite3_bind_text(statement_, parameter, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  // Runs a statement that returns no rows, ready for the next binding.
  bool run() {
    const int result = sqlite3_step(statement_);
    sqlite3_reset(statement_);
    return result == SQLITE_DONE;
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
  bool done_ = false;
  bool failed_ = false;
};

int compareUnicase(void*, int leftLength, const void* left, int rightLength, const void* right) {
  return compareFolded({static_cast<const char*>(left), static_cast<std::size_t>(leftLength)},
                       {static_cast<const char*>(right), static_cast<std::size_t>(rightLength)});
}

// A database in memory, with Anki's collation.
Database openMemoryDatabase(std::string& reason) {
  sqlite3* handle = nullptr;
  const int opened =
      sqlite3_open_v2(":memory:", &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  Database db(handle);
  if (opened != SQLITE_OK) {
    if (!handle) throw std::bad_alloc();
    reason = causeOf(handle);
    return nullptr;
  }
  sqlite3_create_collation_v2(handle, "unicase", SQLITE_UTF8, nullptr, compareUnicase, nullptr);
  return db;
}

// The defences of a database from elsewhere, set before its schema is
// read: nothing of it can change the schema, run code it names or load an
// extension, and views and triggers are not used at all.
void defend(sqlite3* db) {
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_exec(db, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
}

// --- reading ------------------------------------------------------------------------

struct NoteType {
  bool cloze = false;
  std::vector<std::pair<std::int64_t, std::string>> fields;  // (number, name), sorted by number
};

// True when a note type's config (a protocol buffer) says it is a cloze
// type: its field 1, the kind, is 1.
bool isClozeConfig(std::string_view config) {
  std::size_t i = 0;
  const auto varint = [&](std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64 && i < config.size(); shift += 7) {
      const auto byte = static_cast<unsigned char>(config[i++]);
      value |= std::uint64_t{byte & 0x7Fu} << shift;
      if (byte < 0x80) return true;
    }
    return false;
  };
  std::uint64_t key = 0, value = 0;
  while (i < config.size() && varint(key)) {
    switch (key & 7) {
      case 0:
        if (!varint(value)) return false;
        if (key >> 3 == 1) return value == 1;
        break;
      case 1:
        i += 8;
        break;
      case 2:
        if (!varint(value) || value > config.size() - i) return false;
        i += value;
        break;
      case 5:
        i += 4;
        break;
      default:
        return false;
    }
  }
  return false;
}

// A deck's name as Anki shows it: newer collections keep the levels apart
// with 0x1F, older ones with "::".
std::string shownDeckName(std::string_view stored) {
  std::string name;
  for (const char c : stored) {
    if (c == '\x1f')
      name += "::";
    else
      name += c;
  }
  return name;
}

// True when the deck `name` is `wanted` or below it.
bool isInDeck(std::string_view name, std::string_view wanted) {
  if (compareFolded(name, wanted) == 0) return true;
  return name.size() > wanted.size() + 2 && compareFolded(name.substr(0, wanted.size()), wanted) == 0 &&
         name.substr(wanted.size(), 2) == "::";
}

class CollectionReader {
 public:
  CollectionReader(sqlite3* db, const AnkiOptions& options, PairBuilder& pairs, AnkiFindings& findings,
                   ReadFailure& failure)
      : db_(db), options_(options), pairs_(pairs), findings_(findings), failure_(failure) {}

  bool read() {
    const std::string_view needed[] = {"col", "notes", "cards"};
    for (const std::string_view table : needed)
      if (!isTable(table, true)) return false;
    const bool newer = isTable("notetypes", false);
    if (newer && !(isTable("fields", true) && isTable("decks", true))) return false;
    if (!(newer ? readNewerNoteTypes() : readOlderNoteTypes())) return false;
    // Sorted as Anki shows them, by its collation.
    if (!options_.deck.empty() &&
        !readDecks(newer ? "SELECT id, name FROM decks ORDER BY name"
                         : "SELECT CAST(d.key AS INTEGER), json_extract(d.value, '$.name') AS name "
                           "FROM col, json_each(col.decks) AS d ORDER BY name COLLATE unicase"))
      return false;
    return readNotes();
  }

 private:
  bool fail(const std::string& cause) {
    failure_.reason = fill(convert_text::PackageUnreadable, {cause});
    return false;
  }
  bool failed() { return fail(causeOf(db_)); }

  // True when `name` is a table of the collection. A view, an index, a
  // trigger or a virtual table of that name is refused, as is a missing
  // one when it is `needed`.
  bool isTable(std::string_view name, bool needed) {
    Statement schema(db_, "SELECT type, sql FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE");
    if (!schema.prepared()) return failed();
    schema.bind(1, name);
    bool found = false;
    while (schema.next()) {
      if (schema.text(0) != "table" || schema.text(1).starts_with("CREATE VIRTUAL"))
        return fail(fill(convert_text::CollectionNotATable, {name}));
      found = true;
    }
    if (schema.failed()) return failed();
    if (!found && needed) return fail(fill(convert_text::CollectionLacksTable, {name}));
    return found;
  }

  bool readOlderNoteTypes() {
    Statement types(db_,
                    "SELECT CAST(m.key AS INTEGER), json_extract(m.value, '$.type'), "
                    "json_extract(f.value, '$.ord'), json_extract(f.value, '$.name') "
                    "FROM col, json_each(col.models) AS m LEFT JOIN json_each(m.value, '$.flds') AS f");
    while (types.next()) addNoteType(types.number(0), types.number(1) == 1, types);
    if (types.failed()) return failed();
    sortFields();
    return true;
  }

  bool readNewerNoteTypes() {
    Statement types(db_, "SELECT id, config FROM notetypes");
    while (types.next()) noteTypes_[types.number(0)].cloze = isClozeConfig(types.blob(1));
    if (types.failed()) return failed();
    Statement fields(db_, "SELECT ntid, 0, ord, name FROM fields");
    while (fields.next()) addNoteType(fields.number(0), noteTypes_[fields.number(0)].cloze, fields);
    if (fields.failed()) return failed();
    sortFields();
    return true;
  }

  // The note type of row columns 0 (id) and, where not NULL, its field of
  // columns 2 (number) and 3 (name).
  void addNoteType(std::int64_t id, bool cloze, const Statement& row) {
    NoteType& type = noteTypes_[id];
    type.cloze = cloze;
    if (!row.text(3).data()) return;
    type.fields.emplace_back(row.number(2), std::string(row.text(3)));
  }

  void sortFields() {
    for (auto& [id, type] : noteTypes_) std::stable_sort(type.fields.begin(), type.fields.end());
  }

  // The decks named by the option, from rows of (id, name).
  bool readDecks(const char* sql) {
    Statement decks(db_, sql);
    std::vector<std::string> names;
    while (decks.next()) {
      const std::string name = shownDeckName(decks.text(1));
      if (isInDeck(name, options_.deck)) wantedDecks_.insert(decks.number(0));
      names.push_back(name);
    }
    if (decks.failed()) return failed();
    findings_.deckFound = !wantedDecks_.empty();
    if (findings_.deckFound) return true;
    std::string present;
    for (const std::string& name : names) present += (present.empty() ? "„" : ", „") + name + "“";
    failure_.reason =
        fill(convert_text::NoSuchDeck, {options_.deck, present.empty() ? convert_text::NoDecks : present});
    return false;
  }

  // The places of the pair's fields in notes of `type`: false when the
  // type lacks a field asked for, or has fewer than two.
  bool fieldPlaces(const NoteType* type, std::size_t& first, std::size_t& second) const {
    if (options_.firstField.empty()) {
      first = 0;
      second = 1;
      return !type || type->fields.size() >= 2;
    }
    if (!type) return false;
    const auto placeOf = [&](const std::string& wanted, std::size_t& place) {
      for (place = 0; place < type->fields.size(); ++place)
        if (compareFolded(type->fields[place].second, wanted) == 0) return true;
      return false;
    };
    return placeOf(options_.firstField, first) && placeOf(options_.secondField, second);
  }

  bool readNotes() {
    // Each note's first card, in the order of the notes' ids; the cards
    // of notes that do not exist are passed over.
    Statement cards(db_, "SELECT nid, did, odid, reps, lapses, min(ord) FROM cards GROUP BY nid ORDER BY nid");
    Statement notes(db_, "SELECT id, mid, flds FROM notes ORDER BY id");
    bool cardLeft = cards.next();
    std::int64_t number = 0;
    while (notes.next()) {
      const TextPlace place{TextPlace::Note, ++number};
      const std::int64_t id = notes.number(0);
      while (cardLeft && cards.number(0) < id) cardLeft = cards.next();
      const bool hasCard = cardLeft && cards.number(0) == id;
      if (!options_.deck.empty()) {
        const std::int64_t deck = hasCard ? (cards.number(2) != 0 ? cards.number(2) : cards.number(1)) : 0;
        if (!hasCard || !wantedDecks_.contains(deck)) continue;
      }
      const auto type = noteTypes_.find(notes.number(1));
      const NoteType* noteType = type == noteTypes_.end() ? nullptr : &type->second;
      if (noteType && noteType->cloze) {
        ++findings_.cloze;
        pairs_.skip();
        continue;
      }
      std::size_t first = 0, second = 0;
      if (!fieldPlaces(noteType, first, second)) {
        ++findings_.withoutFields;
        pairs_.skip();
        continue;
      }
      addPair(notes.text(2), first, second, hasCard ? cards.number(3) : 0, hasCard ? cards.number(4) : 0, place);
    }
    if (notes.failed() || cards.failed()) return failed();
    findings_.mediaReferences = html_.mediaReferences;
    return true;
  }

  void addPair(std::string_view fields, std::size_t first, std::size_t second, std::int64_t reviews,
               std::int64_t lapses, TextPlace place) {
    const std::size_t places[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
      text_[i].clear();
      std::string_view field = fields;
      for (std::size_t k = 0; k < places[i] && !field.empty(); ++k) {
        const std::size_t end = field.find('\x1f');
        field = end == std::string_view::npos ? std::string_view() : field.substr(end + 1);
      }
      appendTextOfHtml(field.substr(0, field.find('\x1f')), TextEncoding::Utf8, text_[i], &html_);
    }
    const auto held = [](std::int64_t count) {
      return static_cast<std::int16_t>(std::clamp<std::int64_t>(count, INT16_MIN, INT16_MAX));
    };
    // Held to a range first, so that a hostile number cannot overflow.
    constexpr std::int64_t kFar = std::int64_t{1} << 40;
    reviews = std::clamp(reviews, -kFar, kFar);
    lapses = std::clamp(lapses, -kFar, kFar);
    pairs_.addPair(viewOf(text_[0]), viewOf(text_[1]), TextEncoding::Utf8, held(reviews - lapses), held(lapses), place);
  }

  sqlite3* db_;
  const AnkiOptions& options_;
  PairBuilder& pairs_;
  AnkiFindings& findings_;
  ReadFailure& failure_;
  std::map<std::int64_t, NoteType> noteTypes_;
  std::set<std::int64_t> wantedDecks_;
  ByteBuffer text_[2];
  HtmlField html_;
};

}  // namespace

bool readAnkiCollection(ByteBuffer& database, const AnkiOptions& options, PairBuilder& pairs, AnkiFindings& findings,
                        ReadFailure& failure) {
  const auto fail = [&](const std::string& cause) {
    failure.reason = fill(convert_text::PackageUnreadable, {cause});
    return false;
  };
  if (!viewOf(database).starts_with(std::string_view("SQLite format 3\0", 16)))
    return fail(convert_text::CollectionNotSqlite);
  std::string cause;
  Database db = openMemoryDatabase(cause);
  if (!db) return fail(cause);
  defend(db.get());
  const auto size = static_cast<sqlite3_int64>(database.size());
  if (sqlite3_deserialize(db.get(), "main", reinterpret_cast<unsigned char*>(database.data()), size, size,
                          SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
    return fail(causeOf(db.get()));
  sqlite3_exec(db.get(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
  return CollectionReader(db.get(), options, pairs, findings, failure).read();
}

// --- writing -------------------------------------------------------------------------

namespace {

constexpr std::string_view kSchema = R"(
CREATE TABLE col (id integer PRIMARY KEY, crt integer NOT NULL, mod integer NOT NULL, scm integer NOT NULL,
  ver integer NOT NULL, dty integer NOT NULL, usn integer NOT NULL, ls integer NOT NULL, conf text NOT NULL,
  models text NOT NULL, decks text NOT NULL, dconf text NOT NULL, tags text NOT NULL);
CREATE TABLE notes (id integer PRIMARY KEY, guid text NOT NULL, mid integer NOT NULL, mod integer NOT NULL,
  usn integer NOT NULL, tags text NOT NULL, flds text NOT NULL, sfld integer NOT NULL, csum integer NOT NULL,
  flags integer NOT NULL, data text NOT NULL);
CREATE TABLE cards (id integer PRIMARY KEY, nid integer NOT NULL, did integer NOT NULL, ord integer NOT NULL,
  mod integer NOT NULL, usn integer NOT NULL, type integer NOT NULL, queue integer NOT NULL, due integer NOT NULL,
  ivl integer NOT NULL, factor integer NOT NULL, reps integer NOT NULL, lapses integer NOT NULL,
  left integer NOT NULL, odue integer NOT NULL, odid integer NOT NULL, flags integer NOT NULL, data text NOT NULL);
CREATE TABLE revlog (id integer PRIMARY KEY, cid integer NOT NULL, usn integer NOT NULL, ease integer NOT NULL,
  ivl integer NOT NULL, lastIvl integer NOT NULL, factor integer NOT NULL, time integer NOT NULL,
  type integer NOT NULL);
CREATE TABLE graves (usn integer NOT NULL, oid integer NOT NULL, type integer NOT NULL);
CREATE INDEX ix_notes_usn ON notes (usn);
CREATE INDEX ix_cards_usn ON cards (usn);
CREATE INDEX ix_revlog_usn ON revlog (usn);
CREATE INDEX ix_cards_nid ON cards (nid);
CREATE INDEX ix_cards_sched ON cards (did, queue, due);
CREATE INDEX ix_revlog_cid ON revlog (cid);
CREATE INDEX ix_notes_csum ON notes (csum);
)";

// `text` (UTF-8) as a JSON string, quotes included.
std::string jsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      json += escape;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

// A trainer's text (Windows-1252) as the HTML of a field: UTF-8 with the
// characters that HTML gives a meaning written as entities, and so are
// the blanks at its start and end, which HTML would not show, and the
// no-break space, so that each comes back as it was (html_text.h).
void appendFieldHtml(std::string_view cp1252, ByteBuffer& out) {
  const auto append = [&](std::string_view entity) { out.insert(out.end(), entity.begin(), entity.end()); };
  const std::size_t first = cp1252.find_first_not_of(" \t"), last = cp1252.find_last_not_of(" \t");
  for (std::size_t i = 0; i < cp1252.size(); ++i) {
    const char c = cp1252[i];
    if ((c == ' ' || c == '\t') && (i < first || i > last || first == std::string_view::npos)) {
      append(c == ' ' ? "&#32;" : "&#9;");
      continue;
    }
    switch (c) {
      case '&':
        append("&amp;");
        break;
      case '<':
        append("&lt;");
        break;
      case '>':
        append("&gt;");
        break;
      case '\x1f':  // Anki's separator of fields
        append("&#31;");
        break;
      case '\xA0':  // kept, where a plain no-break space would become a blank
        append("&#160;");
        break;
      default:
        appendUtf8(out, codePointOfCp1252(static_cast<unsigned char>(c)));
    }
  }
}

// An unpredictable-looking but fixed name of a note, from its texts and
// place: the same list gives the same names, so that Anki knows a deck it
// imports again.
std::string guidOf(std::string_view fields, std::int64_t position) {
  const auto digest = sha1(std::string(fields) + '\x1f' + std::to_string(position));
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = value << 8 | digest[i];
  static constexpr std::string_view kDigits =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&()*+,-./:;<=>?@[]^_`{|}~";
  std::string guid;
  do {
    guid += kDigits[value % kDigits.size()];
    value /= kDigits.size();
  } while (value != 0);
  return guid;
}

// The first 32 bits of the SHA-1 of a field's text: Anki's checksum.
std::int64_t checksumOf(std::string_view text) {
  const auto digest = sha1(text);
  return std::int64_t{digest[0]} << 24 | std::int64_t{digest[1]} << 16 | std::int64_t{digest[2]} << 8 | digest[3];
}

std::string collectionJson(std::string_view deckName, std::int64_t modelId, std::int64_t deckId, std::int64_t createdAt,
                           std::int64_t pairs, std::string& models, std::string& decks, std::string& deckConfig) {
  const std::string mid = std::to_string(modelId), did = std::to_string(deckId), now = std::to_string(createdAt);
  const auto field = [](std::string_view name, int number) {
    return "{\"name\": " + jsonString(name) + ", \"ord\": " + std::to_string(number) +
           ", \"sticky\": false, \"rtl\": false, \"font\": \"Arial\", \"size\": 20, \"media\": []}";
  };
  models = "{\"" + mid + "\": {\"id\": " + mid + ", \"name\": \"Zelvo Lingotak\", \"type\": 0, \"mod\": " + now +
           ", \"usn\": -1, \"sortf\": 0, \"did\": " + did +
           ", \"tmpls\": [{\"name\": " + jsonString("Vokabel → Übersetzung") +
           ", \"ord\": 0, \"qfmt\": \"{{Vokabel}}\", \"afmt\": \"{{FrontSide}}<hr id=answer>{{" +
           "Übersetzung}}\", \"bqfmt\": \"\", \"bafmt\": \"\", \"did\": null, \"bfont\": \"\", \"bsize\": 0}], "
           "\"flds\": [" +
           field("Vokabel", 0) + ", " + field("Übersetzung", 1) +
           "], \"css\": \".card {\\n font-family: arial;\\n font-size: 20px;\\n text-align: center;\\n color: "
           "black;\\n background-color: white;\\n}\\n\", \"latexPre\": \"\\\\documentclass[12pt]{article}\\n"
           "\\\\special{papersize=3in,5in}\\n\\\\usepackage[utf8]{inputenc}\\n\\\\usepackage{amssymb,amsmath}\\n"
           "\\\\pagestyle{empty}\\n\\\\setlength{\\\\parindent}{0in}\\n\\\\begin{document}\\n\", \"latexPost\": "
           "\"\\\\end{document}\", \"latexsvg\": false, \"req\": [[0, \"any\", [0]]], \"tags\": [], \"vers\": []}}";
  const auto deck = [&](std::string_view id, std::string_view name) {
    return "\"" + std::string(id) + "\": {\"id\": " + std::string(id) + ", \"name\": " + jsonString(name) +
           ", \"mod\": " + now +
           ", \"usn\": -1, \"lrnToday\": [0, 0], \"revToday\": [0, 0], \"newToday\": [0, 0], \"timeToday\": "
           "[0, 0], \"collapsed\": false, \"browserCollapsed\": false, \"desc\": \"\", \"dyn\": 0, \"conf\": 1, "
           "\"extendNew\": 0, \"extendRev\": 0}";
  };
  decks = "{" + deck("1", "Default") + ", " + deck(did, deckName) + "}";
  deckConfig =
      "{\"1\": {\"id\": 1, \"name\": \"Default\", \"mod\": 0, \"usn\": 0, \"maxTaken\": 60, \"autoplay\": true, "
      "\"timer\": 0, \"replayq\": true, \"dyn\": false, \"new\": {\"bury\": false, \"delays\": [1.0, 10.0], "
      "\"initialFactor\": 2500, \"ints\": [1, 4, 0], \"order\": 1, \"perDay\": 20}, \"lapse\": {\"delays\": "
      "[10.0], \"leechAction\": 1, \"leechFails\": 8, \"minInt\": 1, \"mult\": 0.0}, \"rev\": {\"perDay\": 200, "
      "\"ease4\": 1.3, \"ivlFct\": 1.0, \"maxIvl\": 36500, \"bury\": false, \"hardFactor\": 1.2}}}";
  return "{\"nextPos\": " + std::to_string(pairs + 1) + ", \"estTimes\": true, \"activeDecks\": [" + did +
         "], \"sortType\": \"noteFld\", \"timeLim\": 0, "
         "\"sortBackwards\": false, \"addToCur\": true, \"curDeck\": " +
         did + ", \"newSpread\": 0, \"dueCounts\": true, \"curModel\": \"" + mid + "\", \"collapseTime\": 1200}";
}

}  // namespace

bool writeAnkiCollection(const VocabList& list, std::string_view deckName, std::int64_t createdAt, ByteBuffer& database,
                         std::string& reason) {
  Database db = openMemoryDatabase(reason);
  if (!db) return false;
  const auto failed = [&] {
    reason = causeOf(db.get());
    return false;
  };
  if (sqlite3_exec(db.get(), std::string(kSchema).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
    return failed();
  const std::int64_t firstId = createdAt * 1000;  // Anki's ids are times in milliseconds
  const std::int64_t modelId = firstId, deckId = firstId + 1;
  std::string models, decks, deckConfig;
  const std::string conf = collectionJson(deckName, modelId, deckId, createdAt, list.size(), models, decks, deckConfig);
  Statement col(db.get(), "INSERT INTO col VALUES (1, ?1, ?2, ?2, 11, 0, 0, 0, ?3, ?4, ?5, ?6, '{}')");
  col.bind(1, createdAt - createdAt % 86400);
  col.bind(2, firstId);
  col.bind(3, conf);
  col.bind(4, models);
  col.bind(5, decks);
  col.bind(6, deckConfig);
  if (!col.prepared() || !col.run()) return failed();
  Statement note(db.get(), "INSERT INTO notes VALUES (?1, ?2, ?3, ?4, -1, '', ?5, ?6, ?7, 0, '')");
  Statement card(db.get(), "INSERT INTO cards VALUES (?1, ?2, ?3, 0, ?4, -1, 0, 0, ?5, 0, 0, ?6, ?7, 0, 0, 0, 0, '')");
  if (!note.prepared() || !card.prepared()) return failed();
  ByteBuffer fields, sortText;
  for (std::int64_t i = 0; i < list.size(); ++i) {
    const PairView pair = list[i];
    fields.clear();
    appendFieldHtml(pair.vocabulary, fields);
    fields.push_back('\x1f');
    appendFieldHtml(pair.translation, fields);
    sortText.clear();
    appendUtf8FromCp1252(pair.vocabulary, sortText);
    const std::int64_t id = firstId + i;
    note.bind(1, id);
    note.bind(2, guidOf(viewOf(fields), i));
    note.bind(3, modelId);
    note.bind(4, createdAt);
    note.bind(5, viewOf(fields));
    note.bind(6, viewOf(sortText));
    note.bind(7, checksumOf(viewOf(sortText)));
    const std::int64_t right = std::max<std::int64_t>(pair.correctCount, 0);
    const std::int64_t wrong = std::max<std::int64_t>(pair.wrongCount, 0);
    card.bind(1, id);
    card.bind(2, id);
    card.bind(3, deckId);
    card.bind(4, createdAt);
    card.bind(5, i + 1);
    card.bind(6, right + wrong);
    card.bind(7, wrong);
    if (!note.run() || !card.run()) return failed();
  }
  if (sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return failed();
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(db.get(), "main", &size, 0);
  if (!bytes) throw std::bad_alloc();
  database.assign(reinterpret_cast<const char*>(bytes), reinterpret_cast<const char*>(bytes) + size);
  sqlite3_free(bytes);
  return true;
}

}  // namespace zl
