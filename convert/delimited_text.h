// The reader of delimited text: CSV and TSV from spreadsheets and plain
// files, and the plain-text export of flash-card programs with its "#key:"
// header lines.
//
// Pure: bytes in, pairs out through a PairBuilder; no I/O. The encoding is
// UTF-8 (with or without its byte-order mark), UTF-16 with its mark, else
// Windows-1252. Fields follow RFC 4180, read leniently; line ends are CR LF,
// LF or CR. Reading fails only when the file holds no columns at all, or
// not the ones asked for; a row without both texts is skipped and counted.
// Besides the pairs it keeps a few small buffers (and, for UTF-16 only, the
// input once as UTF-8).
#pragma once

#include <string_view>

#include "convert/pair_builder.h"
#include "convert/read_failure.h"

namespace zl {

struct DelimitedOptions {
  // 1-based columns of the file as it stands (header-named columns count
  // too); 0 and 0 take the default pair: the first two text columns.
  int firstColumn = 0;
  int secondColumn = 0;
  // The first data row holds the columns' names and is skipped.
  bool header = false;
};

// Reads delimited text into `pairs`.
//
// Header lines at the start ("#separator:", "#html:", "#guid column:", ...)
// are honoured and skipped; without "#separator:" the delimiter is the one
// of tab, semicolon and comma that splits the first rows most consistently.
// With "#html:true" tags are removed ("<br>" becomes a blank) and entities
// decoded. The columns that "#guid column:", "#notetype column:",
// "#deck column:" and "#tags column:" name are no texts. Without chosen
// columns, a third and fourth text column that hold whole numbers
// (-32768..32767) in every row that became a pair are its right and wrong
// counts; otherwise every count is 0. Each pair's place is the line on
// which its row starts. Blank lines are passed over.
//
// Returns false with `failure` set when no delimiter splits any row, when
// a header line is unusable, or when rows exist but none reaches the
// columns needed; `pairs` may then hold some pairs, which are to be thrown
// away. Returns true otherwise, also for a file without rows.
bool readDelimitedText(std::string_view bytes, const DelimitedOptions& options, PairBuilder& pairs,
                       ReadFailure& failure);

}  // namespace zl
