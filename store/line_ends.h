// Where lines end in a vocabulary file's bytes, 64 bytes at a time: the
// CR, LF and NUL bytes of a block as one bit each, found with SSE2 where
// the processor has it. Shared by the readers of store/.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zl {

struct LineEnds {
  std::uint64_t cr = 0, lf = 0, nul = 0;
};

// The CR, LF and NUL bytes of the 64 bytes of `text` at `block` (fewer at
// its end), bit i for the byte at `block` + i.
inline LineEnds lineEndsAt(std::string_view text, std::size_t block) {
  const char* bytes = text.data() + block;
  LineEnds ends;
#if defined(__SSE2__)
  if (block + 64 <= text.size()) {
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128();
    for (int part = 0; part < 4; ++part) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
      const auto bits = [&](__m128i hits) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(hits))) << (16 * part);
      };
      ends.cr |= bits(_mm_cmpeq_epi8(chunk, cr));
      ends.lf |= bits(_mm_cmpeq_epi8(chunk, lf));
      ends.nul |= bits(_mm_cmpeq_epi8(chunk, nul));
    }
    return ends;
  }
#endif
  const std::size_t count = std::min<std::size_t>(64, text.size() - block);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (bytes[i] == '\r') ends.cr |= bit;
    if (bytes[i] == '\n') ends.lf |= bit;
    if (bytes[i] == '\0') ends.nul |= bit;
  }
  return ends;
}

// One bit for each line that ends in the block: at every CR and NUL, and
// at every LF but the one of a CR LF. `crBefore` is 1 when the block
// before ended in a CR, and becomes that of this block.
inline std::uint64_t lineEndBits(const LineEnds& ends, std::uint64_t& crBefore) {
  const std::uint64_t lfAfterCr = ends.lf & ((ends.cr << 1) | crBefore);
  crBefore = ends.cr >> 63;
  return ends.cr | ends.nul | (ends.lf & ~lfAfterCr);
}

}  // namespace zl
