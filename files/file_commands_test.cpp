#include "files/file_commands.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "store/cp1252.h"
#include "store/file_format.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kTwoPairs = "house\r\nHaus\r\n3\r\n1\r\ntree\r\nBaum\r\n0\r\n2\r\n";
const std::string kOpenTitle = "Vokabeldateiatei zum Laden auswählen"_w;
const std::string kSaveTitle = "Vokabeldateiatei zum Speichern auswählen"_w;
const std::string kGuardTitle = "Ungesicherte Daten"_w;
const std::string kGuardText = "Es gibt noch ungesicherte Daten,\nsollen diese jetzt gespeichert werden?"_w;

class FileCommands : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return f.folder / name; }
  // A list typed in and never saved.
  void typePairs(int count) {
    for (int i = 0; i < count; ++i) f.addPairs({{"w" + std::to_string(i), "t", 0, 0}});
    f.program.file.unsaved = 1;
  }
  void expectGuard(Answer answer) { f.ui.expectMessage(kGuardTitle, kGuardText, answer); }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }

  FakeProgram f;
};

TEST_F(FileCommands, OpeningReadsEveryPairAndShowsTheFile) {
  writeBytes(path("englisch.ltk"), kTwoPairs);
  openFile(f.program, path("englisch.ltk"));
  ASSERT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.list[0].vocabulary, "house");
  EXPECT_EQ(f.program.list[0].correctCount, 3);
  EXPECT_EQ(f.program.list[1].wrongCount, 2);
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.ui.rowCount(), 2);
  EXPECT_TRUE(f.ui.listVisible());
  EXPECT_EQ(f.program.file.currentPath, path("englisch.ltk"));
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.statusText(StatusFileField), " " + path("englisch.ltk"));
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Laden..."});
}

TEST_F(FileCommands, OpeningThroughTheDialogStartsInTheProgramFolder) {
  writeBytes(path("a.ltk"), kTwoPairs);
  f.ui.expectOpenDialog(kOpenTitle, "/opt/zelvo/", path("a.ltk"));
  f.menu(CmdOpen);
  EXPECT_EQ(f.program.list.size(), 2);
  ASSERT_EQ(f.ui.lastFilters().size(), 2u);
  EXPECT_EQ(f.ui.lastFilters()[0].description, "Vokabeldatei (*.LTK)");
  EXPECT_EQ(f.ui.lastFilters()[0].pattern, "*.LTK");
  EXPECT_EQ(f.ui.lastFilters()[1].description, "Alle Dateien (*.*)");
  EXPECT_EQ(f.ui.text(EntryCountValue), "2");
  // The next dialog starts in the folder of the current file.
  f.ui.expectOpenDialog(kOpenTitle, f.folder.path(), "");
  f.menu(TbOpen);
  EXPECT_EQ(f.program.file.currentPath, path("a.ltk"));
  EXPECT_EQ(f.program.list.size(), 2);
}

TEST_F(FileCommands, MissingEmptyOrFolderPathsOpenAsAnEmptyListWithoutAMessage) {
  writeBytes(path("empty.ltk"), "");
  std::filesystem::create_directory(path("folder.ltk"));
  for (const std::string name : {"missing.ltk", "empty.ltk", "folder.ltk"}) {
    openFile(f.program, path(name));
    EXPECT_TRUE(f.program.list.empty()) << name;
    EXPECT_EQ(f.program.file.currentPath, path(name));
    EXPECT_EQ(f.ui.statusText(StatusFileField), " " + path(name));
  }
  // "Speichern" then creates the missing file.
  openFile(f.program, path("missing.ltk"));
  f.addPairs({{"a", "b", 0, 0}});
  f.program.file.unsaved = 1;
  f.menu(CmdSave);
  EXPECT_EQ(readBytes(path("missing.ltk")), "a\r\nb\r\n0\r\n0\r\n");
}

TEST_F(FileCommands, AFileWithMoreThanTheLimitOpensWhole) {
  std::string bytes;
  for (int i = 0; i < 30005; ++i) bytes += "w\r\nt\r\n0\r\n0\r\n";
  writeBytes(path("big.ltk"), bytes);
  openFile(f.program, path("big.ltk"));
  EXPECT_EQ(f.program.list.size(), 30005);
  EXPECT_EQ(f.ui.rowCount(), 30005);
}

TEST_F(FileCommands, ABlankLineAtTheEndAddsNoEmptyPair) {
  writeBytes(path("blank.ltk"), kTwoPairs + "\r\n");
  openFile(f.program, path("blank.ltk"));
  EXPECT_EQ(f.program.list.size(), 2);
}

TEST_F(FileCommands, AnUnreadableFileIsReportedAndNeverBecomesCurrent) {
  writeBytes(path("locked.ltk"), kTwoPairs);
  f.files.failReads = true;
  f.ui.expectMessage("Datei Zugriffsfehler", "Die Datei\n" + path("locked.ltk") + "\nkonnte nicht gelesen werden!",
                     Answer::Ok);
  openFile(f.program, path("locked.ltk"));
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.file.currentPath, "");
  // A later "Speichern" asks where to save instead of replacing the file.
  f.addPairs({{"x", "y", 0, 0}});
  f.program.file.unsaved = 1;
  f.ui.expectSaveDialog(kSaveTitle, "/opt/zelvo/", "");
  f.menu(CmdSave);
  EXPECT_EQ(readBytes(path("locked.ltk")), kTwoPairs);
}

TEST_F(FileCommands, AFileLargerThanTheMemoryIsReportedInsteadOfEndingTheProgram) {
  writeBytes(path("huge.ltk"), kTwoPairs);
  f.files.outOfMemory = true;
  f.ui.expectMessage("Datei Zugriffsfehler", "Die Datei\n" + path("huge.ltk") + "\nist zu groß!"_w, Answer::Ok);
  openFile(f.program, path("huge.ltk"));
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.file.currentPath, "");
  EXPECT_TRUE(f.ui.listVisible());
}

// Regression: a file of line ends takes many times its size as pairs, and
// Linux ends the program rather than refuse it the memory.
TEST_F(FileCommands, AFileWhosePairsOutgrowTheMemoryIsRefusedBeforeLoading) {
  writeBytes(path("nul.ltk"), std::string(64 * 1024, '\0'));  // 16,383 empty pairs and a blank end
  f.system.memory = 200 * 1024;                               // the bytes fit, their pairs do not
  f.ui.expectMessage("Datei Zugriffsfehler", "Die Datei\n" + path("nul.ltk") + "\nist zu groß!"_w, Answer::Ok);
  openFile(f.program, path("nul.ltk"));
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.file.currentPath, "");
  f.system.memory = std::uint64_t{64} << 20;
  openFile(f.program, path("nul.ltk"));
  EXPECT_EQ(f.program.list.size(), 16383);
}

// `count` pairs "<word><n>", as a file holds them.
std::string pairsOf(const std::string& word, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += word + std::to_string(i) + "\r\nt\r\n0\r\n0\r\n";
  return bytes;
}

// Another program shortens or lengthens the file while it is read, after
// its first piece: the list holds the pairs of the bytes that were read,
// as they would read from a file that held just those.
TEST_F(FileCommands, AFileChangedWhileItIsReadGivesThePairsOfWhatWasRead) {
  const std::string original = pairsOf("word", 30000), more = pairsOf("more", 2000);
  ASSERT_GT(original.size(), 2 * ReadPieceBytes);
  const struct {
    const char* name;
    std::function<void()> change;
    std::string read;  // what reading it gives
  } cases[] = {
      {"shortened below what was read", [&] { std::filesystem::resize_file(path("a.ltk"), 100); },
       original.substr(0, ReadPieceBytes)},
      {"shortened after what was read", [&] { std::filesystem::resize_file(path("a.ltk"), ReadPieceBytes + 1000); },
       original.substr(0, ReadPieceBytes + 1000)},
      {"lengthened", [&] { std::ofstream(path("a.ltk"), std::ios::binary | std::ios::app) << more; }, original + more},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeBytes(path("a.ltk"), original);
    bool changed = false;
    f.files.whileReading = [&](std::size_t) {
      if (!std::exchange(changed, true)) c.change();
    };
    openFile(f.program, path("a.ltk"));
    VocabList expected;
    readRecords(bufferOf(c.read), expected);
    ASSERT_EQ(f.program.list.size(), expected.size());
    EXPECT_EQ(f.ui.rowCount(), expected.size());
    for (std::int64_t i = 0; i < expected.size(); i += 997) {
      EXPECT_EQ(f.program.list[i].vocabulary, expected[i].vocabulary) << i;
      EXPECT_EQ(f.program.list[i].translation, expected[i].translation) << i;
    }
    EXPECT_EQ(f.program.list[expected.size() - 1].vocabulary, expected[expected.size() - 1].vocabulary);
  }
}

TEST_F(FileCommands, ASaveInPlaceCutOffIsUndoneWhenTheFileIsOpenedNextUnlessChangedSince) {
  const std::string old = pairsOf("old", 500), changed = pairsOf("changed", 3);  // old: several pages
  const std::string question = "Die Datei\n" + path("a.ltk") +
                               "\nwurde am 01.03.2026 um 10:00 Uhr beim Speichern unterbrochen\n"
                               "und danach am 02.03.2026 um 08:30 Uhr noch einmal geändert.\n\n"
                               "Soll sie wieder den Inhalt von vor dem unterbrochenen Speichern bekommen?\n"
                               "Die spätere Änderung geht dabei verloren.\n\n\"Nein\" behält die Datei, wie sie ist."_w;
  const struct {
    const char* name;
    bool changedSince;  // another program wrote the file after the kill
    Answer answer;      // to the question, when one is asked
    std::string left;   // the file once opened
  } cases[] = {
      {"as the save left it", false, Answer::Ok, old},
      {"changed since, kept", true, Answer::No, changed},
      {"changed since, restored", true, Answer::Yes, old},
  };
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeBytes(path("a.ltk"), old);
    std::filesystem::remove(path("other.ltk"));
    std::filesystem::create_hard_link(path("a.ltk"), path("other.ltk"));  // rewritten in place
    openFile(f.program, path("a.ltk"));
    f.program.list.clear();
    for (int i = 0; i < 400; ++i) f.addPairs({{"torn" + std::to_string(i), "zerrissen", 0, 0}});
    f.program.file.unsaved = 1;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      f.files.writeLimit = 4096;  // a kill lands between the pages of a write
      // The backup is made first and renamed into place; then the file is
      // rewritten, and killed at its second write.
      f.files.beforeStep = [backupMade = false, writes = 0](const char* step) mutable {
        backupMade = backupMade || std::string_view(step) == "rename";
        if (backupMade && std::string_view(step) == "write" && ++writes == 2) ::raise(SIGKILL);
      };
      saveFile(f.program);
      ::_exit(0);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    ASSERT_NE(readBytes(path("a.ltk")), old);  // torn
    const auto at = [](std::time_t seconds) { return timespec{seconds, 0}; };
    for (const auto& copy : std::filesystem::directory_iterator(f.files.rescueFolder())) {
      const timespec times[2] = {at(1772359200), at(1772359200)};  // 01.03.2026 10:00
      ::utimensat(AT_FDCWD, copy.path().c_str(), times, 0);
    }
    if (c.changedSince) {
      writeBytes(path("a.ltk"), changed);
      const timespec times[2] = {at(1772440200), at(1772440200)};  // 02.03.2026 08:30
      ::utimensat(AT_FDCWD, path("a.ltk").c_str(), times, 0);
      f.ui.expectMessage("Unterbrochenes Speichern", question, c.answer);
    } else {
      f.ui.expectMessage("Datei wiederhergestellt",
                         "Die Datei\n" + path("a.ltk") +
                             "\nwurde beim letzten Speichern unterbrochen.\nSie hat wieder den Inhalt von vor diesem "
                             "Speichern.",
                         Answer::Ok);
    }
    f.program.file.unsaved = 0;
    openFile(f.program, path("a.ltk"));
    EXPECT_TRUE(f.ui.allMessagesShown());
    if (c.changedSince) {
      EXPECT_EQ(f.ui.shownMessages().back().buttons, MessageButtons::YesNoDefaultNo);
    }
    EXPECT_EQ(readBytes(path("other.ltk")), c.left);
    EXPECT_EQ(f.program.list.size(), c.left == old ? 500 : 3);
    EXPECT_EQ(f.program.file.currentPath, path("a.ltk"));
    EXPECT_TRUE(std::filesystem::is_empty(f.files.rescueFolder()));
  }
  ::unsetenv("TZ");
  ::tzset();
}

TEST_F(FileCommands, OpenWithUnsavedPairsAnsweredNoThenCancelledKeepsThem) {
  typePairs(3);
  f.program.file.currentPath = path("old.ltk");
  expectGuard(Answer::No);
  f.ui.expectOpenDialog(kOpenTitle, f.folder.path(), "");
  f.menu(CmdOpen);
  EXPECT_EQ(f.program.list.size(), 3);
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(f.program.file.currentPath, path("old.ltk"));
}

TEST_F(FileCommands, OpenWithUnsavedPairsAnsweredCancelChangesNothing) {
  typePairs(2);
  expectGuard(Answer::Cancel);
  f.menu(CmdOpen);
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 1);
}

TEST_F(FileCommands, OpenWithUnsavedPairsSavedThenCancelledRestoresThePath) {
  typePairs(2);
  expectGuard(Answer::Yes);
  f.ui.expectSaveDialog(kSaveTitle, "/opt/zelvo/", path("neu"));
  f.ui.expectOpenDialog(kOpenTitle, f.folder.path(), "");
  f.menu(CmdOpen);
  EXPECT_EQ(readBytes(path("neu.ltk")), "w0\r\nt\r\n0\r\n0\r\nw1\r\nt\r\n0\r\n0\r\n");
  EXPECT_EQ(f.program.file.currentPath, "");  // as before the operation began
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 0);
}

TEST_F(FileCommands, OpeningAnotherFileAfterSavingReplacesTheList) {
  writeBytes(path("b.ltk"), "x\r\ny\r\n1\r\n1\r\n");
  typePairs(2);
  f.program.file.currentPath = path("a.ltk");
  expectGuard(Answer::Yes);
  f.ui.expectOpenDialog(kOpenTitle, f.folder.path(), path("b.ltk"));
  f.menu(CmdOpen);
  EXPECT_EQ(readBytes(path("a.ltk")).size(), 26u);
  ASSERT_EQ(f.program.list.size(), 1);
  EXPECT_EQ(f.program.list[0].vocabulary, "x");
  EXPECT_EQ(f.ui.rowCount(), 1);
}

TEST_F(FileCommands, NewAsksAboutUnsavedPairs) {
  typePairs(2);
  expectGuard(Answer::Cancel);
  f.menu(CmdNew);
  EXPECT_EQ(f.program.list.size(), 2);

  expectGuard(Answer::Yes);  // never saved: the dialog, cancelled
  f.ui.expectSaveDialog(kSaveTitle, "/opt/zelvo/", "");
  f.menu(TbNew);
  EXPECT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.file.unsaved, 1);

  expectGuard(Answer::No);
  f.menu(CmdNew);
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "");
  EXPECT_EQ(f.ui.rowCount(), 0);
}

TEST_F(FileCommands, CloseWithoutUnsavedPairsEmptiesWithoutAQuestion) {
  writeBytes(path("a.ltk"), kTwoPairs);
  openFile(f.program, path("a.ltk"));
  f.menu(CmdClose);
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.file.currentPath, "");
  EXPECT_TRUE(f.ui.isCommandEnabled(CmdRestore));
}

TEST_F(FileCommands, ClosingTheWindowGoesThroughTheQuestion) {
  typePairs(1);
  expectGuard(Answer::Cancel);
  f.close();
  EXPECT_FALSE(f.program.quitRequested);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);

  f.program.file.currentPath = path("a.ltk");
  f.files.failSync = true;
  expectGuard(Answer::Yes);
  f.ui.expectMessage("Datei Zugriffsfehler", "Datei konnte nicht gespeichert werden!", Answer::Ok);
  f.close();
  EXPECT_FALSE(f.program.quitRequested);  // the save failed: nothing lost

  f.files.failSync = false;
  expectGuard(Answer::Yes);
  f.close();
  EXPECT_TRUE(f.program.quitRequested);
  EXPECT_EQ(readBytes(path("a.ltk")), "w0\r\nt\r\n0\r\n0\r\n");
}

TEST_F(FileCommands, ClosingTheWindowAndDiscardingEnds) {
  typePairs(1);
  expectGuard(Answer::No);
  f.menu(CmdQuit);
  EXPECT_TRUE(f.program.quitRequested);
}

TEST_F(FileCommands, SavingWithoutExtensionWritesLtk) {
  typePairs(1);
  f.ui.expectSaveDialog(kSaveTitle, "/opt/zelvo/", path("liste"));
  f.menu(CmdSave);  // no current file: "Speichern unter..."
  EXPECT_EQ(f.program.file.currentPath, path("liste.ltk"));
  EXPECT_EQ(readBytes(path("liste.ltk")), "w0\r\nt\r\n0\r\n0\r\n");
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.statusText(StatusFileField), " " + path("liste.ltk"));
  EXPECT_EQ(f.ui.statusMessages(), std::vector<std::string>{"Speichern..."});
  EXPECT_EQ(f.folder.names(), std::vector<std::string>{"liste.ltk"});  // no backup of a new file
}

TEST_F(FileCommands, AnEmptyListSavesAsZeroBytes) {
  f.program.file.currentPath = path("leer.ltk");
  f.program.file.unsaved = 1;
  saveFile(f.program);
  EXPECT_TRUE(std::filesystem::exists(path("leer.ltk")));
  EXPECT_EQ(readBytes(path("leer.ltk")), "");
}

TEST_F(FileCommands, SaveAsOntoAnExistingFileAsksAndCanBeDeclined) {
  writeBytes(path("da.ltk"), kTwoPairs);
  typePairs(1);
  f.program.file.currentPath = path("mine.ltk");
  const std::string question = path("da.ltk") + " besteht bereits.\r\nMöchten Sie sie ersetzen?"_w;
  f.ui.expectSaveDialog(kSaveTitle, f.folder.path(), path("da"));
  f.ui.expectMessage("Datei Speichern unter...", question, Answer::No);
  f.ui.expectSaveDialog(kSaveTitle, f.folder.path(), "");  // again, in the same folder
  f.menu(CmdSaveAs);
  EXPECT_EQ(f.program.file.currentPath, path("mine.ltk"));
  EXPECT_EQ(readBytes(path("da.ltk")), kTwoPairs);
  EXPECT_EQ(f.program.file.unsaved, 1);

  f.ui.expectSaveDialog(kSaveTitle, f.folder.path(), path("da.ltk"));
  f.ui.expectMessage("Datei Speichern unter...", question, Answer::Yes);
  f.menu(CmdSaveAs);
  EXPECT_EQ(f.program.file.currentPath, path("da.ltk"));
  EXPECT_EQ(readBytes(path("da.ltk")), "w0\r\nt\r\n0\r\n0\r\n");
  EXPECT_EQ(readBytes(path("da.lts")), kTwoPairs);  // the replaced file is kept as the backup
}

TEST_F(FileCommands, SavingKeepsTheCurrentPair) {
  typePairs(5);
  f.program.file.currentPath = path("a.ltk");
  f.program.list.select(3);
  saveFile(f.program);
  EXPECT_EQ(f.program.list.position(), 3);
}

class SaveFaults : public FileCommands, public ::testing::WithParamInterface<int> {};

TEST_P(SaveFaults, AFailedSaveLeavesTheOldFileWholeAndThePairsUnsaved) {
  std::string old;
  for (int i = 0; i < 2000; ++i) old += kTwoPairs;
  writeBytes(path("a.ltk"), old);
  typePairs(3000);
  f.program.file.currentPath = path("a.ltk");
  switch (GetParam()) {
    case 0:
      f.files.bytesBeforeDiskFull = 4096;
      break;  // disk full in the middle
    case 1:
      f.files.bytesBeforeDiskFull = 0;
      break;  // disk full at once
    case 2:
      f.files.failSync = true;
      break;  // I/O error on flush
    case 3:
      f.files.failClose = true;
      break;  // I/O error on close
  }
  f.ui.expectMessage("Datei Zugriffsfehler", "Datei konnte nicht gespeichert werden!", Answer::Ok);
  f.menu(CmdSave);
  EXPECT_EQ(readBytes(path("a.ltk")), old);
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
  for (const std::string& name : f.folder.names())  // the backup, perhaps, but no leftover temporary file
    EXPECT_TRUE(name == "a.ltk" || name == "a.lts") << name;
  // The message is fixed; the cause goes to whoever looks into it.
  const int errors[] = {ENOSPC, ENOSPC, EIO, EIO};
  EXPECT_EQ(f.system.causes,
            std::vector<std::string>{"saving " + path("a.ltk") + " " + std::to_string(errors[GetParam()])});
}

INSTANTIATE_TEST_SUITE_P(FileCommands, SaveFaults, ::testing::Values(0, 1, 2, 3));

}  // namespace
}  // namespace zl
