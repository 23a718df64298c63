// UTF-8, the one decoder and encoder of the program: the system's paths,
// the printer's texts, and every file the converter reads and writes.
//
// Strict: an overlong form (which could smuggle in a "/" or a line end), a
// surrogate, anything above U+10FFFF and a sequence cut short are no
// characters. Each such maximal part of a sequence (a lead byte with the
// continuation bytes that fit it, or a single byte that starts nothing)
// reads as one U+FFFD, as the Unicode standard recommends.
// Pure functions.
#pragma once

#include <cstddef>
#include <string_view>

namespace zl {

// Decodes the sequence at `i` and moves `i` past it (or past the faulty
// part). `i` must be below the size.
char32_t nextCodePoint(std::string_view utf8, std::size_t& i);

// True when every sequence of `bytes` is a character.
bool isWellFormedUtf8(std::string_view bytes);

// Appends `codePoint` in UTF-8 to `out`: a std::string or a ByteBuffer.
template <typename Bytes>
void appendUtf8(Bytes& out, char32_t codePoint) {
  const auto push = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
  if (codePoint < 0x80) {
    push(codePoint);
  } else if (codePoint < 0x800) {
    push(0xC0 | (codePoint >> 6));
    push(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    push(0xE0 | (codePoint >> 12));
    push(0x80 | ((codePoint >> 6) & 0x3F));
    push(0x80 | (codePoint & 0x3F));
  } else {
    push(0xF0 | (codePoint >> 18));
    push(0x80 | ((codePoint >> 12) & 0x3F));
    push(0x80 | ((codePoint >> 6) & 0x3F));
    push(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace zl
