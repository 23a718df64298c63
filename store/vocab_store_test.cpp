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
  list.add().vocabulary = "a";  // no current pair: at the front
  list.add().vocabulary = "c";
  list.select(0);
  list.add().vocabulary = "b";
  EXPECT_EQ(list.position(), 1);
  list.reset();
  list.add().vocabulary = "first";
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
  EXPECT_EQ(list.next()->vocabulary, "a");
  EXPECT_EQ(list.next()->vocabulary, "b");
  EXPECT_EQ(list.next(), nullptr);
  EXPECT_EQ(list.position(), 1);
  VocabList empty;
  EXPECT_EQ(empty.next(), nullptr);
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

TEST(VocabEntry, CountsWrapAt16Bits) {
  EXPECT_EQ(wrappingIncrement(32767), -32768);
  EXPECT_EQ(wrappingIncrement(-1), 0);
  EXPECT_EQ(wrappingIncrement(5), 6);
}

}  // namespace
}  // namespace zl
