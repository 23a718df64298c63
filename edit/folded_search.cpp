#include "edit/folded_search.h"

#include <algorithm>
#include <array>
#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "store/cp1252.h"
#include "store/vocab_store.h"

namespace zl {

namespace {

const std::array<unsigned char, 256> kLower = [] {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = lowerCp1252(static_cast<unsigned char>(b));
  return table;
}();

bool matchesAt(std::string_view text, std::size_t at, std::string_view loweredTerm) {
  for (std::size_t i = 0; i < loweredTerm.size(); ++i)
    if (kLower[static_cast<unsigned char>(text[at + i])] != static_cast<unsigned char>(loweredTerm[i])) return false;
  return true;
}

std::size_t findScalar(std::string_view text, std::string_view loweredTerm, std::size_t from, std::size_t last) {
  for (std::size_t at = from; at <= last; ++at)
    if (matchesAt(text, at, loweredTerm)) return at;
  return std::string_view::npos;
}

#if defined(__SSE2__)
// The bytes that lower-case to `lowered`, as a 16-fold comparison. Most
// letters and their capitals differ in bit 5 only, so one comparison of the
// chunk with that bit set finds both (and a few other bytes, which the full
// comparison then turns down); the rest are compared one by one, at most
// three of them.
class FoldedByte {
 public:
  explicit FoldedByte(unsigned char lowered) {
    int count = 0;
    bool bit5Only = true;
    for (int b = 0; b < 256 && count < 3; ++b) {
      if (kLower[static_cast<std::size_t>(b)] != lowered) continue;
      bytes_[count++] = _mm_set1_epi8(static_cast<char>(b));
      bit5Only = bit5Only && (b | 0x20) == (lowered | 0x20);
    }
    for (int i = count; i < 3; ++i) bytes_[i] = bytes_[0];
    bit5_ = _mm_set1_epi8(bit5Only ? 0x20 : 0);
    bytes_[0] = _mm_or_si128(bytes_[0], bit5_);
    single_ = bit5Only;
  }
  __m128i hits(__m128i chunk) const {
    const __m128i first = _mm_cmpeq_epi8(_mm_or_si128(chunk, bit5_), bytes_[0]);
    if (single_) return first;
    return _mm_or_si128(_mm_or_si128(first, _mm_cmpeq_epi8(chunk, bytes_[1])), _mm_cmpeq_epi8(chunk, bytes_[2]));
  }

 private:
  __m128i bytes_[3];
  __m128i bit5_;
  bool single_ = false;
};
#endif

}  // namespace

std::size_t findFolded(std::string_view text, std::string_view loweredTerm, std::size_t from) {
  if (loweredTerm.size() > text.size() || from > text.size() - loweredTerm.size()) return std::string_view::npos;
  if (loweredTerm.empty()) return from;
  const std::size_t last = text.size() - loweredTerm.size();  // the last place a match can start
  std::size_t at = from;
#if defined(__SSE2__)
  // Candidates are where the first two bytes of the term fold right; only
  // they are compared in full. The second load reads one byte further, so
  // blocks stop 17 bytes before the end and the rest goes byte by byte.
  const FoldedByte first(static_cast<unsigned char>(loweredTerm[0]));
  const FoldedByte second(static_cast<unsigned char>(loweredTerm.size() > 1 ? loweredTerm[1] : loweredTerm[0]));
  const std::size_t secondOffset = loweredTerm.size() > 1 ? 1 : 0;
  for (; at + 17 <= text.size() && at <= last; at += 16) {
    const auto* bytes = reinterpret_cast<const __m128i*>(text.data() + at);
    const __m128i hits =
        _mm_and_si128(first.hits(_mm_loadu_si128(bytes)),
                      second.hits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + secondOffset))));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask != 0; mask &= mask - 1) {
      const std::size_t candidate = at + static_cast<std::size_t>(std::countr_zero(mask));
      if (candidate > last) return std::string_view::npos;
      if (matchesAt(text, candidate, loweredTerm)) return candidate;
    }
  }
#endif
  return at <= last ? findScalar(text, loweredTerm, at, last) : std::string_view::npos;
}

std::int64_t firstMatchingPair(const VocabList& list, std::int64_t from, std::string_view loweredTerm) {
  // Runs of at most this many pairs, so that a hit near `from` is found
  // without first walking the whole list.
  constexpr std::int64_t RunPairs = 4096;
  const std::int64_t size = list.size();
  if (loweredTerm.empty()) return from < size ? from : -1;  // every pair holds the empty term
  const std::string_view texts = list.storedBytes(0);
  for (std::int64_t begin = from; begin < size;) {
    // The run of pairs from `begin` whose texts follow each other in the
    // text block, vocabulary before translation; when the list has been
    // rearranged, often a single pair.
    const std::uint64_t start = list.spanAt(begin).vocabularyAt;
    std::uint64_t end = start;
    std::int64_t stop = begin;
    for (const std::int64_t limit = std::min(size, begin + RunPairs); stop < limit; ++stop) {
      const PairSpan& pair = list.spanAt(stop);
      if (pair.vocabularyAt < end || pair.translationAt() < pair.vocabularyAt + pair.vocabularyLength) break;
      end = pair.translationAt() + pair.translationLength;
    }
    if (stop == begin) {  // a pair whose translation overlaps its vocabulary
      const PairView pair = list[begin];
      if (containsFolded(pair.vocabulary, loweredTerm) || containsFolded(pair.translation, loweredTerm)) return begin;
      ++begin;
      continue;
    }
    // A hit in the block counts when it lies wholly inside a text, not across
    // a line end, in a count line, or across two texts stored back to back.
    const std::string_view block = texts.substr(start, end - start);
    std::int64_t pairIndex = begin;
    for (std::size_t hit = findFolded(block, loweredTerm); hit != std::string_view::npos;
         hit = findFolded(block, loweredTerm, hit + 1)) {
      const std::uint64_t at = start + hit;
      while (pairIndex + 1 < stop && list.spanAt(pairIndex + 1).vocabularyAt <= at) ++pairIndex;
      const PairSpan& pair = list.spanAt(pairIndex);
      const auto inside = [&](std::uint64_t textAt, std::uint32_t length) {
        return at >= textAt && at + loweredTerm.size() <= textAt + length;
      };
      if (inside(pair.vocabularyAt, pair.vocabularyLength) || inside(pair.translationAt(), pair.translationLength))
        return pairIndex;
    }
    begin = stop;
  }
  return -1;
}

}  // namespace zl
