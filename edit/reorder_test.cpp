#include "edit/reorder.h"

#include <gtest/gtest.h>

#include <map>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kSortQuestion = "Möchten Sie die Vokabeln in alphabetischer Reihenfolge sortieren?"_w;
const std::string kShuffleQuestion = "Möchten Sie die Vokabeln mischen?"_w;

class Reorder : public ::testing::Test {
 protected:
  void havePairs(const std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i)
      f.addPairs({{words[i], "t" + std::to_string(i), static_cast<std::int16_t>(i), 1}});
  }
  std::vector<std::string> words() const {
    std::vector<std::string> w;
    for (std::int64_t i = 0; i < f.program.list.size(); ++i) w.emplace_back(f.program.list[i].vocabulary);
    return w;
  }
  void sort(Answer answer = Answer::Yes) {
    f.ui.expectMessage("Vokabeln Sortieren", kSortQuestion, answer);
    f.menu(CmdSort);
  }
  void shuffle(Answer answer = Answer::Yes) {
    f.ui.expectMessage("Vokabeln Mischen", kShuffleQuestion, answer);
    f.menu(CmdShuffle);
  }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }
  FakeProgram f;
};

TEST_F(Reorder, SortingFoldsOnlyAToZAndKeepsEqualWordsInOrder) {
  havePairs({"birne", "Apfel", "apfel", "Zitrone", "Äpfel"_w});
  sort();
  EXPECT_EQ(words(), (std::vector<std::string>{"Apfel", "apfel", "birne", "Zitrone", "Äpfel"_w}));
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(f.ui.refills(), 1);
  EXPECT_EQ(f.ui.rowCount(), 5);
  EXPECT_EQ(f.ui.selectedRow(), -1);
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Sortieren..."});
  EXPECT_EQ(f.ui.shownMessages().back().icon, MessageIcon::Question);
}

TEST_F(Reorder, SortingKeepsTranslationsAndCountsWithTheirWords) {
  havePairs({"b", "a", "b", "a"});
  sort();
  EXPECT_EQ(f.program.list[0].translation, "t1");
  EXPECT_EQ(f.program.list[1].translation, "t3");
  EXPECT_EQ(f.program.list[2].translation, "t0");
  EXPECT_EQ(f.program.list[3].translation, "t2");
  EXPECT_EQ(f.program.list[3].correctCount, 2);
  EXPECT_EQ(f.program.list[3].wrongCount, 1);
}

// Four pairs are too few for an unstable sort to show itself: hundreds of
// pairs under a few equal words, in a scrambled order, are not.
TEST_F(Reorder, SortingKeepsTheOrderOfManyPairsWithEqualWords) {
  const std::vector<std::string> keys = {"birne", "Apfel", "apfel", "Zitrone", "BIRNE"};
  std::vector<std::string> words;
  for (std::size_t i = 0; i < 600; ++i) words.push_back(keys[(i * 7 + i / 5) % keys.size()]);
  havePairs(words);
  sort();
  // Within the pairs of one word (letter case aside), their first places
  // rise, as "t<place>" tells.
  std::map<std::string, int> lastPlace;
  for (std::int64_t i = 0; i < f.program.list.size(); ++i) {
    const std::string word = lowerCp1252(f.program.list[i].vocabulary);
    const int place = std::stoi(std::string(f.program.list[i].translation.substr(1)));
    EXPECT_LT(lastPlace.contains(word) ? lastPlace[word] : -1, place) << word << " at " << i;
    lastPlace[word] = place;
  }
  EXPECT_EQ(lastPlace.size(), 3u);
}

TEST_F(Reorder, SortingComparesPastTheFirstEightLettersAndByLength) {
  havePairs({"abcdefghZ", "ABCDEFGHa", "abc", "ab", "1x", "_", "ab-"});
  sort();
  EXPECT_EQ(words(), (std::vector<std::string>{"1x", "_", "ab", "ab-", "abc", "ABCDEFGHa", "abcdefghZ"}));
}

TEST_F(Reorder, AnsweringNoChangesNothing) {
  havePairs({"b", "a"});
  f.program.test.items.resize(2);
  sort(Answer::No);
  shuffle(Answer::No);
  EXPECT_EQ(words(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(f.program.test.lastIndex(), 1);
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.refills(), 0);
}

TEST_F(Reorder, BothEndARunningTestAndAPendingEdit) {
  havePairs({"b", "a", "c"});
  f.program.test.items.resize(3);
  f.program.edit.editMode = true;
  f.program.edit.editRow = 0;
  sort();
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_FALSE(f.program.edit.editMode);
  f.program.test.items.resize(3);
  shuffle();
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  f.menu(CmdTestPage);
  EXPECT_EQ(f.ui.text(RemainingValue), "");
  EXPECT_FALSE(f.ui.isEnabled(AcceptAnswerButton));
}

TEST_F(Reorder, ShufflingOnePairStillMarksTheListChanged) {
  havePairs({"only"});
  shuffle();
  EXPECT_EQ(words(), std::vector<std::string>{"only"});
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Mischen..."});
}

TEST_F(Reorder, ShufflingExchangesEachPositionWithADrawnPartner) {
  havePairs({"a", "b", "c", "d", "e", "f"});
  // The same draws, replayed by hand, give the same order.
  RandomGenerator replay;
  replay.seed(20261207);
  std::vector<std::string> expected = words();
  for (std::size_t i = 0; i < expected.size(); ++i)
    std::swap(expected[i], expected[static_cast<std::size_t>(replay.uniform(5))]);
  shuffle();
  EXPECT_EQ(words(), expected);
  for (std::int64_t i = 0; i < 6; ++i) {  // counts travel with their pairs
    const auto original = f.program.list[i].vocabulary[0] - 'a';
    EXPECT_EQ(f.program.list[i].correctCount, original);
    EXPECT_EQ(f.program.list[i].translation, "t" + std::to_string(original));
  }
}

}  // namespace
}  // namespace zl
