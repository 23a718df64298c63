#include "store/piece_reader.h"

#include <algorithm>
#include <bit>
#include <cerrno>

#include "store/file_format.h"
#include "store/line_ends.h"

namespace zl {

namespace {

// parseCount, with the counts as the program writes them, a digit alone,
// read on the spot.
[[gnu::always_inline]] inline std::int16_t countAt(const char* text, std::size_t length) {
  if (length == 1 && static_cast<unsigned char>(text[0] - '0') <= 9) return static_cast<std::int16_t>(text[0] - '0');
  return parseCount({text, length});
}

}  // namespace

PieceReader::PieceReader(std::int64_t room) {
  records_.resize(static_cast<std::size_t>(std::max<std::int64_t>(room, 16)));
}

void PieceReader::take(std::string_view filled) {
  // A line end is known for what it is once the byte after it is in (a CR
  // may be half of a CR LF), and a record for not being the file's last
  // once a byte after its end is: a block is read when two bytes beyond it
  // are in.
  if (filled.size() >= 66) scan(filled, (filled.size() - 66 + 64) & ~std::size_t{63});
}

void PieceReader::finish(std::string_view all) {
  scan(all, all.size());
  const std::size_t size = all.size();
  if (lineStart_ < size) {  // a last line without a line end
    starts_[line_] = lineStart_;
    lengths_[line_] = size - lineStart_;
    ++line_;
    lineStart_ = size;
  }
  if (line_ == 0) return;
  for (int missing = line_; missing < 4; ++missing) starts_[missing] = size, lengths_[missing] = 0;
  addRecord(all.data(), size, size);
  line_ = 0;
}

Outcome readPairsInPieces(FileSystem& files, const std::string& path, std::int64_t pairRoom, VocabList& list) {
  PieceReader reader(pairRoom);
  ByteBuffer bytes;
  bool grownTooLarge = false;
  const Outcome read = files.readFile(path, bytes, [&](std::string_view filled) {
    grownTooLarge = filled.size() > MaxFileBytes;
    if (!grownTooLarge) reader.take(filled);
    return !grownTooLarge;
  });
  if (!read) return read;
  if (grownTooLarge) return systemFailure(EFBIG, path);
  reader.finish(viewOf(bytes));
  list.appendStored(list.storeBytes(std::move(bytes)), reader.takeRecords());
  return {};
}

PairRecords PieceReader::takeRecords() {
  records_.resize(count_);
  return std::move(records_);
}

void PieceReader::scan(std::string_view bytes, std::size_t until) {
  for (; scanned_ < until; scanned_ += 64) {
    std::uint64_t ends = lineEndBits(lineEndsAt(bytes, scanned_), crBefore_);
    while (ends != 0) {
      endLine(bytes.data(), bytes.size(), scanned_ + static_cast<std::size_t>(std::countr_zero(ends)));
      ends &= ends - 1;
    }
  }
}

[[gnu::always_inline]] inline void PieceReader::endLine(const char* bytes, std::size_t size, std::size_t end) {
  starts_[line_] = lineStart_;
  lengths_[line_] = end - lineStart_;
  lineStart_ = end + 1 + (bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n');
  if (++line_ == 4) {
    addRecord(bytes, lineStart_, size);
    line_ = 0;
  }
}

[[gnu::always_inline]] inline void PieceReader::addRecord(const char* bytes, std::size_t next, std::size_t size) {
  // Empty lines that end the file are no pair.
  if ((lengths_[0] | lengths_[1] | lengths_[2] | lengths_[3]) == 0 && next >= size) return;
  if (count_ == records_.size()) records_.resize(records_.size() * 2);
  PairSpan& span = records_[count_++];
  span.placeTexts(starts_[0], starts_[1]);
  span.vocabularyLength = static_cast<std::uint32_t>(lengths_[0]);
  span.translationLength = static_cast<std::uint32_t>(lengths_[1]);
  span.correctCount = countAt(bytes + starts_[2], lengths_[2]);
  span.wrongCount = countAt(bytes + starts_[3], lengths_[3]);
}

}  // namespace zl
