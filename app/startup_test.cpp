#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

class Startup : public ::testing::Test {
 protected:
  int start(std::vector<std::string> arguments = {}) {
    return runProgram({ui, ui, ui, ui, system, desktop, files, printer, network, signatures}, arguments);
  }
  std::vector<std::string> uiCalls() const { return ui.calls(); }
  // A file in the program's folder, `name` taking the place of the
  // program's own name.
  std::string beside(const std::string& name) const { return programFolder / name; }
  void runFrom(const std::string& name) { system.executable = beside(name); }
  void leave(const std::string& name) { writeBytes(beside(name), "left over"); }

  TempFolder programFolder;
  FakeUi ui;
  FakeSystem system;
  FakeDesktop desktop;
  FaultyFileSystem files;
  FakePrinter printer;
  FaultyNetwork network;
  SodiumSignatureVerifier signatures;

  void SetUp() override { runFrom("zelvo-lingotak"); }
};

TEST_F(Startup, RunsItsStepsInOrder) {
  EXPECT_EQ(start(), 0);
  const std::vector<std::string> expectedUi = {
      "createFonts",     "setIcons 12",  "buildMainWindow",
      "setHelpDocument", "showPage 0",   "setFocus EntryVocabularyField",
      "showMainWindow",  "runEventLoop",
  };
  EXPECT_EQ(uiCalls(), expectedUi);
  ASSERT_FALSE(ui.helpDocument().paragraphs.empty());  // the built-in help, read
  EXPECT_EQ(ui.helpDocument().paragraphs.front().runs.front().text, "Hilfe zum Zelvo Lingotak");
  // No leftover file: no sleep, yet a look whether an update started this
  // one (where no old program is kept, its process tells); the lock comes
  // before the administrator check.
  EXPECT_EQ(system.calls, (std::vector<std::string>{"wait for " + beside("zelvo-lingotak.tmp"), "lock Zelvo_Lingotak",
                                                    "isAdministrator"}));
}

TEST_F(Startup, ALeftoverUpdateFileIsDeletedAfterASecond) {
  leave("zelvo-lingotak.tmp");
  start();
  EXPECT_EQ(system.calls, (std::vector<std::string>{"wait for " + beside("zelvo-lingotak.tmp"), "sleep 1000",
                                                    "lock Zelvo_Lingotak", "isAdministrator"}));
  EXPECT_EQ(programFolder.names(), std::vector<std::string>{});
}

TEST_F(Startup, ASecondInstanceSaysSoAndEndsWithoutAWindow) {
  system.lockHeldElsewhere = true;
  leave("zelvo-lingotak.tmp");  // still cleaned up first
  ui.expectMessage("Fehler", "Das Programm ist bereits gestartet!", Answer::Ok);
  EXPECT_EQ(start({"/v/englisch.ltk"}), 0);
  EXPECT_TRUE(ui.allMessagesShown());
  ASSERT_EQ(ui.shownMessages().size(), 1u);
  EXPECT_EQ(ui.shownMessages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui.shownMessages()[0].buttons, MessageButtons::Ok);
  const auto calls = uiCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "buildMainWindow"), 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "runEventLoop"), 0);
  EXPECT_EQ(system.calls.at(1), "sleep 1000");
  EXPECT_EQ(programFolder.names(), std::vector<std::string>{});
  EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "isAdministrator"), 0);
}

int sleptMilliseconds(const std::vector<std::string>& calls) {
  int total = 0;
  for (const std::string& call : calls)
    if (call.starts_with("sleep ")) total += std::stoi(call.substr(6));
  return total;
}

// Regression: a program restarted by the update waited at most a minute for
// the old instance, whose user may leave its last message open longer, then
// took it for a second one and ended: after OK no program ran at all.
TEST_F(Startup, AfterAnUpdateItWaitsForTheOldInstanceAndOnlyRightAfterOne) {
  const struct {
    const char* name;
    bool leftover;         // the old program file beside this one
    bool startedByIt;      // this start is the restart of that updating instance
    bool runs;             // the window comes up, else "bereits gestartet"
    std::string waitCall;  // the wait asked of the system, if any
    int slept;
  } cases[] = {
      {"the restart of an update", true, true, true, "wait for " + beside("zelvo-lingotak.tmp"), 0},
      {"a leftover of another start", true, false, false, "wait for " + beside("zelvo-lingotak.tmp"), 1000},
      {"a second start", false, false, false, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    system.calls.clear();
    system.lockHeldElsewhere = true;  // by the old instance, or the first one
    system.startedByUpdatingInstance = c.startedByIt;
    if (c.leftover) leave("zelvo-lingotak.tmp");
    if (!c.runs) ui.expectMessage("Fehler", "Das Programm ist bereits gestartet!", Answer::Ok);
    EXPECT_EQ(start(), 0);
    EXPECT_TRUE(ui.allMessagesShown());
    EXPECT_EQ(uiCalls().back() == "runEventLoop", c.runs);
    EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), c.waitCall), c.waitCall.empty() ? 0 : 1);
    EXPECT_EQ(sleptMilliseconds(system.calls), c.slept);
    EXPECT_EQ(programFolder.names(), std::vector<std::string>{});
  }
}

// Regression: a download cut short and an update file that never took the
// program's place stayed for ever, and a program named like its own
// leftover file removed itself.
TEST_F(Startup, RemovesWhatAnUpdateLeftButNeverItself) {
  const struct {
    std::string executable;
    std::vector<std::string> files;
    std::vector<std::string> left;
  } cases[] = {
      {"zelvo-lingotak",
       {"zelvo-lingotak", "zelvo-lingotak.tmp", "zelvo-lingotak.upd", "zelvo-lingotak.upd.minisig", "other.tmp"},
       {"other.tmp", "zelvo-lingotak"}},
      {"zelvo-lingotak", {"zelvo-lingotak", "zelvo-lingotak.upd"}, {"zelvo-lingotak"}},
      {"lingotak.tmp", {"lingotak.tmp", "lingotak.upd"}, {"lingotak.tmp"}},
      {"lingotak.upd", {"lingotak.upd", "lingotak.tmp"}, {"lingotak.upd"}},
  };
  for (const auto& c : cases) {
    for (const std::string& name : programFolder.names()) std::filesystem::remove(beside(name));
    for (const std::string& name : c.files) leave(name);
    runFrom(c.executable);
    start();
    EXPECT_EQ(programFolder.names(), c.left) << c.executable;
  }
}

// A program killed at any step of putting its update in place, and started
// again (a debugger stopping it between two steps found the program file
// gone): the program file holds a whole program, the old one or the new
// one, and the start leaves nothing else beside it. `plain`: on a file
// system without links, name exchange and O_TMPFILE, as exFAT.
class KilledDuringUpdate : public PosixSystem {
 public:
  KilledDuringUpdate(const std::string& root, std::string program, int steps, bool plain)
      : PosixSystem(root + "tmp"), program_(std::move(program)), stepsLeft_(steps), plain_(plain) {}
  std::string executablePath() override { return program_; }
  void sleepMilliseconds(int) override {}

 protected:
  int linkPath(const std::string& from, const std::string& to, int flags) override {
    if (plain_) return refuse(EPERM);
    return alive() ? PosixSystem::linkPath(from, to, flags) : -1;
  }
  int renamePath(const std::string& from, const std::string& to, unsigned flags) override {
    if (plain_ && flags != 0) return refuse(EINVAL);
    return alive() ? PosixSystem::renamePath(from, to, flags) : -1;
  }
  int unlinkPath(const std::string& path) override { return alive() ? PosixSystem::unlinkPath(path) : -1; }
  int openUnnamed(const std::string& folder, int flags, mode_t mode) override {
    return plain_ ? refuse(EOPNOTSUPP) : PosixSystem::openUnnamed(folder, flags, mode);
  }

 private:
  static int refuse(int error) {
    errno = error;
    return -1;
  }
  // Each step is one change of the folder; once the steps are used up the
  // process is dead and changes nothing more.
  bool alive() {
    if (stepsLeft_ == 0) {
      errno = EIO;
      return false;
    }
    --stepsLeft_;
    return true;
  }
  std::string program_;
  int stepsLeft_;
  bool plain_;
};

TEST_F(Startup, AnUpdateKilledAtAnyStepLeavesAWholeProgramAndTheNextStartCleansUp) {
  for (const bool plain : {false, true}) {
    for (int steps = 0; steps <= 5; ++steps) {
      SCOPED_TRACE(testing::Message() << steps << " steps" << (plain ? " on a plain file system" : ""));
      TempFolder folder;
      const std::string program = folder / "zelvo-lingotak";
      writeBytes(program, "old program");
      writeBytes(program + ".upd", "a download cut short");
      KilledDuringUpdate killed(folder.path(), program, steps, plain);
      {
        const std::unique_ptr<NewProgramFile> update = killed.createProgramFile(folder.path());
        ASSERT_TRUE(update && update->write("new program") && update->finish());
        update->install(program, program + ".upd", program + ".tmp");
      }
      const std::string left = readBytes(program);
      EXPECT_TRUE(left == "old program" || left == "new program") << left;
      EXPECT_EQ(runProgram({ui, ui, ui, ui, killed, desktop, files, printer, network, signatures}, {}), 0);
      EXPECT_EQ(readBytes(program), left);
      // A named download that a kill left is cleared by the next update.
      if (plain) PosixSystem(folder / "tmp").createProgramFile(folder.path());
      std::vector<std::string> names = folder.names();
      std::erase_if(names, [](const std::string& name) { return name == "tmp"; });
      EXPECT_EQ(names, std::vector<std::string>{"zelvo-lingotak"});
    }
  }
}

TEST_F(Startup, AWindowThatCannotBeBuiltEndsTheProgramWithoutWaitingForEvents) {
  ui.windowFails = true;
  EXPECT_EQ(start({"/v/englisch.ltk"}), 0);
  EXPECT_EQ(uiCalls(), (std::vector<std::string>{"createFonts", "setIcons 12", "buildMainWindow"}));
}

// Regression: the installed program worked in its own folder, /usr/bin:
// the status bar showed it, and the first save of a new list failed there.
TEST_F(Startup, TheWorkingFolderIsTheProgramsWhereItMayBeWrittenElseTheUsersDocuments) {
  const std::string documents = desktop.root() + "Dokumente/", home = desktop.root() + "home/";
  const struct {
    const char* name;
    bool programFolderWritable;
    bool documentsExist;
    std::string working;
  } cases[] = {
      {"a build folder", true, true, programFolder.path()},
      {"an installed package", false, true, documents},
      {"no documents folder", false, false, home},
  };
  std::filesystem::create_directories(home);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files.readOnlyFolders.clear();
    if (!c.programFolderWritable) files.readOnlyFolders.insert(programFolder.path());
    std::filesystem::remove_all(documents);
    if (c.documentsExist) std::filesystem::create_directories(documents);
    ui.onEventLoop = [&](EventSink& sink) {
      EXPECT_EQ(ui.statusText(StatusFileField),
                " Arbeitsverzeichnis: " + c.working + "     (Es ist keine Datei geöffnet)"_w);
      ui.expectOpenDialog("Vokabeldateiatei zum Laden auswählen"_w, c.working, "");  // the dialogs start there
      sink.handleEvent(Event{EventKind::Menu, CmdOpen, EventSubtype::None});
    };
    start();
    EXPECT_TRUE(ui.allMessagesShown());
  }
}

TEST_F(Startup, AfterStartTheEntryPageWaitsWithNoFileOpen) {
  ui.onEventLoop = [&](EventSink&) {
    EXPECT_EQ(ui.currentPage(), EntryPage);
    EXPECT_EQ(ui.focusedControl(), EntryVocabularyField);
    EXPECT_EQ(ui.statusText(StatusFileField),
              " Arbeitsverzeichnis: " + programFolder.path() + "     (Es ist keine Datei geöffnet)"_w);
    EXPECT_EQ(ui.statusText(StatusStateField), "");
    EXPECT_FALSE(ui.isCommandEnabled(CmdClose));
    EXPECT_TRUE(ui.isCommandEnabled(CmdRestore));
    EXPECT_FALSE(ui.isEnabled(EditButton));
  };
  start();
}

TEST_F(Startup, TheFirstArgumentOpensWithoutADialog) {
  TempFolder folder;
  writeBytes(folder / "my list.ltk", "house\r\nHaus\r\n0\r\n0\r\n");
  ui.onEventLoop = [&](EventSink&) {
    EXPECT_EQ(ui.rowCount(), 1);
    EXPECT_EQ(ui.text(EntryCountValue), "1");
    EXPECT_EQ(ui.focusedControl(), EntryVocabularyField);  // ready for typing
    EXPECT_EQ(ui.statusText(StatusFileField), " " + (folder / "my list.ltk"));
    EXPECT_FALSE(ui.isCommandEnabled(CmdRestore));
  };
  start({folder / "my list.ltk", folder / "ignored.ltk"});
}

// Regression: a relative start path stayed relative in the status bar and
// in currentPath.
TEST_F(Startup, ARelativeStartFileBecomesAFullPath) {
  ui.onEventLoop = [&](EventSink&) { EXPECT_EQ(ui.statusText(StatusFileField), " /home/anna/neu.ltk"); };
  start({"neu.ltk"});
}

TEST_F(Startup, AMissingStartFileOpensEmptyUnderItsName) {
  ui.onEventLoop = [&](EventSink&) {
    EXPECT_EQ(ui.rowCount(), 0);
    EXPECT_EQ(ui.statusText(StatusFileField), " /nowhere/neu.ltk");
  };
  start({"/nowhere/neu.ltk"});
  EXPECT_TRUE(ui.shownMessages().empty());
}

TEST_F(Startup, TheAdministratorFlagDecidesTheAssociationCommands) {
  system.administrator = false;
  ui.onEventLoop = [&](EventSink&) {
    EXPECT_FALSE(ui.isCommandEnabled(CmdRegister));
    EXPECT_FALSE(ui.isCommandEnabled(CmdUnregister));
  };
  start();
  EXPECT_EQ(desktop.lookups, 0);
}

TEST_F(Startup, TheLoopRunsUntilTheProgramQuits) {
  ui.onEventLoop = [](EventSink& sink) {
    EXPECT_FALSE(sink.quitRequested());
    sink.handleEvent(Event{EventKind::Menu, CmdTestPage, EventSubtype::None});
    EXPECT_FALSE(sink.quitRequested());
    sink.handleEvent(Event{EventKind::Menu, CmdQuit, EventSubtype::None});
    EXPECT_TRUE(sink.quitRequested());
  };
  EXPECT_EQ(start({"", "second"}), 0);
  EXPECT_EQ(ui.currentPage(), TestPage);
}

}  // namespace
}  // namespace zl
