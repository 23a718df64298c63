#include "files/split.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/cp1252.h"
#include "store/file_format.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kTitle = "Vokabeldatei auteilen";
const std::string kPrompt = "Anzahl der Vokabeln pro Teilstück:"_w;

class Split : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return f.folder / name; }
  void haveFile(const std::string& name, int count) {
    for (int i = 0; i < count; ++i) f.addPairs({{"p" + std::to_string(i), "t", static_cast<std::int16_t>(i), 0}});
    f.program.file.currentPath = path(name);
  }
  // Splits into parts of `size` (typed as given), confirming `confirm`.
  void split(const std::string& size, const std::string& confirmation, Answer confirm = Answer::Yes) {
    f.ui.expectInput(kTitle, kPrompt, size);
    f.ui.expectMessage(kTitle, confirmation, confirm);
    f.menu(CmdSplit);
  }
  int pairsIn(const std::string& name) {
    VocabList parts;
    return static_cast<int>(readRecords(bufferOf(readBytes(path(name))), parts));
  }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }
  FakeProgram f;
};

TEST(SplitNames, PartNamesArePaddedToTheDigitsOfThePartCount) {
  EXPECT_EQ(splitBaseName("C:\\Vok\\englisch.ltk"), "C:\\Vok\\englisch_");
  EXPECT_EQ(splitBaseName("/v/liste"), "/v/liste_");
  EXPECT_EQ(splitBaseName("/v.d/liste"), "/v.d/liste_");
  EXPECT_EQ(splitPartName("/v/englisch_", 1, 13), "/v/englisch_01.ltk");
  EXPECT_EQ(splitPartName("/v/englisch_", 13, 13), "/v/englisch_13.ltk");
  EXPECT_EQ(splitPartName("/v/englisch_", 9, 9), "/v/englisch_9.ltk");
  EXPECT_EQ(splitPartName("/v/englisch_", 7, 100), "/v/englisch_007.ltk");
}

TEST_F(Split, TwoHundredFiftyPairsInTwentiesMakeThirteenParts) {
  haveFile("englisch.ltk", 250);
  f.program.list.select(17);
  split("20",
        "Aufteilen von:\tenglisch.ltk\t\r\n\r\nin 13 nummerierte Teilstücke.\r\n\r\n"
        "Teilstücknamen:\tenglisch_XX. ltk\t"_w);
  for (int i = 1; i <= 12; ++i)
    EXPECT_EQ(pairsIn("englisch_" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".ltk"), 20);
  EXPECT_EQ(pairsIn("englisch_13.ltk"), 10);
  EXPECT_EQ(f.folder.names().size(), 13u);
  // Every pair lands in one part, in order, with its counts.
  EXPECT_EQ(readBytes(path("englisch_02.ltk")).substr(0, 14), "p20\r\nt\r\n20\r\n0\r");
  EXPECT_EQ(f.program.list.position(), 17);
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.program.file.currentPath, path("englisch.ltk"));
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Aufteilen..."});
}

TEST_F(Split, PartCountsForExactAndSmallSizes) {
  haveFile("a.ltk", 100);
  split("10", "Aufteilen von:\ta.ltk\t\r\n\r\nin 10 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\ta_XX. ltk\t"_w);
  EXPECT_EQ(f.folder.names().size(), 10u);
  EXPECT_EQ(pairsIn("a_10.ltk"), 10);
}

TEST_F(Split, ASizeAboveThePairCountMakesOnePart) {
  haveFile("a.ltk", 5);
  split(" 10", "Aufteilen von:\ta.ltk\t\r\n\r\nin 1 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\ta_X. ltk\t"_w);
  EXPECT_EQ(f.folder.names(), std::vector<std::string>{"a_1.ltk"});
  EXPECT_EQ(pairsIn("a_1.ltk"), 5);
}

TEST_F(Split, OnePairPerPart) {
  haveFile("a.ltk", 10);
  split("1", "Aufteilen von:\ta.ltk\t\r\n\r\nin 10 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\ta_XX. ltk\t"_w);
  EXPECT_EQ(pairsIn("a_01.ltk"), 1);
  EXPECT_EQ(pairsIn("a_10.ltk"), 1);
}

TEST_F(Split, AFileWithoutExtension) {
  haveFile("liste", 30);
  split("20", "Aufteilen von:\tliste\t\r\n\r\nin 2 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\tliste_X. ltk\t"_w);
  EXPECT_EQ(pairsIn("liste_1.ltk"), 20);
  EXPECT_EQ(pairsIn("liste_2.ltk"), 10);
}

TEST_F(Split, ExistingPartsAreReplaced) {
  haveFile("a.ltk", 2);
  writeBytes(path("a_1.ltk"), "old");
  split("5", "Aufteilen von:\ta.ltk\t\r\n\r\nin 1 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\ta_X. ltk\t"_w);
  EXPECT_EQ(readBytes(path("a_1.ltk")), "p0\r\nt\r\n0\r\n0\r\np1\r\nt\r\n1\r\n0\r\n");
}

TEST_F(Split, AnsweringNoWritesNothing) {
  haveFile("a.ltk", 4);
  f.ui.setStatusText(StatusStateField, "", true);
  split("2", "Aufteilen von:\ta.ltk\t\r\n\r\nin 2 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\ta_X. ltk\t"_w,
        Answer::No);
  EXPECT_TRUE(f.folder.names().empty());
  EXPECT_TRUE(f.ui.statusMessages().empty());
}

TEST_F(Split, SizesBelowOneAreRefused) {
  haveFile("a.ltk", 4);
  for (const char* size : {"", "0", "zwei", "-3"}) {
    f.ui.expectInput(kTitle, kPrompt, size);
    f.ui.expectMessage(kTitle, "Bitte geben Sie als Anzahl der Vokabeln pro Teilstück eine ganze Zahl ab 1 ein!"_w,
                       Answer::Ok);
    f.menu(CmdSplit);
  }
  EXPECT_TRUE(f.folder.names().empty());
}

TEST_F(Split, ClosingTheInputBoxDoesNothing) {
  haveFile("a.ltk", 4);
  f.ui.expectInput(kTitle, kPrompt, "", true);
  f.menu(CmdSplit);
  EXPECT_TRUE(f.folder.names().empty());
}

TEST_F(Split, APartThatCannotBeWrittenStopsTheSplit) {
  haveFile("a.ltk", 30);
  std::filesystem::create_directory(path("a_2.ltk"));  // in the way of part 2
  f.ui.expectInput(kTitle, kPrompt, "10");
  f.ui.expectMessage(kTitle,
                     "Aufteilen von:\ta.ltk\t\r\n\r\nin 3 nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\ta_X. ltk\t"_w,
                     Answer::Yes);
  f.ui.expectMessage("Datei Zugriffsfehler", "Datei a_2.ltk konnte nicht gespeichert werden!", Answer::Ok);
  f.menu(CmdSplit);
  EXPECT_EQ(pairsIn("a_1.ltk"), 10);
  EXPECT_FALSE(std::filesystem::exists(path("a_3.ltk")));
}

TEST_F(Split, IsOfferedOnlyForASavedCurrentFile) {
  f.menu(CmdEntryPage);
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdSplit));
  haveFile("a.ltk", 3);
  f.menu(CmdEntryPage);
  EXPECT_TRUE(f.ui.isCommandEnabled(CmdSplit));
  f.program.file.unsaved = 1;
  f.menu(CmdEntryPage);
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdSplit));
}

}  // namespace
}  // namespace zl
