#include "edit/folded_search.h"

#include <gtest/gtest.h>

#include <random>

#include "store/cp1252.h"
#include "store/file_format.h"
#include "store/vocab_store.h"

namespace zl {
namespace {

TEST(ContainsFolded, MatchesSubstringsRegardlessOfCase) {
  EXPECT_TRUE(containsFolded("Haustür"_w, "haus"));
  EXPECT_TRUE(containsFolded("Rathaus", "haus"));
  EXPECT_TRUE(containsFolded("RATHAUS", "haus"));
  EXPECT_TRUE(containsFolded("ÄPFEL"_w, "äpf"_w));
  EXPECT_TRUE(containsFolded("DAS IST ÜBERALL SO, ÜBERALL STEHT ES"_w, "es"));  // at the very end, past a block
  EXPECT_FALSE(containsFolded("Hau", "haus"));
  EXPECT_FALSE(containsFolded("Maus", "haus"));
  EXPECT_TRUE(containsFolded("abc", ""));
  EXPECT_FALSE(containsFolded("h*us", "h?us"));  // no wildcards
}

// The block search must find exactly the pair that checking pair by pair
// finds, on lists loaded from files, typed, edited, sorted and shuffled,
// where texts lie in and out of order and back to back.
TEST(FirstMatchingPair, FindsWhatCheckingEveryPairFinds) {
  std::mt19937 random(11);
  const std::string letters = "aAbB\xE4\xC4\xFF\x9F" "1 ";  // ä Ä ÿ Ÿ fold across ranges
  const auto word = [&](std::size_t most) {
    std::string text(random() % (most + 1), 'a');
    for (char& c : text) c = letters[random() % letters.size()];
    return text;
  };
  for (int round = 0; round < 60; ++round) {
    std::string file;
    for (int i = 0; i < 40; ++i) file += word(30) + "\r\n" + word(30) + "\r\n" + std::to_string(random() % 12) + "\n1\r\n";
    VocabList list;
    readRecords(bufferOf(file), list);
    for (int i = 0; i < 5; ++i) list.append({word(20), word(20), 0, 0});
    if (round % 3 == 1) list.setTexts(static_cast<std::int64_t>(random() % list.size()), word(25), word(25));
    if (round % 3 == 2) list.sortByVocabulary();
    if (round % 4 == 3) list.exchange(0, list.size() - 1);
    for (int probe = 0; probe < 20; ++probe) {
      const std::string term = lowerCp1252(word(3));
      const std::int64_t from = static_cast<std::int64_t>(random() % (list.size() + 1));
      std::int64_t expected = -1;
      for (std::int64_t i = from; i < list.size() && expected < 0; ++i) {
        const std::string vocabulary = lowerCp1252(list[i].vocabulary), translation = lowerCp1252(list[i].translation);
        if (vocabulary.find(term) != std::string::npos || translation.find(term) != std::string::npos) expected = i;
      }
      ASSERT_EQ(firstMatchingPair(list, from, term), expected) << "term " << testing::PrintToString(term);
    }
  }
}

}  // namespace
}  // namespace zl
