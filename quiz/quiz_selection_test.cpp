#include "quiz/quiz_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

class TestSelection : public ::testing::Test {
 protected:
  // Pairs named p0, p1, ... with the given counts (right, wrong).
  void havePairs(const std::vector<std::pair<int, int>>& counts) {
    for (std::size_t i = 0; i < counts.size(); ++i)
      list.append({"p" + std::to_string(i), "t", static_cast<std::int16_t>(counts[i].first),
                   static_cast<std::int16_t>(counts[i].second)});
  }
  void havePairs(int count, std::pair<int, int> counts = {0, 0}) {
    havePairs(std::vector<std::pair<int, int>>(static_cast<std::size_t>(count), counts));
  }
  std::vector<int> chosen() const {
    std::vector<int> indexes;
    for (const TestItem& item : test.items) indexes.push_back(item.pairIndex);
    return indexes;
  }
  static std::vector<int> range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i < to; ++i) r.push_back(i);
    return r;
  }
  void build() { buildTestList(controls, list, test); }

  FakeControls controls;
  VocabList list;
  TestState test;
};

TEST(Priority, NeverAskedComesFirstThenRightMinusWrong) {
  EXPECT_EQ(priorityOf(0, 0), -32768);
  EXPECT_EQ(priorityOf(10, 9), 1);
  EXPECT_EQ(priorityOf(1, 0), 1);
  EXPECT_EQ(priorityOf(0, 3), -3);
  EXPECT_EQ(priorityOf(2, 2), 0);
  EXPECT_EQ(priorityOf(32767, -1), -32768);  // wraps
  EXPECT_EQ(priorityOf(-32768, 1), 32767);
}

TEST_F(TestSelection, NineteenPairsBecomeAnAllPairsTest) {
  havePairs(19);
  build();
  EXPECT_EQ(test.lastIndex(), 18);
  EXPECT_EQ(chosen(), range(0, 19));
  EXPECT_FALSE(test.options.twentyPairs);
  EXPECT_EQ(controls.statusMessages(), std::vector<std::string>{"Sortieren..."});
}

TEST_F(TestSelection, TwentyPairsKeepTheTwentyPairTest) {
  havePairs(20, {3, 1});
  build();
  EXPECT_EQ(test.lastIndex(), 19);
  EXPECT_EQ(chosen(), range(0, 20));
  EXPECT_TRUE(test.options.twentyPairs);
}

TEST_F(TestSelection, TwentyFiveNeverAskedPairsGiveTheFirstTwenty) {
  havePairs(25);
  build();
  EXPECT_EQ(chosen(), range(0, 20));
}

TEST_F(TestSelection, NeverAskedPairsComeBeforeTheWeakest) {
  std::vector<std::pair<int, int>> counts(25, {5, 1});  // key 4
  counts[3] = {0, 0};
  counts[11] = {0, 0};
  counts[24] = {0, 0};
  counts[7] = {0, 5};   // key -5
  counts[20] = {0, 1};  // key -1
  havePairs(counts);
  build();
  const auto c = chosen();
  ASSERT_EQ(c.size(), 20u);
  EXPECT_EQ(std::vector<int>(c.begin(), c.begin() + 5), (std::vector<int>{3, 11, 24, 7, 20}));
  // The rest are ties at key 4: the earliest 15 of them.
  EXPECT_EQ(std::vector<int>(c.begin() + 5, c.end()),
            (std::vector<int>{0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15, 16, 17}));
}

TEST_F(TestSelection, TiesAtTheCutGoToTheEarlierPair) {
  std::vector<std::pair<int, int>> counts(21, {1, 0});
  havePairs(counts);
  build();
  EXPECT_EQ(chosen(), range(0, 20));  // pair 20 loses the tie
}

TEST_F(TestSelection, AllPairsModeKeepsListOrderAndTheListIsNotReordered) {
  havePairs({{9, 0}, {0, 0}, {0, 4}, {1, 1}});
  test.options.twentyPairs = false;
  build();
  EXPECT_EQ(chosen(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(list[0].vocabulary, "p0");
  EXPECT_EQ(list[3].vocabulary, "p3");
}

TEST_F(TestSelection, PicksWhatAStableSortWouldPutFirst) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> small(0, 4);
  for (int round = 0; round < 20; ++round) {
    VocabList pairs;
    TestState roundTest;
    std::vector<TestItem> expected;
    const int n = 20 + round * 13;
    for (int i = 0; i < n; ++i) {
      const auto right = static_cast<std::int16_t>(small(random));
      const auto wrong = static_cast<std::int16_t>(small(random));
      pairs.append({"w", "t", right, wrong});
      expected.push_back({i, priorityOf(right, wrong), 0});
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const TestItem& a, const TestItem& b) { return a.priority < b.priority; });
    expected.resize(20);
    buildTestList(controls, pairs, roundTest);
    ASSERT_EQ(roundTest.items.size(), 20u);
    for (std::size_t i = 0; i < 20; ++i) {
      EXPECT_EQ(roundTest.items[i].pairIndex, expected[i].pairIndex) << "round " << round << " item " << i;
      EXPECT_EQ(roundTest.items[i].priority, expected[i].priority);
      EXPECT_EQ(roundTest.items[i].statsLocked, 0);
    }
  }
}

TEST_F(TestSelection, PositionsBeyond32767AreKept) {
  havePairs(40000, {2, 0});
  list.setCounts(39999, 0, 0);  // the only never-asked pair, at the end
  build();
  EXPECT_EQ(test.items.front().pairIndex, 39999);
}

}  // namespace
}  // namespace zl
