// Windows-1252, the single-byte encoding of every text the program holds.
//
// The table maps all 256 bytes to Unicode and back without loss: the five
// bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the control characters of the same number, so any byte read from a file
// survives a trip through a text field. Two case foldings: `lowerCp1252` (the
// system mapping used by answers and search: A-Z and the accented capitals)
// and `lowerAscii` (A-Z only, used by the alphabetical sort). Beside it
// UTF-8, the system's encoding of paths and the printer's of its texts.
// Pure functions.
#pragma once

#include <string>
#include <string_view>

namespace zl {

// The Unicode code point of one Windows-1252 byte.
char32_t codePointOfCp1252(unsigned char byte);

// The Windows-1252 byte of a code point. Returns false (and leaves `byte`
// alone) when Windows-1252 cannot hold the character.
bool cp1252OfCodePoint(char32_t codePoint, unsigned char& byte);

// UTF-8 text to Windows-1252. A character Windows-1252 cannot hold, and a
// malformed UTF-8 sequence, become "?". Used for the program's own texts and
// for showing paths, never for data the user typed (the fields refuse such
// characters before they reach the program).
std::string cp1252FromUtf8(std::string_view utf8);

// Windows-1252 text to UTF-8 (lossless).
std::string utf8FromCp1252(std::string_view cp1252);

// The bytes as UTF-8 that any reader takes: each malformed sequence, and a
// code point UTF-8 may not carry, becomes U+FFFD. Well-formed text comes
// back unchanged. Used for paths, which the system hands over as bytes.
std::string wellFormedUtf8(std::string_view bytes);

// The system's lower-case mapping of a Windows-1252 byte.
unsigned char lowerCp1252(unsigned char byte);
std::string lowerCp1252(std::string_view text);

// A-Z to a-z; every other byte unchanged.
inline unsigned char lowerAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// The program's German texts are written in UTF-8 source; "Öffnen"_w is the
// same text in Windows-1252, the encoding of every text shown in the window.
inline std::string operator""_w(const char* utf8, std::size_t size) {
  return cp1252FromUtf8(std::string_view(utf8, size));
}

}  // namespace zl
