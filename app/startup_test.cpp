#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

class Startup : public ::testing::Test {
 protected:
  int start(std::vector<std::string> arguments = {}) {
    return runProgram({ui, system, desktop, files, printer, network, signatures}, arguments);
  }
  std::vector<std::string> uiCalls() const { return ui.calls(); }

  FakeUi ui;
  FakeSystem system;
  FakeDesktop desktop;
  FaultyFileSystem files;
  FakePrinter printer;
  FaultyNetwork network;
  SodiumSignatureVerifier signatures;
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
  // No leftover file: no wait; the lock comes before the administrator check.
  EXPECT_EQ(system.calls, (std::vector<std::string>{"lock Zelvo_Lingotak", "isAdministrator"}));
}

TEST_F(Startup, ALeftoverUpdateFileIsDeletedAfterASecond) {
  system.regularFiles.insert("/opt/zelvo/zelvo-lingotak.tmp");
  start();
  EXPECT_EQ(system.calls, (std::vector<std::string>{"sleep 1000", "remove /opt/zelvo/zelvo-lingotak.tmp",
                                                    "lock Zelvo_Lingotak", "isAdministrator"}));
}

TEST_F(Startup, ASecondInstanceSaysSoAndEndsWithoutAWindow) {
  system.lockHeldElsewhere = true;
  system.regularFiles.insert("/opt/zelvo/zelvo-lingotak.tmp");  // still cleaned up first
  ui.expectMessage("Fehler", "Das Programm ist bereits gestartet!", Answer::Ok);
  EXPECT_EQ(start({"/v/englisch.ltk"}), 0);
  EXPECT_TRUE(ui.allMessagesShown());
  ASSERT_EQ(ui.shownMessages().size(), 1u);
  EXPECT_EQ(ui.shownMessages()[0].icon, MessageIcon::Error);
  EXPECT_EQ(ui.shownMessages()[0].buttons, MessageButtons::Ok);
  const auto calls = uiCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "buildMainWindow"), 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "runEventLoop"), 0);
  EXPECT_EQ(system.calls.front(), "sleep 1000");
  EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "isAdministrator"), 0);
}

int sleptMilliseconds(const std::vector<std::string>& calls) {
  int total = 0;
  for (const std::string& call : calls)
    if (call.starts_with("sleep ")) total += std::stoi(call.substr(6));
  return total;
}

// Regression: a program restarted by the update took the old instance,
// still ending, for a second one and ended.
TEST_F(Startup, AfterAnUpdateItWaitsForTheOldInstanceToLetGo) {
  system.regularFiles.insert("/opt/zelvo/zelvo-lingotak.tmp");
  system.lockHeldElsewhere = true;
  system.lockReleasedAfter = 30;
  EXPECT_EQ(start(), 0);
  EXPECT_TRUE(ui.shownMessages().empty());
  EXPECT_EQ(uiCalls().back(), "runEventLoop");
  EXPECT_LE(sleptMilliseconds(system.calls), 1000 + 3100);
}

TEST_F(Startup, ASecondInstanceWaitsOnlyRightAfterAnUpdateAndAtMostTenSeconds) {
  system.lockHeldElsewhere = true;
  ui.expectMessage("Fehler", "Das Programm ist bereits gestartet!", Answer::Ok);
  start();
  EXPECT_EQ(sleptMilliseconds(system.calls), 0);

  system.calls.clear();
  system.regularFiles.insert("/opt/zelvo/zelvo-lingotak.tmp");
  ui.expectMessage("Fehler", "Das Programm ist bereits gestartet!", Answer::Ok);
  start();
  EXPECT_EQ(sleptMilliseconds(system.calls), 1000 + 10000);
  EXPECT_TRUE(ui.allMessagesShown());
}

TEST_F(Startup, AWindowThatCannotBeBuiltEndsTheProgramWithoutWaitingForEvents) {
  ui.windowFails = true;
  EXPECT_EQ(start({"/v/englisch.ltk"}), 0);
  EXPECT_EQ(uiCalls(), (std::vector<std::string>{"createFonts", "setIcons 12", "buildMainWindow"}));
}

TEST_F(Startup, AfterStartTheEntryPageWaitsWithNoFileOpen) {
  ui.onEventLoop = [&](EventSink&) {
    EXPECT_EQ(ui.currentPage(), EntryPage);
    EXPECT_EQ(ui.focusedControl(), EntryVocabularyField);
    EXPECT_EQ(ui.statusText(StatusFileField), " Arbeitsverzeichnis: /opt/zelvo/     (Es ist keine Datei geöffnet)"_w);
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
