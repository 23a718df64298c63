// KVTML, the vocabulary documents of KDE's trainers: read (version 2.0,
// and the older version 1) and written (version 2.0).
//
// Reading streams the XML through expat and never holds more than one
// entry besides the pairs. A document that declares entities (internal or
// external) is refused, the external DTD is never loaded, and a reference
// to an entity that nothing declares is refused rather than dropped.
// Documents in UTF-8, UTF-16, ISO-8859-1, US-ASCII and windows-1252 read.
//
// Version 2.0: the entries are those directly under /kvtml/entries (the
// <entry id=".."/> of lessons and word types are references, not entries).
// A pair is the <text> of the entry's <translation> of the first chosen
// language and that of the second; other elements inside a translation
// (comments, conjugations, comparisons, choices...) are not read. The
// counts come from the <grade> of both chosen translations: right is the
// sum of (count - errorcount), wrong the sum of errorcount, each kept as
// its low 16 bits read as a signed number, like the counts of the trainer's
// own files; a missing number counts 0. A language appearing twice in one
// entry counts once, with its first translation.
//
// Version 1 (<e><o>word</o><t>translation</t>...</e>): the languages are
// numbered 0 for <o> and 1, 2, ... for the <t> in order; counts are 0.
//
// Writing: a KVTML 2.0 document in UTF-8 with the languages "Vokabel"
// (locale "en") and "Übersetzung" (locale "de") and all entries in one
// lesson "Vokabeln". The locales are a guess, since the trainer's files do
// not say which languages they hold; KDE's trainers let the user change
// them. A pair with counts gets a <grade fromid="0"> in its translation
// (currentgrade 0, an empty date, as the format requires them) with count =
// right + wrong and errorcount = wrong, each count taken as its unsigned
// 16-bit value, so the numbers are never negative and reading gives back
// exactly the counts written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/pair_builder.h"
#include "convert/read_failure.h"
#include "platform/byte_buffer.h"
#include "store/vocab_store.h"

namespace zl {

struct KvtmlOptions {
  // The identifier ids of the two languages that make a pair; an empty one
  // is the first (second) identifier in document order.
  std::string firstLanguage;
  std::string secondLanguage;
};

// True when `bytes` begin an XML document whose root element is "kvtml",
// any version. Looks at the first megabyte only (byte-order mark, XML
// declaration, comments and a DOCTYPE may come before the root).
bool isKvtmlDocument(std::string_view bytes);

// Reads the KVTML document `bytes` into `pairs` (texts as UTF-8; an entry
// without both texts is skipped and counted there). Returns false with
// `failure` set (German reason, the line where reading stopped) when the
// bytes are not well-formed XML, not KVTML, declare entities, refer to an
// undeclared entity, or lack the languages asked for (or, without a
// choice, do not name two languages); `pairs` may then hold what was read
// before.
bool readKvtml(std::string_view bytes, const KvtmlOptions& options, PairBuilder& pairs, ReadFailure& failure);

// The XML declaration, DOCTYPE, <kvtml>, <information>, <identifiers> and
// the opening <entries>, appended to `out`.
void writeKvtmlHead(ByteBuffer& out);

// The entries of the pairs [first, last) of `list`, appended to `out`; an
// entry's id is its list position. A control character that XML cannot
// carry (any below U+0020 other than tab) is noted in `report` with its
// entry (TextPlace::Entry, counted from 1) and written as "?" when
// report.replacing(), else left out (and the conversion then writes
// nothing).
void writeKvtmlEntries(const VocabList& list, std::int64_t first, std::int64_t last, ByteBuffer& out,
                       UnmappableReport& report);

// The closing </entries>, the lesson holding entries 0 to entryCount - 1
// (none when there are no entries) and </kvtml>, appended to `out`.
void writeKvtmlTail(std::int64_t entryCount, ByteBuffer& out);

}  // namespace zl
