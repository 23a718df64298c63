// The vocabulary file format: four lines per pair (word, translation, right
// count, wrong count), every line ending in CR LF, texts as Windows-1252
// bytes; doc/file-format.md has the grammar.
//
// Pure: bytes in, pairs out and pairs in, bytes out; no I/O. Reading never
// fails and never rejects anything: every byte sequence reads as some list
// of pairs. Lines end at CR LF, a lone CR, a lone LF, a NUL byte or the end
// of the bytes, and may be of any length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/vocab_store.h"

namespace zl {

// The lenient number of a count line: blanks and tabs skipped, an optional
// sign, then "$" hexadecimal, "%" binary or decimal digits up to the first
// other character; no digits give 0. Formed as a 64-bit value (wrapping),
// negated after "-".
std::int64_t parseLenientNumber(std::string_view line);

// A count as read from a file: the low 16 bits of the lenient number, as a
// signed value (65537 gives 1, 32768 gives -32768).
std::int16_t parseCount(std::string_view line);

// Files above this size are not read: a text's length must fit 32 bits.
inline constexpr std::uint64_t MaxFileBytes = 0xFFFFFFFFu;

// Reads the records of a vocabulary file one by one.
class RecordReader {
 public:
  // The bytes must outlive the reader and be at most MaxFileBytes long.
  explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

  // Reads the next record: where its texts lie in the bytes, and its
  // counts. Returns false, leaving `span` alone, when no pair is left: at
  // the end of the bytes, and for a trailing remainder of nothing but empty
  // lines (a blank line after the last record would otherwise read as a
  // pair with two empty texts). A last record that lacks lines is completed
  // with empty texts and zero counts.
  bool next(PairSpan& span);

  // True when every byte has been read.
  bool atEnd() const { return position_ >= bytes_.size(); }

 private:
  std::string_view readLine();
  // The position of the first CR, LF or NUL at or after `from`; the size of
  // the bytes when there is none.
  std::size_t nextTerminator(std::size_t from);
  std::uint64_t terminatorsAt(std::size_t block) const;

  std::string_view bytes_;
  std::size_t position_ = 0;
  // Line ends of the 64-byte block that reading is in.
  std::size_t maskBlock_ = static_cast<std::size_t>(-1);
  std::uint64_t mask_ = 0;
};

// The most pairs `bytes` can read as: a quarter of their lines, rounded up.
// One quick pass over the line ends; nothing is allocated.
std::int64_t pairCountBound(std::string_view bytes);

// Reads every pair of `bytes` and appends it to `list`, which keeps the bytes
// as the storage of the texts; the list first makes room for `pairRoom`
// more pairs (pairCountBound gives the most there can be) and grows
// beyond when there are more. Returns the number of pairs appended.
std::int64_t readRecords(ByteBuffer&& bytes, std::int64_t pairRoom, VocabList& list);
inline std::int64_t readRecords(ByteBuffer&& bytes, VocabList& list) {
  const std::int64_t pairRoom = pairCountBound(viewOf(bytes));
  return readRecords(std::move(bytes), pairRoom, list);
}

// The bytes of the pairs [first, last) of `list`, four lines each, every
// line ending in CR LF, appended to `out`. No pairs give no bytes.
void writeRecords(const VocabList& list, std::int64_t first, std::int64_t last, ByteBuffer& out);

}  // namespace zl
