// The one instance of the program: its constants, the vocabulary store, the
// test and edit state, and the platform it talks to.
//
// The program is one window, one store and one test, so all of its state
// lives in one `Program`; every operation is a free function taking it.
// Tests build a fresh `Program` over fake platforms. Nothing here fails.
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
  std::string programDirectory;  // with its trailing separator
  std::int64_t buildStamp = 0;   // when the program was built, seconds since 1970 (UTC)
};

// The constants this build carries; `programDirectory` is left empty (it
// comes from the running executable). ZELVO_LINGOTAK_UPDATE_URL, when set
// and not empty, takes the place of the build's `updateUrl`.
AppConstants buildConstants();

// The outside world, one interface per group of services.
struct Platform {
  Ui& ui;
  System& system;
  DesktopShell& desktop;
  FileSystem& files;
  Printer& printer;
  Network& network;
  SignatureVerifier& signatures;
};

// The one program: the outside world it talks to, and its state.
struct Program : Platform {
  explicit Program(const Platform& platform) : Platform(platform) {}

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

}  // namespace zl
