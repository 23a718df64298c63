#include "test_support/anki_packages.h"

#include <sqlite3.h>
#include <zstd.h>

#include <algorithm>
#include <stdexcept>

#include "convert/zip_archive.h"

namespace zl::anki_test {

namespace {

constexpr std::string_view kNotesAndCards = R"(
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
CREATE INDEX ix_cards_nid ON cards (nid);
CREATE INDEX ix_notes_csum ON notes (csum);
)";

constexpr std::string_view kNewerTables = R"(
CREATE TABLE notetypes (id integer NOT NULL PRIMARY KEY, name text NOT NULL COLLATE unicase,
  mtime_secs integer NOT NULL, usn integer NOT NULL, config blob NOT NULL);
CREATE UNIQUE INDEX idx_notetypes_name ON notetypes (name);
CREATE TABLE fields (ntid integer NOT NULL, ord integer NOT NULL, name text NOT NULL COLLATE unicase,
  config blob NOT NULL, PRIMARY KEY (ntid, ord)) WITHOUT ROWID;
CREATE UNIQUE INDEX idx_fields_name_ntid ON fields (name, ntid);
CREATE TABLE decks (id integer PRIMARY KEY NOT NULL, name text NOT NULL COLLATE unicase,
  mtime_secs integer NOT NULL, usn integer NOT NULL, common blob NOT NULL, kind blob NOT NULL);
CREATE UNIQUE INDEX idx_decks_name ON decks (name);
)";

// `text` as an SQL string literal.
std::string quoted(std::string_view text) {
  std::string sql = "'";
  for (const char c : text) sql += c == '\'' ? std::string("''") : std::string(1, c);
  return sql + "'";
}

std::string jsonOf(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') json += '\\';
    json += c;
  }
  return json + "\"";
}

std::string fieldsOf(const Note& note) {
  std::string fields;
  for (const std::string& field : note.fields) fields += (fields.empty() ? "" : "\x1f") + field;
  return fields;
}

// The notes and their cards; deck names as stored by the layout.
std::string notesSql(const Collection& collection) {
  std::string sql;
  std::int64_t cardId = 1000;
  for (std::size_t i = 0; i < collection.notes.size(); ++i) {
    const Note& note = collection.notes[i];
    const std::string id = std::to_string(100 + i);
    sql += "INSERT INTO notes VALUES (" + id + ", 'g" + id + "', " + std::to_string(note.type) + ", 0, 0, '', " +
           quoted(fieldsOf(note)) + ", '', 0, 0, '');\n";
    for (std::size_t ord = note.cards.size(); ord-- > 0;)
      sql += "INSERT INTO cards VALUES (" + std::to_string(cardId++) + ", " + id + ", " + std::to_string(note.deck) +
             ", " + std::to_string(ord) + ", 0, 0, 0, 0, 0, 0, 0, " + std::to_string(note.cards[ord].reviews) + ", " +
             std::to_string(note.cards[ord].lapses) + ", 0, 0, 0, 0, '');\n";
  }
  return sql;
}

// Anki's collation as far as the tests' names need it: ASCII letters in
// either case, so that the indexes of names are ordered as Anki's are.
int compareAsciiFolded(void*, int leftLength, const void* left, int rightLength, const void* right) {
  const int common = std::min(leftLength, rightLength);
  const int compared = sqlite3_strnicmp(static_cast<const char*>(left), static_cast<const char*>(right), common);
  return compared != 0 ? compared : leftLength - rightLength;
}

}  // namespace

std::string databaseOf(const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(":memory:", &db) != SQLITE_OK) throw std::runtime_error("sqlite3_open");
  sqlite3_create_collation(db, "unicase", SQLITE_UTF8, nullptr, compareAsciiFolded);
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string said = error ? error : "?";
    sqlite3_free(error);
    sqlite3_close(db);
    throw std::runtime_error("SQL of a test collection: " + said);
  }
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
  std::string database(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  sqlite3_free(bytes);
  sqlite3_close(db);
  return database;
}

std::string olderCollection(const Collection& collection) {
  std::string models = "{", decks = "{";
  for (const NoteType& type : collection.types) {
    std::string fields;
    for (std::size_t ord = 0; ord < type.fields.size(); ++ord)
      fields += std::string(fields.empty() ? "" : ", ") + "{\"name\": " + jsonOf(type.fields[ord]) +
                ", \"ord\": " + std::to_string(ord) + ", \"sticky\": false}";
    models += std::string(models.size() > 1 ? ", " : "") + "\"" + std::to_string(type.id) +
              "\": {\"id\": " + std::to_string(type.id) + ", \"name\": \"Typ\", \"type\": " + (type.cloze ? "1" : "0") +
              ", \"flds\": [" + fields + "], \"tmpls\": []}";
  }
  for (const Deck& deck : collection.decks)
    decks += std::string(decks.size() > 1 ? ", " : "") + "\"" + std::to_string(deck.id) +
             "\": {\"id\": " + std::to_string(deck.id) + ", \"name\": " + jsonOf(deck.name) + ", \"dyn\": 0}";
  return databaseOf(std::string(kNotesAndCards) + "INSERT INTO col VALUES (1, 0, 0, 0, 11, 0, 0, 0, '{}', " +
                    quoted(models + "}") + ", " + quoted(decks + "}") + ", '{}', '{}');\n" + notesSql(collection));
}

std::string newerCollection(const Collection& collection) {
  std::string sql = std::string(kNotesAndCards) + std::string(kNewerTables) +
                    "INSERT INTO col VALUES (1, 0, 0, 0, 18, 0, 0, 0, '', '', '', '', '');\n";
  for (const NoteType& type : collection.types) {
    // The config: a protocol buffer whose field 1 is the kind (1: cloze),
    // after a field 3 (the CSS) that a reader must step over.
    const std::string config = type.cloze ? "x'1a03637373"
                                            "0801'"
                                          : "x'1a03637373'";
    sql += "INSERT INTO notetypes VALUES (" + std::to_string(type.id) + ", 'Typ " + std::to_string(type.id) +
           "', 0, 0, " + config + ");\n";
    for (std::size_t ord = 0; ord < type.fields.size(); ++ord)
      sql += "INSERT INTO fields VALUES (" + std::to_string(type.id) + ", " + std::to_string(ord) + ", " +
             quoted(type.fields[ord]) + ", x'');\n";
  }
  for (const Deck& deck : collection.decks) {
    std::string name = deck.name;
    for (std::size_t at; (at = name.find("::")) != std::string::npos;) name.replace(at, 2, "\x1f");
    sql += "INSERT INTO decks VALUES (" + std::to_string(deck.id) + ", " + quoted(name) + ", 0, 0, x'', x'');\n";
  }
  return databaseOf(sql + notesSql(collection));
}

std::string zipOf(const std::vector<std::pair<std::string, std::string>>& members) {
  std::vector<std::pair<std::string, std::string_view>> views;
  for (const auto& [name, bytes] : members) views.emplace_back(name, bytes);
  ByteBuffer zip;
  std::string reason;
  if (!writeZip(views, zip, reason)) throw std::runtime_error("zip of a test package: " + reason);
  return std::string(zip.begin(), zip.end());
}

std::string zstdOf(std::string_view bytes) {
  std::string compressed(ZSTD_compressBound(bytes.size()), '\0');
  const std::size_t size = ZSTD_compress(compressed.data(), compressed.size(), bytes.data(), bytes.size(), 3);
  if (ZSTD_isError(size)) throw std::runtime_error("zstd of a test collection");
  compressed.resize(size);
  return compressed;
}

std::string package(Generation generation, const Collection& collection) {
  // The decoy: one note of the basic type asking for a newer Anki.
  const Collection decoy{{{1, {"Front", "Back"}}}, {{1, "Default"}}, {{1, {"Please update", "to the latest Anki"}}}};
  switch (generation) {
    case Generation::Anki2:
      return zipOf({{"collection.anki2", olderCollection(collection)}, {"media", "{}"}});
    case Generation::Anki21:
      return zipOf({{"collection.anki2", olderCollection(decoy)},
                    {"collection.anki21", olderCollection(collection)},
                    {"media", "{}"}});
    case Generation::Anki21b:
      return zipOf({{"collection.anki2", olderCollection(decoy)},
                    {"collection.anki21b", zstdOf(newerCollection(collection))},
                    {"media", zstdOf("")},
                    {"meta", "\x08\x03"}});
  }
  return {};
}

}  // namespace zl::anki_test
