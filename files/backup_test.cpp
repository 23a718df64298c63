#include "files/backup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "files/file_commands.h"
#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kRestoreTitle = "Vokabeldateiatei Backup zum wiederherstellen auswählen"_w;

class Backup : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return f.folder / name; }
  void saveWith(const std::string& word) {
    f.program.list.clear();
    f.program.list.append({word, "t", 0, 0});
    f.program.file.unsaved = 1;
    saveFile(f.program);
    ASSERT_EQ(f.program.file.unsaved, 0);
  }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }
  FakeProgram f;
};

TEST_F(Backup, EverySaveKeepsThePreviousVersion) {
  f.program.file.currentPath = path("englisch.ltk");
  saveWith("first");
  EXPECT_FALSE(std::filesystem::exists(path("englisch.lts")));  // a new file has no backup
  saveWith("second");
  saveWith("third");
  EXPECT_EQ(readBytes(path("englisch.lts")), "second\r\nt\r\n0\r\n0\r\n");
  EXPECT_EQ(readBytes(path("englisch.ltk")), "third\r\nt\r\n0\r\n0\r\n");
}

TEST_F(Backup, AnEmptyFileIsBackedUpAsAnEmptyFile) {
  writeBytes(path("leer.ltk"), "");
  writeBytes(path("leer.lts"), "older backup");
  f.program.file.currentPath = path("leer.ltk");
  saveWith("x");
  EXPECT_TRUE(std::filesystem::exists(path("leer.lts")));
  EXPECT_EQ(readBytes(path("leer.lts")), "");
}

TEST_F(Backup, AnUppercaseExtensionGetsALowercaseBackup) {
  writeBytes(path("ALT.LTK"), "old\r\nt\r\n0\r\n0\r\n");
  f.program.file.currentPath = path("ALT.LTK");
  saveWith("new");
  EXPECT_EQ(readBytes(path("ALT.lts")), "old\r\nt\r\n0\r\n0\r\n");
}

// Regression: a save that could keep no backup went ahead in silence.
TEST_F(Backup, ASaveThatKeepsNoBackupSaysWhyOnceForEachFile) {
  const auto told = [&](const std::string& name) {
    return "Die Datei\n" + path(name + ".ltk") + "\nwurde gespeichert, aber ihr Backup\n" + path(name + ".lts") +
           "\nkonnte nicht angelegt werden.\nAn dieser Stelle liegt ein Ordner.\nBenennen Sie den Ordner um.\n\n"
           "Bis zum nächsten Start des Programms erscheint diese Meldung für diese Datei nicht mehr."_w;
  };
  for (const std::string name : {"a", "b"}) {
    writeBytes(path(name + ".ltk"), "old\r\nt\r\n0\r\n0\r\n");
    std::filesystem::create_directory(path(name + ".lts"));  // no file can be made there
  }
  f.program.file.currentPath = path("a.ltk");
  f.ui.expectMessage("Kein Backup", told("a"), Answer::Ok);
  saveWith("new");
  EXPECT_EQ(readBytes(path("a.ltk")), "new\r\nt\r\n0\r\n0\r\n");
  EXPECT_EQ(f.ui.shownMessages().back().icon, MessageIcon::Warning);
  saveWith("again");  // not a second time
  EXPECT_EQ(readBytes(path("a.ltk")), "again\r\nt\r\n0\r\n0\r\n");
  f.program.file.currentPath = path("b.ltk");
  f.ui.expectMessage("Kein Backup", told("b"), Answer::Ok);
  saveWith("other");  // but for another file
}

TEST_F(Backup, ReadOnlyFilesAreNeverWritten) {
  writeBytes(path("a.ltk"), "keep");
  writeBytes(path("b.ltk"), "old\r\nt\r\n0\r\n0\r\n");
  writeBytes(path("b.lts"), "older");
  writeBytes(path("c.lts"), "backup\r\n");
  writeBytes(path("c.ltk"), "keep");
  for (const char* name : {"a.ltk", "b.lts", "c.ltk"}) ::chmod(path(name).c_str(), 0444);
  const bool ran = asPlainUser({f.folder.path(), path("a.ltk"), path("b.ltk"), path("b.lts"), path("c.ltk")}, [&] {
    f.program.file.currentPath = path("a.ltk");
    f.program.file.unsaved = 1;
    f.ui.expectMessage("Datei Zugriffsfehler", "Datei konnte nicht gespeichert werden!", Answer::Ok);
    saveFile(f.program);
    EXPECT_EQ(f.program.file.unsaved, 1);
    f.program.file.currentPath = path("b.ltk");
    saveWith("new");  // a read-only backup stays, and the save goes on without a word
    f.program.file.currentPath.clear();
    f.ui.expectOpenDialog(kRestoreTitle, "", path("c.lts"));
    f.ui.expectMessage("Datei Zugriffsfehler", "Datei konnte nicht gespeichert werden!", Answer::Ok);
    restoreBackup(f.program);  // the user must not believe it worked
    EXPECT_TRUE(f.ui.allMessagesShown());
  });
  if (!ran) GTEST_SKIP() << "no user without root's rights to run as";
  EXPECT_EQ(readBytes(path("a.ltk")), "keep");
  EXPECT_EQ(readBytes(path("b.ltk")), "new\r\nt\r\n0\r\n0\r\n");
  EXPECT_EQ(readBytes(path("b.lts")), "older");
  EXPECT_EQ(readBytes(path("c.ltk")), "keep");
  EXPECT_EQ(f.folder.names(), (std::vector<std::string>{"a.ltk", "b.ltk", "b.lts", "c.ltk", "c.lts"}));
}

TEST_F(Backup, RestoreCopiesTheBackupOverItsVocabularyFile) {
  writeBytes(path("englisch.lts"), "backup\r\n");
  writeBytes(path("englisch.ltk"), "damaged");
  f.ui.expectOpenDialog(kRestoreTitle, "/opt/zelvo/", path("englisch.lts"));
  f.menu(CmdRestore);
  EXPECT_EQ(readBytes(path("englisch.ltk")), "backup\r\n");
  EXPECT_EQ(f.program.file.currentPath, "");  // nothing is opened
  EXPECT_TRUE(f.program.list.empty());
  ASSERT_EQ(f.ui.lastFilters().size(), 2u);
  EXPECT_EQ(f.ui.lastFilters()[0].description, "Vokabeldatei Backup (*.LTS)");
  EXPECT_EQ(f.ui.lastFilters()[0].pattern, "*.LTS");
}

TEST_F(Backup, RestoringANameWithoutExtensionWritesLtk) {
  writeBytes(path("liste"), "x\r\n");
  f.ui.expectOpenDialog(kRestoreTitle, "", path("liste"));
  restoreBackup(f.program);
  EXPECT_EQ(readBytes(path("liste.ltk")), "x\r\n");
}

TEST_F(Backup, RestoringAVocabularyFileOntoItselfChangesNothing) {
  writeBytes(path("englisch.ltk"), "keep\r\nme\r\n1\r\n2\r\n");
  f.ui.expectOpenDialog(kRestoreTitle, "", path("englisch.ltk"));
  restoreBackup(f.program);
  EXPECT_EQ(readBytes(path("englisch.ltk")), "keep\r\nme\r\n1\r\n2\r\n");
}

TEST_F(Backup, RestoringAMissingFileOrCancellingChangesNothing) {
  writeBytes(path("a.ltk"), "keep");
  f.ui.expectOpenDialog(kRestoreTitle, "", path("a.lts"));
  restoreBackup(f.program);
  f.ui.expectOpenDialog(kRestoreTitle, "", "");
  restoreBackup(f.program);
  EXPECT_EQ(readBytes(path("a.ltk")), "keep");
}

// Regression: a backup that could not be read (mode 000) left the
// vocabulary file as it was and said nothing, as if restored.
TEST_F(Backup, ABackupThatCannotBeReadIsReportedAndRestoresNothing) {
  writeBytes(path("locked.lts"), "backup\r\n");
  ::chmod(path("locked.lts").c_str(), 0);
  std::filesystem::create_directory(path("folder.lts"));
  for (const char* name : {"locked.ltk", "folder.ltk"}) writeBytes(path(name), "keep");
  const bool ran = asPlainUser({f.folder.path(), path("locked.lts"), path("locked.ltk"), path("folder.ltk")}, [&] {
    for (const char* name : {"locked.lts", "folder.lts"}) {
      f.ui.expectOpenDialog(kRestoreTitle, "", path(name));
      f.ui.expectMessage("Datei Zugriffsfehler", "Die Datei\n" + path(name) + "\nkonnte nicht gelesen werden!",
                         Answer::Ok);
      restoreBackup(f.program);
      EXPECT_TRUE(f.ui.allMessagesShown());
    }
  });
  if (!ran) GTEST_SKIP() << "no user without root's rights to run as";
  EXPECT_EQ(readBytes(path("locked.ltk")), "keep");
  EXPECT_EQ(readBytes(path("folder.ltk")), "keep");
}

TEST_F(Backup, RestoreIsOfferedOnlyWithoutACurrentFile) {
  f.program.file.currentPath = path("a.ltk");
  f.menu(CmdEntryPage);
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdRestore));
  f.menu(CmdClose);
  EXPECT_TRUE(f.ui.isCommandEnabled(CmdRestore));
}

}  // namespace
}  // namespace zl
