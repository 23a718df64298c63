#include "app/startup.h"

#include "app/dispatch.h"
#include "app/help_document.h"
#include "app/icons.h"
#include "app/interface_state.h"
#include "app/rtf_reader.h"
#include "app/texts.h"
#include "files/file_commands.h"
#include "platform/paths.h"
#include "quiz/quiz_run.h"
#include "state/program.h"
#include "state/texts.h"
#include "store/path_names.h"
#include "update/internet_update.h"

namespace zl {

namespace {

constexpr int LeftoverWaitMilliseconds = 1000;

class ProgramEvents : public EventSink {
 public:
  explicit ProgramEvents(Program& program) : program_(program) {}
  void handleEvent(Event event) override { dispatchEvent(program_, event); }
  bool quitRequested() const override { return program_.quitRequested; }

 private:
  Program& program_;
};

// What an update leaves beside the program: the old program file (where
// the file system keeps one), and a new one (or an older version's
// download) that never took its place. An updated program is started by
// the old one, which ends only once its user has read that the update is
// in: wait for it, however long that takes, so that its file can go and
// its lock is free. A leftover of
// another start (one that could not remove it) gets the second an ending
// program needs to let go of its file. A program whose own name is one of
// these never takes itself for a leftover.
void removeUpdateLeftovers(const Platform& platform, const std::string& executable) {
  const auto [staged, leftover] = updateFilesOf(executable);
  const bool leftoverFound = leftover != executable && platform.files.status(leftover).regular;
  if (!platform.system.waitForUpdatingInstance(leftover) && leftoverFound)
    platform.system.sleepMilliseconds(LeftoverWaitMilliseconds);
  for (const std::string& path : {leftover, staged, staged + ".minisig"})
    if (path != executable && platform.files.status(path).regular) platform.files.removeFile(path);
}

// The program's own folder where the user may write in it; else (an
// installed package, whose folder is the system's) the user's documents
// folder, else the home folder, as far as they exist.
std::string workingDirectoryOf(const Platform& platform, const std::string& programDirectory) {
  if (platform.files.isWritableFolder(programDirectory)) return programDirectory;
  const DesktopFolders folders = platform.desktop.folders();
  for (const std::string& folder : {folders.documents, folders.home}) {
    const FileStatus status = platform.files.status(folder);
    if (!folder.empty() && status.exists && !status.regular) return folder + "/";
  }
  return programDirectory;
}

}  // namespace

int runProgram(const Platform& platform, const std::vector<std::string>& arguments) {
  WindowStart& window = platform.window;
  WindowControls& ui = platform.controls;
  System& system = platform.system;
  Program program(platform, clearTestPage);
  program.constants = buildConstants();
  const std::string executable = system.executablePath();
  program.constants.workingDirectory = workingDirectoryOf(platform, folderOf(executable));
  // Shown in the status bar and kept as the current file: a full path,
  // whatever folder the program was started from.
  const std::string startFile = arguments.empty() ? std::string() : system.fullPath(arguments.front());

  window.createFonts();
  window.setIcons(decodeEmbeddedIcons());

  removeUpdateLeftovers(platform, executable);

  if (system.anotherInstanceRuns("Zelvo_Lingotak")) {
    platform.dialogs.messageBox(state_text::ErrorTitle, app_text::AlreadyRunning, MessageButtons::Ok,
                                MessageIcon::Error);
    return 0;
  }
  program.isAdministrator = system.isAdministrator();

  if (!window.buildMainWindow(program.list)) return 0;
  window.setHelpDocument(readRtf(helpDocumentRtf()));
  ui.showPage(EntryPage);
  ui.setFocus(EntryVocabularyField);
  updateInterfaceState(program);
  window.showMainWindow();
  if (!startFile.empty()) {
    openFile(program, startFile);
    updateInterfaceState(program);  // the loop has not run yet to show what was opened
  }

  ProgramEvents events(program);
  window.runEventLoop(events);
  return 0;
}

}  // namespace zl
