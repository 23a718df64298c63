#include "store/cp1252.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

TEST(Cp1252, EveryByteSurvivesTheTripToUnicodeAndBack) {
  for (int b = 0; b < 256; ++b) {
    unsigned char back = 0;
    ASSERT_TRUE(cp1252OfCodePoint(codePointOfCp1252(static_cast<unsigned char>(b)), back)) << b;
    EXPECT_EQ(back, b);
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1252FromUtf8(utf8FromCp1252(all)), all);
}

TEST(Cp1252, HighBytesAreNotLatin1) {
  EXPECT_EQ(codePointOfCp1252(0x80), U'€');
  EXPECT_EQ(codePointOfCp1252(0x84), U'„');
  EXPECT_EQ(codePointOfCp1252(0x8A), U'Š');
  EXPECT_EQ(codePointOfCp1252(0x96), U'–');
  EXPECT_EQ(codePointOfCp1252(0x9F), U'Ÿ');
  EXPECT_EQ(codePointOfCp1252(0xDF), U'ß');
  EXPECT_EQ(codePointOfCp1252(0xE4), U'ä');
}

TEST(Cp1252, CharactersOutsideTheCodePageAreRefused) {
  unsigned char byte = 42;
  EXPECT_FALSE(cp1252OfCodePoint(U'ą', byte));
  EXPECT_FALSE(cp1252OfCodePoint(U'Ж', byte));
  EXPECT_FALSE(cp1252OfCodePoint(0x0085, byte));  // a C1 control the code page puts "…" on
  EXPECT_FALSE(cp1252OfCodePoint(0x1F600, byte));
  EXPECT_EQ(byte, 42);
}

TEST(Cp1252, ProgramTextsConvertFromUtf8) {
  EXPECT_EQ("Öffnen"_w,
            "\xD6"
            "ffnen");
  EXPECT_EQ("Schließen"_w,
            "Schlie\xDF"
            "en");
  EXPECT_EQ("Geändert"_w, "Ge\xE4ndert");
  EXPECT_EQ(cp1252FromUtf8("€ – Ž"), "\x80 \x96 \x8E");
  // Unrepresentable and malformed input shows as "?".
  EXPECT_EQ(cp1252FromUtf8("Жa"), "?a");
  EXPECT_EQ(cp1252FromUtf8("a\xC3"), "a?");
  EXPECT_EQ(cp1252FromUtf8("\xFF"
                           "b"),
            "?b");
  EXPECT_EQ(cp1252FromUtf8("a\xC0\xAF"
                           "b"),
            "a??b");  // an overlong "/" is never a "/"
}

TEST(Utf8, PathBytesBecomeTextEveryReaderTakes) {
  const struct {
    std::string bytes, text;
  } cases[] = {
      {"Französisch Übung.ltk", "Französisch Übung.ltk"},
      {"Русский 日本語 😀 \xEF\xBF\xBD", "Русский 日本語 😀 \xEF\xBF\xBD"},
      {"franz\xF6sisch", "franz\uFFFDsisch"},  // Windows-1252, not UTF-8
      {"a\xC3", "a\uFFFD"},                    // cut short at the end
      {"\xE6\x97x", "\uFFFDx"},                // cut short before another character
      // Overlong forms of "/": a byte that begins nothing, and a lead whose
      // next byte does not fit it, are each a fault of their own.
      {"\xC0\xAF/\xF0\x80\x80\xAF", "\uFFFD\uFFFD/\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},                      // a surrogate
      {"\xF4\x90\x80\x80\xF8", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF, and no lead byte
  };
  for (const auto& c : cases) EXPECT_EQ(wellFormedUtf8(c.bytes), c.text) << c.bytes;
}

TEST(Cp1252, LowerCaseFollowsTheSystemMapping) {
  EXPECT_EQ(lowerCp1252("ÄÖÜ ABC Éé"_w), "äöü abc éé"_w);
  EXPECT_EQ(lowerCp1252("ŠŒŽŸ"_w), "šœžÿ"_w);
  // ß has no capital here, × is no letter, digits and punctuation stay.
  EXPECT_EQ(lowerCp1252("ß×1!"_w), "ß×1!"_w);
  EXPECT_EQ(lowerCp1252(std::string_view("\xC0\xDE")), "\xE0\xFE");
}

TEST(Cp1252, AsciiFoldingLeavesAccentedLettersAlone) {
  EXPECT_EQ(lowerAscii('A'), 'a');
  EXPECT_EQ(lowerAscii('Z'), 'z');
  EXPECT_EQ(lowerAscii('a'), 'a');
  EXPECT_EQ(lowerAscii(0xC4), 0xC4);  // Ä
  EXPECT_EQ(lowerAscii('['), '[');
}

}  // namespace
}  // namespace zl
