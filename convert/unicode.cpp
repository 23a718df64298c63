#include "convert/unicode.h"

#include <algorithm>

#include "convert/closest_table.h"
#include "store/cp1252.h"
#include "store/utf8.h"

namespace zl {

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

void appendUtf8FromUtf16(std::string_view bytes, bool bigEndian, ByteBuffer& out) {
  const auto unitAt = [&](std::size_t i) -> char32_t {
    const unsigned first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
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
  // The Greek capitals with an accent: Ά, then Έ Ή Ί, Ό, Ύ Ώ.
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
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
