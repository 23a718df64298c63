#include "convert/pair_builder.h"

#include <gtest/gtest.h>

#include "convert/unicode.h"

namespace zl {
namespace {

std::string text(const ByteBuffer& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(Unicode, EncodingIsTakenFromTheMarkOrFromWellFormedUtf8) {
  struct Case {
    std::string bytes;
    FileEncoding encoding;
    std::size_t bom;
  } cases[] = {
      {"Haus;house", FileEncoding::Utf8, 0},
      {"\xEF\xBB\xBFHaus", FileEncoding::Utf8, 3},
      {"T\xC3\xBCr;door", FileEncoding::Utf8, 0},
      {"T\xFCr;door", FileEncoding::Cp1252, 0},                // Windows-1252 "ü"
      {"\xC0\xAF", FileEncoding::Cp1252, 0},                   // overlong "/"
      {"\xED\xA0\x80", FileEncoding::Cp1252, 0},               // a surrogate
      {"\xF4\x90\x80\x80", FileEncoding::Cp1252, 0},           // above U+10FFFF
      {"abcdefgh\xE2\x82", FileEncoding::Cp1252, 0},           // cut off after a block of ASCII
      {"abcdefghijklmno\xE2\x82\xAC", FileEncoding::Utf8, 0},  // "€" after two blocks
      {"\xFF\xFEH\0", FileEncoding::Utf16LE, 2},
      {"\xFE\xFF\0H", FileEncoding::Utf16BE, 2},
  };
  for (const Case& c : cases) {
    std::size_t bom = 99;
    EXPECT_EQ(detectFileEncoding(c.bytes, bom), c.encoding) << c.bytes;
    EXPECT_EQ(bom, c.bom) << c.bytes;
  }
}

TEST(Unicode, Utf16BecomesUtf8WithSurrogatePairsJoinedAndStrayOnesReplaced) {
  ByteBuffer out;
  // "Tür", U+1F600 as a pair, an unpaired low surrogate, a last odd byte.
  appendUtf8FromUtf16(std::string_view("T\0\xFC\0r\0\x3D\xD8\x00\xDE\x00\xDC!", 13), false, out);
  EXPECT_EQ(text(out), "T\xC3\xBCr\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD");
  out.clear();
  appendUtf8FromUtf16(std::string_view("\0T\x20\xAC", 4), true, out);
  EXPECT_EQ(text(out), "T\xE2\x82\xAC");
}

TEST(Unicode, ClosestTextKeepsTheLetterAndWhatWindows1252CanHoldOfItsAccents) {
  const std::pair<char32_t, std::string> cases[] = {
      {U'ő', "o"},                                                                  // o with double acute
      {U'ǖ', "\xFC"},                                                               // u with diaeresis and macron: ü
      {U'č', "c"},    {U'Ł', "L"}, {U'ﬁ', "fi"}, {U'ǆ', "d\x9E"},                   // dž, whose ž Windows-1252 holds
      {U'Ａ', "A"},   {U'𝐱', "x"}, {U'→', ""},   {U'中', ""},     {U'\u0301', ""},  // a lone accent leaves nothing
  };
  for (const auto& [codePoint, expected] : cases)
    EXPECT_EQ(closestCp1252(codePoint), expected) << static_cast<std::uint32_t>(codePoint);
}

struct Built {
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<std::pair<int, int>> counts;
  std::int64_t skipped;
};

Built build(PairBuilder& builder) {
  Built built{{}, {}, builder.skipped()};
  VocabList list;
  builder.moveInto(list);
  for (std::int64_t i = 0; i < list.size(); ++i) {
    built.texts.emplace_back(list[i].vocabulary, list[i].translation);
    built.counts.emplace_back(list[i].correctCount, list[i].wrongCount);
  }
  return built;
}

TEST(PairBuilder, TextsBecomeOneLineOfWindows1252AndEmptyOnesAreSkipped) {
  UnmappableReport report(false);
  PairBuilder builder(report, 0);
  EXPECT_TRUE(builder.addPair("T\xC3\xBCr", "door\r\nporte\rgate\nend", TextEncoding::Utf8, 3, -2, {}));
  EXPECT_TRUE(
      builder.addPair("Stra\xDF"
                      "e",
                      std::string_view("a\0b\r", 4), TextEncoding::Cp1252, 0, 7, {}));
  EXPECT_TRUE(builder.addPair("\xE2\x82\xAC", " ", TextEncoding::Utf8, 0, 0, {}));  // a blank is a text
  EXPECT_FALSE(builder.addPair("", "alone", TextEncoding::Utf8, 1, 1, {}));
  EXPECT_FALSE(builder.addPair("alone", "", TextEncoding::Cp1252, 1, 1, {}));
  builder.skip();
  const Built built = build(builder);
  using P = std::pair<std::string, std::string>;
  EXPECT_EQ(built.texts, (std::vector<P>{{"T\xFCr", "door porte gate end"},
                                         {"Stra\xDF"
                                          "e",
                                          std::string("a b ", 4)},
                                         {"\x80", " "}}));
  EXPECT_EQ(built.counts, (std::vector<std::pair<int, int>>{{3, -2}, {0, 7}, {0, 0}}));
  EXPECT_EQ(built.skipped, 3);
  EXPECT_EQ(report.count(), 0);
}

TEST(PairBuilder, UnmappableCharactersAreReportedWithTheirPlacesOrReplaced) {
  for (const bool replacing : {false, true}) {
    UnmappableReport report(replacing);
    PairBuilder builder(report, 0);
    builder.addPair(
        "\xC5\x82\xC3\xB3"
        "d\xC5\xBA",
        "boat", TextEncoding::Utf8, 0, 0, {TextPlace::Line, 2});  // łódź
    builder.addPair("x",
                    "\xE4\xB8\xAD"
                    "\xE2\x86\x92",
                    TextEncoding::Utf8, 0, 0, {TextPlace::Entry, 7});  // 中→
    for (int line = 10; line < 16; ++line)
      builder.addPair("\xC4\x8D", "c", TextEncoding::Utf8, 0, 0, {TextPlace::Line, line});            // č
    builder.addPair("bad\xC3", "over\xC0\x8Along", TextEncoding::Utf8, 0, 0, {TextPlace::Line, 20});  // LF, overlong
    EXPECT_EQ(report.count(), 13);
    ASSERT_EQ(report.firstPlaces().size(), UnmappableReport::KeptPlaces);
    EXPECT_EQ(report.firstPlaces()[0].character, U'ł');
    EXPECT_EQ(report.firstPlaces()[1].character, U'ź');
    EXPECT_EQ(report.firstPlaces()[2].place.kind, TextPlace::Entry);
    EXPECT_EQ(report.firstPlaces()[2].place.number, 7);
    EXPECT_EQ(report.firstPlaces()[4].place.number, 10);
    const Built built = build(builder);
    if (replacing) {
      ASSERT_EQ(built.texts.size(), 9u);
      EXPECT_EQ(built.texts[0].first,
                "l\xF3"
                "dz");
      EXPECT_EQ(built.texts[1].second, "??");
      EXPECT_EQ(built.texts[8].first, "bad?");
      EXPECT_EQ(built.texts[8].second, "over??long");  // never a line end in a text
    }
  }
}

TEST(PairBuilder, CountsCanBeClearedAfterTheFact) {
  UnmappableReport report(false);
  PairBuilder builder(report, 0);
  builder.addPair("a", "b", TextEncoding::Utf8, 5, 6, {});
  builder.addPair("c", "d", TextEncoding::Utf8, -1, 2, {});
  builder.clearCounts();
  EXPECT_EQ(build(builder).counts, (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));
}

}  // namespace
}  // namespace zl
