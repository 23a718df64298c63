// The one instance of the program: its constants, the vocabulary store, the
// test and edit state, and the platform it talks to.
//
// The program is one window, one store and one test, so all of its state
// lives in one `Program`; every operation is a free function taking it.
// Tests build a fresh `Program` over fake platforms. Nothing here fails.
//
// Ending a test without evaluation happens in the middle of commands below
// quiz/ (a delete, a sort, a new or opened file), and what the test page
// shows must change right there, before a later focus move or message box:
// done after the event, an open would show its messages over the ended
// test. The test page is quiz/'s, which those folders may not include, so
// the program is handed quiz/'s `clearTestPage` when it is made, and every
// such end goes through `endRunningTest`.
#pragma once

#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/network.h"
#include "platform/printer.h"
#include "platform/signature_verifier.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "state/controls.h"
#include "state/edit_state.h"
#include "state/random.h"
#include "state/test_state.h"
#include "store/vocab_store.h"

namespace zl {

// Set once at start-up, never changed afterwards.
struct AppConstants {
  std::string productName;
  std::string versionText;
  std::string copyrightLine;
  std::string updateUrl;
  std::string homepageUrl;
  // Where the program works while no file is current (shown in the status
  // bar, where file dialogs start, the desktop shortcut's working folder),
  // with its trailing separator: the program's own folder where the user
  // may write in it (a build folder, a program kept on a stick), else (an
  // installed package) the user's documents folder, else the home folder.
  std::string workingDirectory;
  std::int64_t buildStamp = 0;  // when the program was built, seconds since 1970 (UTC)
};

// The constants this build carries; `workingDirectory` is left empty (it
// comes from the running executable and the user's folders). ZELVO_LINGOTAK_UPDATE_URL, when set
// and not empty, takes the place of the build's `updateUrl`.
AppConstants buildConstants();

// The outside world, one interface per group of services. The window comes
// as its four parts (platform/ui.h): a command reaches only the parts it
// uses, a test fakes only the ones it needs; the real window is one object
// behind all four.
struct Platform {
  WindowStart& window;  // building the window and its event loop: start-up only
  WindowControls& controls;
  PairListView& listView;
  MessageDialogs& dialogs;
  System& system;
  DesktopShell& desktop;
  FileSystem& files;
  Printer& printer;
  Network& network;
  SignatureVerifier& signatures;
};

// The file the list belongs to.
struct AppState {
  std::string currentPath;  // empty when no file is current
  int unsaved = 0;          // 1 while the list holds changes not in the file
};

// What the window shows once a test has ended without evaluation.
using TestPageClearing = void (*)(WindowControls& controls);

// The one program: the outside world it talks to, and its state.
struct Program : Platform {
  Program(const Platform& platform, TestPageClearing testPageClearing)
      : Platform(platform), clearTestPage(testPageClearing) {}

  const TestPageClearing clearTestPage;  // quiz/'s clearTestPage

  AppConstants constants;
  bool isAdministrator = false;
  bool quitRequested = false;

  VocabList list;
  AppState file;
  TestState test;
  EditState edit;
  RandomGenerator random;  // the one generator of the program
  // The files whose saves keep no backup and whose user has been told so:
  // once a run for each.
  std::set<std::string> filesToldWithoutBackup;
};

// Ends any running test without evaluation (`endTest`) and clears the test
// page (`Program::clearTestPage`) at once. Cannot fail.
void endRunningTest(Program& program);

}  // namespace zl
