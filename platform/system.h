// The services of the process: the program's own path, a wait, the
// single-instance lock, the administrator check and the memory left; and
// what the internet update needs to put a new program file in place and
// start it (NewProgramFile). DesktopShell below is the desktop the program
// ties itself into. Files are the FileSystem's (file_system.h).
//
// Abstract so tests can fake it (a fake records every call in order); the
// real version is POSIX (system_posix.h). Start-up's services report no
// errors: an unavailable lock is simply not acted upon; the update's tell
// by their results whether they succeeded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zl {

// The new program file of an update, from its download to its place: a file
// in the program's folder that this object alone holds, without a name until
// it is installed, so that no other process (another instance of the
// program, too) can change, replace or remove it meanwhile: what was checked
// is what is installed. Written as an OutputFile; `finish` flushes it to the
// disk and keeps it open for reading and installing. Gone when destroyed,
// unless installed.
class NewProgramFile : public OutputFile {
 public:
  // Reads at most `size` bytes at `offset` into `bytes`: fewer at the end,
  // none past it or when it cannot be read.
  virtual void readPart(std::uint64_t offset, std::size_t size, std::string& bytes) = 0;
  // Puts this file, finished, in place of the program file at `program`,
  // with its permissions (never a set-id bit), passing through the name
  // `staged` (a file there is replaced). `program` names a whole program at
  // every moment, the old or the new one, also when the process is killed
  // midway; afterwards the old one is at `leftover`, which must not exist.
  // A kill midway leaves at most `staged` and `leftover` behind, for the
  // next start to remove. Once installed the file is let go of, so that it
  // can be started. Failed when it fails: the program file is then the old
  // one and neither name is left.
  virtual Outcome install(const std::string& program, const std::string& staged, const std::string& leftover) = 0;
};

class System {
 public:
  virtual ~System() = default;
  // Full path of the running program file, as the system gives it.
  virtual std::string executablePath() = 0;
  // `path` as a full path: unchanged when it starts with "/" (or is empty),
  // else taken from the working directory.
  virtual std::string fullPath(const std::string& path) = 0;
  virtual void sleepMilliseconds(int milliseconds) = 0;
  // A new, empty program file in `folder` (NewProgramFile). nullptr, with
  // `failure` saying why, when it cannot be made there.
  virtual std::unique_ptr<NewProgramFile> createProgramFile(const std::string& folder, Failure& failure) = 0;
  std::unique_ptr<NewProgramFile> createProgramFile(const std::string& folder) {
    Failure ignored;
    return createProgramFile(folder, ignored);
  }
  // Starts the program at `path` with `argument` as its one argument, in
  // `folder` (ours when empty), without a shell and without waiting for it.
  // Failed when it could not be started (also when `folder` is gone).
  virtual Outcome startProgram(const std::string& path, const std::string& argument, const std::string& folder) = 0;
  // Tells whoever looks into a failure that a message box reported with
  // its fixed text what was `tried` and why it failed: on the program's
  // standard error.
  virtual void reportCause(std::string_view tried, const Failure& failure) = 0;
  // Takes the lock named `name` for the life of the process, in the one
  // place where every start of the same user meets it. True when another
  // process already holds it; false when this process now holds it or when
  // no lock could be made at all (then we run as the only one).
  virtual bool anotherInstanceRuns(const std::string& name) = 0;
  // When the process that started this one runs the program file that is
  // now at `oldProgram`, or where no old file could be kept (a file system
  // without links), the one this program replaced at its own name: an
  // instance that has just put its update in place and started the new
  // program. Then waits until that process has ended, however long that
  // takes, and returns true. False at once otherwise.
  virtual bool waitForUpdatingInstance(const std::string& oldProgram) = 0;
  // True when the file at executablePath() is no longer the program this
  // process runs: it was replaced or removed while the program ran.
  virtual bool programFileReplaced() = 0;
  // True exactly when the user may write the store that the file-type
  // association uses.
  virtual bool isAdministrator() = 0;
  // The bytes of memory the program can still take before the system
  // refuses it or ends the program: what the system has available, within
  // the memory limit of the program's control group when it has one.
  virtual std::uint64_t availableMemory() = 0;
};

// The user's folders that the desktop reads, as full paths without a
// trailing "/".
struct DesktopFolders {
  std::string home;       // $HOME
  std::string data;       // $XDG_DATA_HOME, else ~/.local/share
  std::string config;     // $XDG_CONFIG_HOME, else ~/.config
  std::string desktop;    // the XDG user folder DESKTOP, else ~/Desktop
  std::string documents;  // the XDG user folder DOCUMENTS, else ~/Documents
};

// What the program needs of the desktop to tie itself into it besides
// files: the user's folders, the desktop's cache tools, and opening a URL.
// Abstract so tests can run it in folders of their own and record the
// tools and URLs; the real version is desktop_posix.h with Qt for the URL
// (desktop_qt.h). Nothing here reports anything.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  virtual DesktopFolders folders() = 0;
  // Runs the program `tool`, found on PATH, with `arguments`, without a
  // shell, and waits for it to end. Nothing is reported, also not when the
  // tool is not installed.
  virtual void runTool(const std::string& tool, const std::vector<std::string>& arguments) = 0;
  // Asks the desktop to open `url` (a web page in the browser); nothing is
  // reported, also when no program takes it.
  virtual void openUrl(const std::string& url) = 0;
};

}  // namespace zl
