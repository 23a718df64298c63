#include "store/file_format.h"

#include <gtest/gtest.h>

#include <random>

#include "store/cp1252.h"

namespace zl {
namespace {

std::vector<VocabEntry> readAll(std::string_view bytes) {
  VocabList list;
  readRecords(bufferOf(bytes), list);
  std::vector<VocabEntry> pairs;
  for (std::int64_t i = 0; i < list.size(); ++i)
    pairs.push_back(
        {std::string(list[i].vocabulary), std::string(list[i].translation), list[i].correctCount, list[i].wrongCount});
  return pairs;
}

std::string bytesOf(const VocabList& list) {
  ByteBuffer bytes;
  writeRecords(list, 0, list.size(), bytes);
  return std::string(viewOf(bytes));
}

void expectPair(const VocabEntry& e, std::string_view vocabulary, std::string_view translation, int right, int wrong) {
  EXPECT_EQ(e.vocabulary, vocabulary);
  EXPECT_EQ(e.translation, translation);
  EXPECT_EQ(e.correctCount, right);
  EXPECT_EQ(e.wrongCount, wrong);
}

TEST(FileFormat, OnePairIsFourLinesWithCrLf) {
  VocabList list;
  list.append({"house", "Haus", 3, 1});
  EXPECT_EQ(bytesOf(list), std::string("house\r\nHaus\r\n3\r\n1\r\n"));
  EXPECT_EQ(bytesOf(list).size(), 19u);
  EXPECT_EQ(bytesOf(VocabList()), "");
}

TEST(FileFormat, CountsAreSignedDecimals) {
  VocabList list;
  list.append({"a", "b", 0, -3});
  list.append({"c", "d", 32767, -32768});
  EXPECT_EQ(bytesOf(list), "a\r\nb\r\n0\r\n-3\r\nc\r\nd\r\n32767\r\n-32768\r\n");
}

TEST(FileFormat, ListsSurviveARoundTrip) {
  VocabList list;
  list.append({"Straße"_w, "street", 0, 0});
  list.append({"l'été"_w, "der Sommer – „heiß“ €"_w, -32768, 32767});
  list.append({"", "", 5, 0});  // an empty pair written by someone else stays
  list.append({std::string(100000, 'x'), "long", 1, 2});
  list.append({"tab\there", " blank ", -1, 12});
  const auto pairs = readAll(bytesOf(list));
  ASSERT_EQ(pairs.size(), 5u);
  for (std::size_t i = 0; i < pairs.size(); ++i)
    expectPair(pairs[i], list[static_cast<std::int64_t>(i)].vocabulary, list[static_cast<std::int64_t>(i)].translation,
               list[static_cast<std::int64_t>(i)].correctCount, list[static_cast<std::int64_t>(i)].wrongCount);
}

TEST(FileFormat, AllLineEndsReadAlike) {
  for (const char* bytes : {"a\r\nb\r\n1\r\n2\r\nc\r\nd\r\n3\r\n4\r\n", "a\nb\n1\n2\nc\nd\n3\n4\n",
                            "a\rb\r1\r2\rc\rd\r3\r4\r", "a\nb\r1\r\n2\nc\rd\r\n3\n4"}) {
    const auto pairs = readAll(bytes);
    ASSERT_EQ(pairs.size(), 2u) << bytes;
    expectPair(pairs[0], "a", "b", 1, 2);
    expectPair(pairs[1], "c", "d", 3, 4);
  }
}

TEST(FileFormat, ALastLineWithoutLineEndIsReadWhole) {
  const auto pairs = readAll("a\r\nb\r\n7\r\n42");
  ASSERT_EQ(pairs.size(), 1u);
  expectPair(pairs[0], "a", "b", 7, 42);
}

TEST(FileFormat, AnIncompleteLastRecordIsCompleted) {
  const auto pairs = readAll("a\r\nb\r\n1\r\n2\r\nfifth\r\n");
  ASSERT_EQ(pairs.size(), 2u);
  expectPair(pairs[1], "fifth", "", 0, 0);
}

TEST(FileFormat, TrailingBlankLinesAddNoEmptyPair) {
  EXPECT_EQ(readAll("a\r\nb\r\n1\r\n2\r\n\r\n").size(), 1u);
  EXPECT_EQ(readAll("a\r\nb\r\n1\r\n2\r\n\r\n\r\n\r\n").size(), 1u);
  EXPECT_EQ(readAll("a\nb\n1\n2\n\n").size(), 1u);
  EXPECT_EQ(readAll("").size(), 0u);
  EXPECT_EQ(readAll("\r\n").size(), 0u);
  // A record with counts is a pair even with empty texts.
  EXPECT_EQ(readAll("\r\n\r\n0\r\n0\r\n").size(), 1u);
  EXPECT_EQ(readAll("a\r\nb\r\n1\r\n2\r\n\r\n\r\n\r\n\r\nc\r\n").size(), 3u);
}

TEST(FileFormat, ANulByteEndsALine) {
  const auto pairs = readAll(std::string_view("ab\0cd\r\n1\r\n2\r\n", 13));
  ASSERT_EQ(pairs.size(), 1u);
  expectPair(pairs[0], "ab", "cd", 1, 2);
}

TEST(FileFormat, DamagedBytesStillReadAsPairs) {
  const std::string junk("\xFF\x00\r\r\n\n\x80\xC3(\x01$zz%2\r", 16);
  const auto pairs = readAll(junk);
  ASSERT_EQ(pairs.size(), 2u);
  expectPair(pairs[0], "\xFF", "", 0, 0);  // NUL, then CR, CR LF
  expectPair(pairs[1], "\x80\xC3(\x01$zz%2", "", 0, 0);
}

// The list is sized, and the memory checked, by the bound before reading;
// a bound below the pairs read would let the list outgrow both.
TEST(FileFormat, ThePairBoundHoldsForAnyBytesAndIsTight) {
  std::vector<std::string> files = {"",
                                    "a",
                                    "\r\n",
                                    "a\r\nb\r\n1\r\n2\r\n",
                                    "a\rb\r\n\n1\n\r2",
                                    std::string(7, '\0'),
                                    std::string(63, 'x') + "\r\nb\r\n1\r\n"};
  std::mt19937 random(7);
  const char alphabet[] = {'a', '\r', '\n', '\0'};
  for (int i = 0; i < 300; ++i) {
    std::string bytes(random() % 200, 'a');
    for (char& c : bytes) c = alphabet[random() % 4];
    files.push_back(bytes);
  }
  for (const std::string& bytes : files) {
    VocabList list;
    const std::int64_t read = readRecords(bufferOf(bytes), list);
    const std::int64_t bound = pairCountBound(bytes);
    EXPECT_GE(bound, read) << testing::PrintToString(bytes);
    EXPECT_LE(bound, read + 1) << testing::PrintToString(bytes);
  }
}

TEST(FileFormat, PairsReadIntoAListAfterItsTypedPairs) {
  VocabList list;
  list.append({"typed", "getippt", 0, 0});
  EXPECT_EQ(readRecords(bufferOf("a\r\nb\r\n1\r\n2\r\n"), list), 1);
  list.append({"more", "mehr", 0, 0});
  ASSERT_EQ(list.size(), 3);
  EXPECT_EQ(list[0].vocabulary, "typed");
  EXPECT_EQ(list[1].translation, "b");
  EXPECT_EQ(list[1].wrongCount, 2);
  EXPECT_EQ(list[2].translation, "mehr");
}

TEST(LenientNumber, ParsesTheWayOldFilesWriteCounts) {
  EXPECT_EQ(parseCount("32768"), -32768);
  EXPECT_EQ(parseCount("65535"), -1);
  EXPECT_EQ(parseCount("65536"), 0);
  EXPECT_EQ(parseCount("65537"), 1);
  EXPECT_EQ(parseCount("-1"), -1);
  EXPECT_EQ(parseCount("-3"), -3);
  EXPECT_EQ(parseCount("+7"), 7);
  EXPECT_EQ(parseCount("12abc"), 12);
  EXPECT_EQ(parseCount(" 7"), 7);
  EXPECT_EQ(parseCount(" 12 "), 12);
  EXPECT_EQ(parseCount("\t\t9"), 9);
  EXPECT_EQ(parseCount(""), 0);
  EXPECT_EQ(parseCount("abc"), 0);
  EXPECT_EQ(parseCount("- 5"), 0);
  EXPECT_EQ(parseCount("$1F"), 31);
  EXPECT_EQ(parseCount("$ff"), 255);
  EXPECT_EQ(parseCount("-$10"), -16);
  EXPECT_EQ(parseCount("%101"), 5);
  EXPECT_EQ(parseCount("%102"), 2);
  EXPECT_EQ(parseCount("$"), 0);
}

TEST(LenientNumber, KeepsSixtyFourBitsAndWrapsBeyond) {
  EXPECT_EQ(parseLenientNumber("4294967296"), 4294967296LL);
  EXPECT_EQ(parseLenientNumber("-4294967297"), -4294967297LL);
  EXPECT_EQ(parseLenientNumber("9223372036854775807"), 9223372036854775807LL);
  EXPECT_EQ(parseLenientNumber("18446744073709551617"), 1);                      // 2^64 + 1
  EXPECT_EQ(parseLenientNumber("99999999999999999999"), 7766279631452241919LL);  // modulo 2^64
  EXPECT_EQ(parseCount("99999999999999999999"), -1);                             // low 16 bits FFFF
}

}  // namespace
}  // namespace zl
