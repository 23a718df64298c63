#include "store/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zl {
namespace {

std::vector<char32_t> decoded(std::string_view bytes) {
  std::vector<char32_t> codePoints;
  for (std::size_t i = 0; i < bytes.size();) codePoints.push_back(nextCodePoint(bytes, i));
  return codePoints;
}

// The edges of each sequence length, and every way a sequence can be no
// character; each faulty part is one U+FFFD and what follows it is read.
TEST(Utf8, DecodesEveryCharacterAndOneMarkForEachFaultyPart) {
  constexpr char32_t X = 0xFFFD;
  const struct {
    std::string bytes;
    std::vector<char32_t> codePoints;
  } cases[] = {
      {"\x7F\xC2\x80\xDF\xBF", {0x7F, 0x80, 0x7FF}},
      {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF", {0x800, 0xD7FF, 0xE000, 0xFFFF}},
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", {0x10000, 0x10FFFF}},
      {"\xC1\xBF", {X, X}},                // an overlong two-byte form: no lead at all
      {"\xE0\x9F\xBF", {X, X, X}},         // overlong three bytes
      {"\xED\xA0\x80", {X, X, X}},         // a surrogate
      {"\xF4\x90\x80\x80", {X, X, X, X}},  // past U+10FFFF
      {"\xF0\x9F\x98", {X}},               // cut short at the end
      {"\xF0\x9F\x98z", {X, U'z'}},        // cut short before a letter
      {"\x80\xBF"
       "a",
       {X, X, U'a'}},               // continuation bytes alone
      {"\xC3\xC3\xA4", {X, U'ä'}},  // a lead without its byte, then a whole one
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decoded(c.bytes), c.codePoints) << c.bytes;
    const bool whole = std::find(c.codePoints.begin(), c.codePoints.end(), X) == c.codePoints.end();
    EXPECT_EQ(isWellFormedUtf8(c.bytes), whole) << c.bytes;
  }
}

TEST(Utf8, EncodingThenDecodingGivesEveryCharacterBack) {
  for (char32_t c = 0; c <= 0x10FFFF; c += (c < 0x1000 ? 1 : 97)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string bytes;
    appendUtf8(bytes, c);
    std::size_t i = 0;
    ASSERT_EQ(nextCodePoint(bytes, i), c);
    ASSERT_EQ(i, bytes.size());
    // Long runs of ASCII take the eight-bytes-at-a-time path.
    ASSERT_TRUE(isWellFormedUtf8("abcdefghijklmnop" + bytes + "abcdefghij"));
  }
}

}  // namespace
}  // namespace zl
