#include "convert/unicode.h"

#include <algorithm>
#include <cstring>

#include "convert/closest_table.h"
#include "store/cp1252.h"

namespace zl {

namespace {

unsigned char byteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The length of the well-formed UTF-8 sequence at `i`, 0 when there is none.
std::size_t wellFormedSequenceAt(std::string_view s, std::size_t i) {
  const unsigned char lead = byteAt(s, i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() - i < length) return 0;
  if (byteAt(s, i + 1) < low || byteAt(s, i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if ((byteAt(s, i + k) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

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
    const std::size_t length = wellFormedSequenceAt(s, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

FileEncoding detectFileEncoding(std::string_view bytes, std::size_t& bomLength) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bomLength = 3;
    return FileEncoding::Utf8;
  }
  if (bytes.starts_with("\xFF\xFE")) {
    bomLength = 2;
    return FileEncoding::Utf16LE;
  }
  if (bytes.starts_with("\xFE\xFF")) {
    bomLength = 2;
    return FileEncoding::Utf16BE;
  }
  bomLength = 0;
  return isWellFormedUtf8(bytes) ? FileEncoding::Utf8 : FileEncoding::Cp1252;
}

char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const unsigned char lead = byteAt(s, i);
  if (lead < 0x80) return s[i++];
  const std::size_t length = wellFormedSequenceAt(s, i);
  if (length == 0) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (byteAt(s, i + k) & 0x3F);
  i += length;
  return cp;
}

void appendUtf8(ByteBuffer& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void appendUtf8FromUtf16(std::string_view bytes, bool bigEndian, ByteBuffer& out) {
  const auto unitAt = [&](std::size_t i) -> char32_t {
    const unsigned first = byteAt(bytes, i), second = byteAt(bytes, i + 1);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) unit = 0xFFFD;
    appendUtf8(out, unit);
  }
  if (i < bytes.size()) appendUtf8(out, 0xFFFD);
}

char32_t lowerLetter(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x178) return 0xFF;  // Ÿ
  if (c >= 0x100 && c <= 0x17F) {
    // Pairs of capital and small, the capital first, except for three runs
    // that pair the other way round.
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (oddCapitals) return c % 2 == 1 ? c + 1 : c;
    return c % 2 == 0 ? c + 1 : c;
  }
  if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

int compareFolded(std::string_view a, std::string_view b) {
  std::size_t i = 0, k = 0;
  while (i < a.size() && k < b.size()) {
    const char32_t left = lowerLetter(nextCodePoint(a, i));
    const char32_t right = lowerLetter(nextCodePoint(b, k));
    if (left != right) return left < right ? -1 : 1;
  }
  if (i < a.size()) return 1;
  return k < b.size() ? -1 : 0;
}

void appendUtf8FromCp1252(std::string_view text, ByteBuffer& out) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
      out.push_back(c);
    else
      appendUtf8(out, codePointOfCp1252(byte));
  }
}

std::string_view closestCp1252(char32_t codePoint) {
  const ClosestText* end = kClosestTexts + kClosestTextCount;
  const ClosestText* found = std::lower_bound(
      kClosestTexts, end, codePoint, [](const ClosestText& entry, char32_t cp) { return entry.codePoint < cp; });
  if (found == end || found->codePoint != codePoint) return {};
  return {kClosestBytes + found->offset, found->length};
}

}  // namespace zl
