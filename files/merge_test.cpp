#include "files/merge.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kOpenTitle = "Vokabeldateiatei zum Laden auswählen"_w;

std::string pairsFile(int count, const std::string& word = "m") {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += word + std::to_string(i) + "\r\nt\r\n" + std::to_string(i) + "\r\n1\r\n";
  return bytes;
}

class Merge : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return f.folder / name; }
  // A saved current file of `count` pairs, shown in the list.
  void haveFile(int count) {
    for (int i = 0; i < count; ++i) f.addPairs({{"w", "t", 0, 0}});
    f.program.file.currentPath = path("current.ltk");
  }
  // Merges `chosen`; the boxes the merge is expected to show follow the dialog.
  void merge(const std::string& chosen, const std::string& messageTitle = "", const std::string& messageText = "") {
    f.ui.expectOpenDialog(kOpenTitle, f.folder.path(), chosen);
    if (!messageTitle.empty()) f.ui.expectMessage(messageTitle, messageText, Answer::Ok);
    f.control(MergeButton);
  }
  void mergeToTheLimit(const std::string& chosen) {
    merge(chosen, "Maximale Dateigröße"_w, "Maximal 30000 Einträge pro Datei!"_w);
  }
  void mergeUnreadable(const std::string& chosen) {
    merge(chosen, "Datei Zugriffsfehler", "Die Datei\n" + chosen + "\nkonnte nicht gelesen werden!");
  }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }
  FakeProgram f;
};

TEST_F(Merge, AppendsThePairsOfTheSecondFileWithTheirCounts) {
  haveFile(10);
  writeBytes(path("more.ltk"), pairsFile(5));
  merge(path("more.ltk"));
  ASSERT_EQ(f.program.list.size(), 15);
  EXPECT_EQ(f.program.list[10].vocabulary, "m0");
  EXPECT_EQ(f.program.list[14].vocabulary, "m4");
  EXPECT_EQ(f.program.list[14].correctCount, 4);
  EXPECT_EQ(f.program.list[14].wrongCount, 1);
  EXPECT_EQ(f.program.list.size(), 15);
  EXPECT_EQ(f.ui.rowCount(), 15);
  EXPECT_EQ(f.program.file.currentPath, path("current.ltk"));
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
  EXPECT_EQ(f.ui.text(EntryCountValue), "15");
  EXPECT_EQ(f.ui.focusedControl(), EntryVocabularyField);
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Verbinden..."});
}

TEST_F(Merge, MergingAFileWithItselfDoublesEveryPair) {
  writeBytes(path("current.ltk"), pairsFile(3));
  f.program.file.currentPath = path("current.ltk");
  for (int i = 0; i < 3; ++i) f.program.list.append({"m" + std::to_string(i), "t", 0, 0});
  merge(path("current.ltk"));
  EXPECT_EQ(f.program.list.size(), 6);
  EXPECT_EQ(f.program.list[3].vocabulary, "m0");
}

TEST_F(Merge, StopsAtTheLimitWithOneMessage) {
  haveFile(MaxEntries - 2);
  writeBytes(path("more.ltk"), pairsFile(5));
  mergeToTheLimit(path("more.ltk"));
  EXPECT_EQ(f.program.list.size(), MaxEntries);
  EXPECT_EQ(f.ui.rowCount(), MaxEntries);
  EXPECT_EQ(f.program.file.unsaved, 1);
}

TEST_F(Merge, AFileThatJustFitsShowsNoMessage) {
  haveFile(MaxEntries - 2);
  writeBytes(path("two.ltk"), pairsFile(2));
  merge(path("two.ltk"));
  EXPECT_EQ(f.program.list.size(), MaxEntries);
}

TEST_F(Merge, AtTheLimitNothingIsAddedButTheListCountsAsChanged) {
  haveFile(MaxEntries);
  writeBytes(path("more.ltk"), pairsFile(1));
  mergeToTheLimit(path("more.ltk"));
  EXPECT_EQ(f.program.list.size(), MaxEntries);
  EXPECT_EQ(f.program.file.unsaved, 1);
}

TEST_F(Merge, EmptyFilesAndTrailingBlankLinesAddNoEmptyPairs) {
  haveFile(2);
  writeBytes(path("empty.ltk"), "");
  merge(path("empty.ltk"));
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 0);
  writeBytes(path("blank.ltk"), pairsFile(1) + "\r\n");
  merge(path("blank.ltk"));
  EXPECT_EQ(f.program.list.size(), 3);
  EXPECT_EQ(f.program.list[2].vocabulary, "m0");
}

TEST_F(Merge, AnUnreadableFileOrAFolderIsReportedAndAddsNothing) {
  haveFile(2);
  std::filesystem::create_directory(path("folder"));
  mergeUnreadable(path("folder"));
  writeBytes(path("locked.ltk"), pairsFile(3));
  f.files.failReads = true;
  mergeUnreadable(path("locked.ltk"));
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "");
}

TEST_F(Merge, AFileWhosePairsOutgrowTheMemoryIsRefusedAndAddsNothing) {
  haveFile(2);
  writeBytes(path("nul.ltk"), std::string(64 * 1024, '\0'));
  f.system.memory = 200 * 1024;
  merge(path("nul.ltk"), "Datei Zugriffsfehler", "Die Datei\n" + path("nul.ltk") + "\nist zu groß!"_w);
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 0);
}

TEST_F(Merge, CancellingTheDialogChangesNothing) {
  haveFile(2);
  f.ui.setFocus(VocabListView);
  merge("");
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.focusedControl(), EntryVocabularyField);
}

TEST_F(Merge, ThePairATestIsAskingStaysCurrent) {
  haveFile(4);
  f.program.list.select(1);
  writeBytes(path("more.ltk"), pairsFile(3));
  merge(path("more.ltk"));
  EXPECT_EQ(f.program.list.position(), 1);
}

TEST_F(Merge, IsOfferedOnlyWithACurrentFile) {
  f.menu(CmdEntryPage);
  EXPECT_FALSE(f.ui.isEnabled(MergeButton));
  haveFile(1);
  f.menu(CmdEntryPage);
  EXPECT_TRUE(f.ui.isEnabled(MergeButton));
}

}  // namespace
}  // namespace zl
