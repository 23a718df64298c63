#include "store/file_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>

#include "store/line_ends.h"
#include "store/piece_reader.h"

namespace zl {

namespace {

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Bytes that end a line: CR, LF and NUL.
constexpr std::array<bool, 256> kLineEnd = [] {
  std::array<bool, 256> ends{};
  ends['\r'] = ends['\n'] = ends['\0'] = true;
  return ends;
}();

}  // namespace

std::int64_t parseLenientNumber(std::string_view line) {
  // Counts as the program writes them, the common case by far.
  if (line.size() == 1 && line[0] >= '0' && line[0] <= '9') return line[0] - '0';
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  unsigned base = 10;
  if (i < line.size() && line[i] == '$') {
    base = 16;
    ++i;
  } else if (i < line.size() && line[i] == '%') {
    base = 2;
    ++i;
  }
  std::uint64_t value = 0;  // unsigned, so that overlong numbers wrap instead of overflowing
  for (; i < line.size(); ++i) {
    const int digit = digitValue(line[i]);
    if (digit >= static_cast<int>(base)) break;
    value = value * base + static_cast<unsigned>(digit);
  }
  if (negative) value = ~value + 1;
  return static_cast<std::int64_t>(value);
}

std::int16_t parseCount(std::string_view line) { return static_cast<std::int16_t>(parseLenientNumber(line)); }

std::uint64_t RecordReader::terminatorsAt(std::size_t block) const {
  const LineEnds ends = lineEndsAt(bytes_, block);
  return ends.cr | ends.lf | ends.nul;
}

// Inlined by force: the two run four times per pair, and calls cost a third
// of the reading time.
[[gnu::always_inline]] inline std::size_t RecordReader::nextTerminator(std::size_t from) {
  if ((from & ~std::size_t{63}) == maskBlock_) {  // most lines end in the block of the line before
    const std::uint64_t ahead = mask_ & (~std::uint64_t{0} << (from & 63));
    if (ahead != 0) return maskBlock_ + static_cast<std::size_t>(std::countr_zero(ahead));
    from = maskBlock_ + 64;
  }
  while (from < bytes_.size()) {
    const std::size_t block = from & ~std::size_t{63};
    if (block != maskBlock_) {
      maskBlock_ = block;
      mask_ = terminatorsAt(block);
    }
    const std::uint64_t ahead = mask_ & (~std::uint64_t{0} << (from & 63));
    if (ahead != 0) return block + static_cast<std::size_t>(std::countr_zero(ahead));
    from = block + 64;
  }
  return bytes_.size();
}

[[gnu::always_inline]] inline std::string_view RecordReader::readLine() {
  const std::size_t start = position_;
  const std::size_t end = nextTerminator(start);
  const char* const bytes = bytes_.data();
  position_ = end;
  if (end < bytes_.size()) {
    ++position_;  // the terminator
    if (bytes[end] == '\r' && position_ < bytes_.size() && bytes[position_] == '\n') ++position_;
  }
  return std::string_view(bytes + start, end - start);
}

bool RecordReader::next(PairSpan& span) {
  if (atEnd()) return false;
  const std::string_view vocabulary = readLine();
  const std::string_view translation = readLine();
  const std::string_view right = readLine();
  const std::string_view wrong = readLine();
  if (atEnd() && vocabulary.empty() && translation.empty() && right.empty() && wrong.empty()) return false;
  span.placeTexts(static_cast<std::uint64_t>(vocabulary.data() - bytes_.data()),
                  static_cast<std::uint64_t>(translation.data() - bytes_.data()));
  span.vocabularyLength = static_cast<std::uint32_t>(vocabulary.size());
  span.translationLength = static_cast<std::uint32_t>(translation.size());
  span.correctCount = parseCount(right);
  span.wrongCount = parseCount(wrong);
  return true;
}

std::int64_t pairCountBound(std::string_view bytes) {
  // A line ends at every CR, LF and NUL, except at the LF of a CR LF.
  std::int64_t lines = 0;
  std::uint64_t crBefore = 0;
  for (std::size_t block = 0; block < bytes.size(); block += 64)
    lines += std::popcount(lineEndBits(lineEndsAt(bytes, block), crBefore));
  if (!bytes.empty() && !kLineEnd[static_cast<unsigned char>(bytes.back())]) ++lines;  // an unterminated last line
  return (lines + 3) / 4;
}

std::int64_t readRecords(ByteBuffer&& bytes, std::int64_t pairRoom, VocabList& list) {
  const std::int64_t before = list.size();
  const std::uint64_t base = list.storeBytes(std::move(bytes));
  PieceReader reader(pairRoom);
  reader.finish(list.storedBytes(base));
  list.appendStored(base, reader.takeRecords());
  return list.size() - before;
}

void writeRecords(const VocabList& list, std::int64_t first, std::int64_t last, ByteBuffer& out) {
  // Two line ends and two counts of at most six characters, each with its
  // line end: what a pair adds to its texts.
  constexpr std::size_t kMostAdded = 2 * 2 + 2 * (6 + 2);
  // Room for everything at once without a pass to measure, mostly: the
  // texts are all in the list's text block. The bytes are written through a
  // pointer, a pair at a time, with no check but one per pair.
  std::size_t used = out.size();
  std::size_t room = used + list.storedBytes(0).size() + static_cast<std::size_t>(last - first) * kMostAdded;
  out.resize(room);
  const auto put = [](char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    at += text.size();
    at[0] = '\r';
    at[1] = '\n';
    return at + 2;
  };
  for (std::int64_t i = first; i < last; ++i) {
    const PairView pair = list[i];
    const std::size_t most = pair.vocabulary.size() + pair.translation.size() + kMostAdded;
    if (room - used < most) {
      room = std::max(room + room / 2, used + most);
      out.resize(room);
    }
    char* at = put(put(out.data() + used, pair.vocabulary), pair.translation);
    for (std::int16_t count : {pair.correctCount, pair.wrongCount}) {
      if (count >= 0 && count <= 9)  // most counts, and quicker than to_chars
        *at++ = static_cast<char>('0' + count);
      else
        at = std::to_chars(at, at + 6, count).ptr;
      *at++ = '\r';
      *at++ = '\n';
    }
    used = static_cast<std::size_t>(at - out.data());
  }
  out.resize(used);
}

}  // namespace zl
