#include "store/vocab_store.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

VocabList listOf(std::initializer_list<const char*> words) {
  VocabList list;
  for (const char* w : words) list.append(VocabEntry{w, w, 0, 0});
  return list;
}

TEST(VocabList, AddInsertsAfterTheCurrentPair) {
  VocabList list;
  list.setTexts(list.add(), "a", "");  // no current pair: at the front
  list.setTexts(list.add(), "c", "");
  list.select(0);
  list.setTexts(list.add(), "b", "");
  EXPECT_EQ(list.position(), 1);
  list.reset();
  list.setTexts(list.add(), "first", "");
  ASSERT_EQ(list.size(), 4);
  EXPECT_EQ(list[0].vocabulary, "first");
  EXPECT_EQ(list[1].vocabulary, "a");
  EXPECT_EQ(list[2].vocabulary, "b");
  EXPECT_EQ(list[3].vocabulary, "c");
  EXPECT_EQ(list[0].correctCount, 0);
}

TEST(VocabList, NextWalksFromNoneToTheEndAndStaysOnTheLast) {
  VocabList list = listOf({"a", "b"});
  list.reset();
  EXPECT_TRUE(list.next());
  EXPECT_EQ(list[list.position()].vocabulary, "a");
  EXPECT_TRUE(list.next());
  EXPECT_EQ(list[list.position()].vocabulary, "b");
  EXPECT_FALSE(list.next());
  EXPECT_EQ(list.position(), 1);
  VocabList empty;
  EXPECT_FALSE(empty.next());
  EXPECT_EQ(empty.position(), -1);
  empty.last();
  EXPECT_EQ(empty.position(), -1);
}

TEST(VocabList, SelectOutsideTheListLeavesNoCurrentPair) {
  VocabList list = listOf({"a", "b", "c"});
  list.select(2);
  EXPECT_EQ(list.position(), 2);
  list.select(3);
  EXPECT_EQ(list.position(), -1);
  list.select(-5);
  EXPECT_EQ(list.position(), -1);
}

TEST(VocabList, RemovingMakesThePreviousPairCurrent) {
  VocabList list = listOf({"a", "b", "c"});
  list.select(1);
  list.removeCurrent();
  EXPECT_EQ(list.position(), 0);
  EXPECT_EQ(list[1].vocabulary, "c");
  list.select(0);
  list.removeCurrent();
  EXPECT_EQ(list.position(), -1);
  list.removeCurrent();  // nothing current: nothing removed
  EXPECT_EQ(list.size(), 1);
}

TEST(VocabList, AWalkOverTheWholeListKeepsTheCurrentPair) {
  VocabList list = listOf({"a", "b", "c"});
  list.select(1);
  {
    KeepListPosition keep(list);
    list.reset();
    while (list.next()) {
    }
  }
  EXPECT_EQ(list.position(), 1);
}

TEST(VocabList, EditingATextLeavesTheOtherPairsAlone) {
  VocabList list = listOf({"a", "b"});
  list.setCounts(0, 5, 2);
  list.setTexts(0, "Apfel", "apple");
  list.setTexts(1, "", "x");
  EXPECT_EQ(list[0].vocabulary, "Apfel");
  EXPECT_EQ(list[0].translation, "apple");
  EXPECT_EQ(list[0].correctCount, 5);
  EXPECT_EQ(list[1].vocabulary, "");
  EXPECT_EQ(list[1].translation, "x");
}

TEST(VocabList, LayingOutTheTextsKeepsEveryPairAndDropsReplacedTexts) {
  VocabList list = listOf({"a", "b", "c"});
  list.setTexts(0, "Apfel", "apple");
  list.setTexts(1, "", "");
  list.exchange(0, 2);
  list.layOutTextsInOrder();
  EXPECT_EQ(list.storedBytes(0), "ccApfelapple");  // list order, each vocabulary before its translation
  EXPECT_EQ(list[0].vocabulary, "c");
  EXPECT_EQ(list[1].translation, "");
  EXPECT_EQ(list[2].vocabulary, "Apfel");
  EXPECT_EQ(list[2].translation, "apple");
}

TEST(VocabList, StoredBytesAreTakenOverAndAddedBehindTypedTexts) {
  const auto span = [](std::uint64_t vocabularyAt, std::uint32_t vocabularyLength, std::uint64_t translationAt,
                       std::uint32_t translationLength, std::int16_t right, std::int16_t wrong) {
    PairSpan pair;
    pair.placeTexts(vocabularyAt, translationAt);
    pair.vocabularyLength = vocabularyLength;
    pair.translationLength = translationLength;
    pair.correctCount = right;
    pair.wrongCount = wrong;
    return pair;
  };
  VocabList list;
  EXPECT_EQ(list.storeBytes(bufferOf("first")), 0u);
  list.appendStored(0, span(0, 2, 2, 3, 1, 0));
  const std::uint64_t base = list.storeBytes(bufferOf("XYsecond"));
  EXPECT_EQ(base, 5u);
  list.appendStored(base, span(0, 2, 2, 6, 0, 4));
  EXPECT_EQ(list[0].vocabulary, "fi");
  EXPECT_EQ(list[0].translation, "rst");
  EXPECT_EQ(list[1].vocabulary, "XY");
  EXPECT_EQ(list[1].translation, "second");
  EXPECT_EQ(list[1].wrongCount, 4);
  EXPECT_EQ(list.position(), 1);
  EXPECT_EQ(list.storedBytes(base), "XYsecond");
  list.clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.storedBytes(0), "");
}

TEST(VocabEntry, CountsWrapAt16Bits) {
  EXPECT_EQ(wrappingIncrement(32767), -32768);
  EXPECT_EQ(wrappingIncrement(-1), 0);
  EXPECT_EQ(wrappingIncrement(5), 6);
}

}  // namespace
}  // namespace zl
