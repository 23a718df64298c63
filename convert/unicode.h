// Unicode for the converter: which encoding a text file is in, UTF-16 made
// UTF-8, UTF-8 appended to byte buffers, letters compared in either case,
// and the closest Windows-1252 text of a character Windows-1252 cannot hold.
//
// Pure functions on bytes; nothing fails: a malformed sequence reads as
// U+FFFD.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/byte_buffer.h"
#include "store/utf8.h"

namespace zl {

enum class FileEncoding {
  Utf8,     // with or without a byte-order mark
  Utf16LE,  // only with its byte-order mark
  Utf16BE,  // only with its byte-order mark
  Cp1252,   // anything that is not well-formed UTF-8
};

// The encoding of a text file's bytes: a byte-order mark decides; without
// one, bytes that are well-formed UTF-8 throughout are UTF-8 and anything
// else is Windows-1252. `bomLength` is the length of the mark (0 without).
FileEncoding detectFileEncoding(std::string_view bytes, std::size_t& bomLength);

// UTF-16 (without its mark) as UTF-8, appended to `out`. An unpaired
// surrogate and a last odd byte become U+FFFD.
void appendUtf8FromUtf16(std::string_view bytes, bool bigEndian, ByteBuffer& out);

// The small letter of a capital in the Latin, Greek and Cyrillic scripts
// (Latin-1, Latin Extended-A, the basic Greek and Cyrillic alphabets); any
// other character as it is.
char32_t lowerLetter(char32_t codePoint);

// Compares two UTF-8 texts with their letters folded by lowerLetter:
// negative, 0 or positive as `a` sorts before, with or after `b`.
int compareFolded(std::string_view a, std::string_view b);

// Windows-1252 text as UTF-8, appended to `out`.
void appendUtf8FromCp1252(std::string_view cp1252, ByteBuffer& out);

// The closest Windows-1252 text of a character Windows-1252 cannot hold:
// the character without the accents that Windows-1252 lacks ("ǖ" gives
// "ü", "ő" gives "o", "ł" gives "l", "ǆ" gives "dž", "ﬁ" gives "fi"), or ""
// when no letter or digit is left of it ("→").
std::string_view closestCp1252(char32_t codePoint);

}  // namespace zl
