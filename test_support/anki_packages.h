// Anki packages made for tests as Anki makes them: collections built with
// SQLite from the statements of Anki's published schemas (11 with JSON in
// `col`, 18 with tables of note types, fields and decks), zipped with
// libzip, the newest generation compressed with zstd and accompanied by
// the decoy collection that asks the user to update. The statements are
// written here anew, not taken from the converter's writer, so that the
// reader is held to Anki's layout rather than to what the writer makes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zl::anki_test {

struct NoteType {
  std::int64_t id = 0;
  std::vector<std::string> fields;  // names, in their order
  bool cloze = false;
};

struct Deck {
  std::int64_t id = 0;
  std::string name;  // its levels joined by "::"
};

struct Card {
  std::int64_t reviews = 0;
  std::int64_t lapses = 0;
};

struct Note {
  std::int64_t type = 0;
  std::vector<std::string> fields;
  std::int64_t deck = 1;
  std::vector<Card> cards = {Card{}};  // by template number; stored last first
};

struct Collection {
  std::vector<NoteType> types;
  std::vector<Deck> decks = {{1, "Default"}};
  std::vector<Note> notes;  // their ids rise in this order
};

enum class Generation {
  Anki2,    // collection.anki2 alone
  Anki21,   // collection.anki21 beside the decoy collection.anki2
  Anki21b,  // zstd-compressed collection.anki21b, schema 18, beside the decoy
};

// The SQLite database of `collection` in the layout of schema 11 (older)
// or 18 (newer).
std::string olderCollection(const Collection& collection);
std::string newerCollection(const Collection& collection);
// The database that the SQL statements `sql` make.
std::string databaseOf(const std::string& sql);

std::string package(Generation generation, const Collection& collection);
std::string zipOf(const std::vector<std::pair<std::string, std::string>>& members);
std::string zstdOf(std::string_view bytes);

}  // namespace zl::anki_test
