#include "store/utf8.h"

#include <cstdint>
#include <cstring>

namespace zl {

namespace {

unsigned char byteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The length of the sequence that `lead` begins and the range its second
// byte must be in (which rules out overlong forms, surrogates and what lies
// above U+10FFFF); length 0 for a byte that begins none.
struct Lead {
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
};

Lead leadOf(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  if (lead >= 0xF1 && lead <= 0xF3) return {4};
  return {};
}

// How many bytes at `i` fit the sequence their lead begins: its length
// when it is whole.
std::size_t fittingBytesAt(std::string_view s, std::size_t i, const Lead& lead) {
  std::size_t k = 1;
  for (; k < lead.length && i + k < s.size(); ++k) {
    const unsigned char byte = byteAt(s, i + k);
    const bool fits = k == 1 ? byte >= lead.low && byte <= lead.high : (byte & 0xC0) == 0x80;
    if (!fits) break;
  }
  return k;
}

}  // namespace

char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const unsigned char first = byteAt(s, i);
  if (first < 0x80) {
    ++i;
    return first;
  }
  const Lead lead = leadOf(first);
  if (lead.length == 0) {
    ++i;
    return 0xFFFD;
  }
  const std::size_t fitting = fittingBytesAt(s, i, lead);
  if (fitting < lead.length) {
    i += fitting;
    return 0xFFFD;
  }
  char32_t codePoint = first & (0x7F >> lead.length);
  for (std::size_t k = 1; k < lead.length; ++k) codePoint = (codePoint << 6) | (byteAt(s, i + k) & 0x3F);
  i += lead.length;
  return codePoint;
}

bool isWellFormedUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    // Eight ASCII bytes at a time: the bulk of most word lists.
    while (s.size() - i >= 8) {
      std::uint64_t block;
      std::memcpy(&block, s.data() + i, 8);
      if (block & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i >= s.size()) break;
    if (byteAt(s, i) < 0x80) {
      ++i;
      continue;
    }
    const Lead lead = leadOf(byteAt(s, i));
    if (lead.length == 0 || fittingBytesAt(s, i, lead) < lead.length) return false;
    i += lead.length;
  }
  return true;
}

}  // namespace zl
