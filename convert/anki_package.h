// Anki packages: the .apkg of a deck and the .colpkg of a collection, a zip
// archive holding an Anki collection (anki_collection.h) and its media.
//
// Three generations are in circulation, told apart by the collection's
// name: "collection.anki21b" (zstd-compressed, schema 18), then
// "collection.anki21" and "collection.anki2" (schema 11). A package of a
// newer generation also holds an older collection whose one note asks
// the user to update Anki; the newest collection is always the one read.
//
// A package comes from the internet: it is read in memory, nothing of it
// is written to disk, the names inside it are only compared, and what the
// zip and zstd unpack is checked as it comes: the collection must start
// as an SQLite database and stay within `limit` bytes, within 64 MB more
// than a hundred times the package, and within the size its own header
// gives. So a zip bomb is refused after little work, in bounded memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/anki_collection.h"

namespace zl {

// True when `bytes` are a zip archive holding an Anki collection.
bool isAnkiPackage(std::string_view bytes);

// Reads the newest collection of the package `bytes` into `pairs`.
// Returns false with `failure` set (German, with the cause) when the zip,
// its compression or the collection is broken, too large, or no package.
bool readAnkiPackage(std::string_view bytes, std::uint64_t limit, const AnkiOptions& options, PairBuilder& pairs,
                     AnkiFindings& findings, ReadFailure& failure);

// A package of `list` that Anki's versions old and new import: a schema 11
// "collection.anki2" (see writeAnkiCollection) and an empty media list.
bool writeAnkiPackage(const VocabList& list, std::string_view deckName, std::int64_t createdAt, ByteBuffer& out,
                      std::string& reason);

}  // namespace zl
