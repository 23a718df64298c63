// Anki collections: the SQLite databases inside Anki packages, read into
// pairs and written for Anki to import. SQLite is the library; the
// database is held in memory and never touches the disk.
//
// Reading takes both layouts in circulation: schema 11, with the note
// types and decks as JSON in the table `col`, and schemas 15 to 18, with
// them in the tables `notetypes`, `fields` and `decks`, whose names sort
// with Anki's collation "unicase" (provided here: letters folded as by
// lowerLetter). A collection comes from the internet, so it is opened
// read-only with SQLite's defensive settings (no writing to the schema,
// the schema not trusted, no views, triggers or extensions); only tables
// are read, and an object of another kind in place of one is refused.
//
// A note becomes a pair of two of its fields, as text (HTML made text,
// media references dropped). The counts come from the note's first card
// (the lowest template number): right = reviews - lapses, wrong = lapses,
// each held to -32768..32767.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/pair_builder.h"
#include "convert/read_failure.h"
#include "platform/byte_buffer.h"
#include "store/vocab_store.h"

namespace zl {

struct AnkiOptions {
  // The names of the fields that make the pair, as Anki shows them (any
  // letter case); both empty: the first two fields of each note type.
  std::string firstField;
  std::string secondField;
  // Only the notes whose first card is in this deck or below it
  // ("Französisch" takes "Französisch::Kapitel 1"); empty: every deck.
  std::string deck;
};

// What a collection held besides the pairs, for the user.
struct AnkiFindings {
  std::int64_t cloze = 0;          // cloze notes, which make no pair
  std::int64_t withoutFields = 0;  // notes whose type lacks the fields asked for
  std::int64_t mediaReferences = 0;
  bool deckFound = false;  // with a deck asked for: a deck of that name exists
};

// Reads the notes of the SQLite database `database` into `pairs`, in the
// order of their ids (the order they were made in), each placed as
// TextPlace::Note with its number in that order. Returns false with
// `failure` set when the bytes are no collection (or a broken one), when
// a needed table is no table, or when the deck asked for does not exist.
bool readAnkiCollection(ByteBuffer& database, const AnkiOptions& options, PairBuilder& pairs, AnkiFindings& findings,
                        ReadFailure& failure);

// A collection of schema 11 holding `list` in one deck named `deckName`
// (UTF-8), with a note type "Zelvo Lingotak" of the fields "Vokabel" and
// "Übersetzung" and one card per note, Vokabel on its front. A pair's
// counts become its card's reviews (right + wrong) and lapses (wrong),
// each at least 0. `createdAt` (seconds since 1970) dates the collection,
// its notes and cards. False with `reason` when SQLite fails.
bool writeAnkiCollection(const VocabList& list, std::string_view deckName, std::int64_t createdAt, ByteBuffer& database,
                         std::string& reason);

}  // namespace zl
