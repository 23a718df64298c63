// The writers of delimited text: CSV and TSV for spreadsheets, and the
// plain-text import of flash-card programs.
//
// Pure: pairs in, bytes appended to a buffer; nothing fails. Every pair is
// one row of four columns (vocabulary, translation, right count, wrong
// count) in UTF-8, each row ending in CR LF. A
// field is quoted only where it must be, so that readDelimitedText and
// spreadsheets read it back as written, whatever the texts hold.
#pragma once

#include <cstdint>

#include "platform/byte_buffer.h"
#include "store/vocab_store.h"

namespace zl {

// Appends the rows of the pairs [first, last) of `list`, their fields
// separated by `delimiter` (';', ',' or '\t'). A text is put in quotes, its
// quotes doubled, when it holds a quote, a line break, a tab, a semicolon,
// a comma or the delimiter, or starts with "#" (which would read as a
// header line); counts are signed decimal numbers. No pairs give no bytes.
void writeDelimitedPairs(const VocabList& list, std::int64_t first, std::int64_t last, char delimiter, ByteBuffer& out);

// Appends the UTF-8 byte-order mark, by which a spreadsheet opened with a
// double click knows a CSV file's text for UTF-8.
void writeByteOrderMark(ByteBuffer& out);

// Appends the header lines that come before the pairs of a flash-card
// export: "#separator:tab" and "#html:false", each ending in CR LF. The
// pairs follow as writeDelimitedPairs(..., '\t', ...) writes them.
void writeAnkiHead(ByteBuffer& out);

}  // namespace zl
