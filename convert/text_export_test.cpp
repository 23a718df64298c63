#include "convert/text_export.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "convert/delimited_text.h"

namespace zl {
namespace {

std::string written(const VocabList& list, char delimiter, bool ankiHead = false) {
  ByteBuffer out;
  if (ankiHead) writeAnkiHead(out);
  writeDelimitedPairs(list, 0, list.size(), delimiter, out);
  return std::string(viewOf(out));
}

TEST(TextExport, FieldsAreQuotedOnlyWhereAReaderWouldMisreadThem) {
  struct Case {
    std::string vocabulary, translation;
    std::int16_t right, wrong;
    char delimiter;
    std::string expected;
  } cases[] = {
      {"Haus", "house", 3, -4, ',', "Haus,house,3,-4\r\n"},
      {" T\xFCr ", "\x80", 32767, -32768, ',', " T\xC3\xBCr ,\xE2\x82\xAC,32767,-32768\r\n"},
      {"a,b", "say \"hi\"", 0, 0, ',', "\"a,b\",\"say \"\"hi\"\"\",0,0\r\n"},
      {"a;b", "a\tb", 0, 0, ',', "\"a;b\",\"a\tb\",0,0\r\n"},
      {"a,b", "c;d", 1, 2, '\t', "\"a,b\"\t\"c;d\"\t1\t2\r\n"},
      {"#html:true", "x#", 0, 0, '\t', "\"#html:true\"\tx#\t0\t0\r\n"},
      {"one\r\ntwo", "\"", 0, 0, ',', "\"one\r\ntwo\",\"\"\"\",0,0\r\n"},
      {"a|b", "c", 0, 0, '|', "\"a|b\"|c|0|0\r\n"},
  };
  for (const Case& c : cases) {
    VocabList list;
    list.append({c.vocabulary, c.translation, c.right, c.wrong});
    EXPECT_EQ(written(list, c.delimiter), c.expected) << c.vocabulary;
  }
  VocabList two;
  two.append({"a", "b", 1, 2});
  two.append({"c", "d", 0, 0});
  ByteBuffer out;
  writeDelimitedPairs(two, 1, 2, ',', out);
  EXPECT_EQ(std::string(viewOf(out)), "c,d,0,0\r\n");
  EXPECT_EQ(written(two, '\t', true), "#separator:tab\r\n#html:false\r\na\tb\t1\t2\r\nc\td\t0\t0\r\n");
}

// Reads `bytes` back and fails the test where a pair differs from `list`.
void expectReadBackAs(const std::string& bytes, const VocabList& list) {
  UnmappableReport report(false);
  PairBuilder pairs(report, bytes.size());
  ReadFailure failure;
  ASSERT_TRUE(readDelimitedText(bytes, {}, pairs, failure)) << failure.reason << "\n" << bytes;
  EXPECT_EQ(pairs.skipped(), 0) << bytes;
  VocabList again;
  pairs.moveInto(again);
  ASSERT_EQ(again.size(), list.size()) << bytes;
  for (std::int64_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(again[i].vocabulary, list[i].vocabulary) << bytes;
    EXPECT_EQ(again[i].translation, list[i].translation) << bytes;
    EXPECT_EQ(again[i].correctCount, list[i].correctCount) << bytes;
    EXPECT_EQ(again[i].wrongCount, list[i].wrongCount) << bytes;
  }
}

void expectRoundTrips(const VocabList& list) {
  expectReadBackAs(written(list, ','), list);
  expectReadBackAs(written(list, '\t'), list);
  expectReadBackAs(written(list, '\t', true), list);
}

TEST(TextExport, WhatIsWrittenReadsBackByteForByte) {
  VocabList everyByte;  // each byte but CR, LF and NUL, alone and inside texts
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == '\r' || byte == '\n') continue;
    const std::string one(1, static_cast<char>(byte));
    everyByte.append({one, "x" + one + "y", static_cast<std::int16_t>(byte), static_cast<std::int16_t>(-byte)});
  }
  expectRoundTrips(everyByte);

  // One row is all a reader has to guess the delimiter from; here the
  // other candidates split it into more fields than the true one.
  for (const char* text : {"a;b;c;d;e", "a\tb\tc\td\te", "a,b,c,d,e", "a, b; c\td, e; f\tg"}) {
    VocabList list;
    list.append({"x", text, 1, 2});
    expectRoundTrips(list);
  }

  // Short lists of texts full of what readers stumble over.
  std::mt19937 random(19);
  const std::string hostile = ",;\t\"# <&";
  const auto text = [&] {
    std::string t(1 + random() % 12, ' ');
    for (char& c : t) {
      do {
        c = random() % 2 ? hostile[random() % hostile.size()] : static_cast<char>(random() % 256);
      } while (c == '\r' || c == '\n' || c == '\0');
    }
    return t;
  };
  for (int round = 0; round < 400 && !HasFailure(); ++round) {
    VocabList list;
    for (int n = 1 + random() % 4; n > 0; --n)
      list.append({text(), text(), static_cast<std::int16_t>(random()), static_cast<std::int16_t>(random() % 3)});
    expectRoundTrips(list);
  }
}

}  // namespace
}  // namespace zl
