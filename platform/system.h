// The system services start-up needs: the program's own path, files beside
// it, a wait, the single-instance lock and the administrator check; and
// what the internet update needs to put a new program file in place and
// start it (NewProgramFile). DesktopShell below is the desktop the program
// ties itself into.
//
// Abstract so tests can fake it (a fake records every call in order); the
// real version is POSIX (system_posix.h). Start-up's services report no
// errors: a failed removal or an unavailable lock is simply not acted upon;
// the update's tell by their results whether they succeeded.
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
  // can be started. False when it fails: the program file is then the old
  // one and neither name is left.
  virtual bool install(const std::string& program, const std::string& staged, const std::string& leftover) = 0;
};

class System {
 public:
  virtual ~System() = default;
  // Full path of the running program file, as the system gives it.
  virtual std::string executablePath() = 0;
  // `path` as a full path: unchanged when it starts with "/" (or is empty),
  // else taken from the working directory.
  virtual std::string fullPath(const std::string& path) = 0;
  // True when a regular file (not a folder) exists at `path`.
  virtual bool isRegularFile(const std::string& path) = 0;
  virtual void sleepMilliseconds(int milliseconds) = 0;
  // Deletes the file; failure is ignored.
  virtual void removeFile(const std::string& path) = 0;
  // True when the user may make and rename files in `folder`.
  virtual bool isWritableFolder(const std::string& folder) = 0;
  // A new, empty program file in `folder` (NewProgramFile). nullptr when it
  // cannot be made there.
  virtual std::unique_ptr<NewProgramFile> createProgramFile(const std::string& folder) = 0;
  // Starts the program at `path` with `argument` as its one argument, in
  // `folder` (ours when empty), without a shell and without waiting for it.
  // False when it could not be started (also when `folder` is gone).
  virtual bool startProgram(const std::string& path, const std::string& argument, const std::string& folder) = 0;
  // Takes the lock named `name` for the life of the process. True when
  // another process already holds it; false when this process now holds it
  // or when no lock could be made at all (then we run as the only one).
  virtual bool anotherInstanceRuns(const std::string& name) = 0;
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
  std::string data;     // $XDG_DATA_HOME, else ~/.local/share
  std::string config;   // $XDG_CONFIG_HOME, else ~/.config
  std::string desktop;  // the XDG user folder DESKTOP, else ~/Desktop
};

// How a write or a removal treats a symbolic link at a file's name.
enum class FileKind {
  // A file the user keeps and the program edits a part of (mimeapps.list),
  // often a link into a folder of kept settings: the file the link leads to
  // is read, written or emptied, and the link stays.
  Kept,
  // A file the program makes as a whole (desktop entries, the MIME package,
  // icons, the shortcut): a link at its name is replaced by the new file or
  // removed, and what it led to is left as it was.
  Whole,
};

// What the program needs of the desktop to tie itself into it: the user's
// folders, files written and removed there, the desktop's cache tools, and
// opening a URL. Abstract so tests can run it in folders of their own and
// record the tools and URLs; the real version is desktop_posix.h with Qt
// for the URL (desktop_qt.h). Nothing here shows a message: writing,
// reading and removing report success, the rest reports nothing.
//
// Links: a link at a kept file is followed link by link, except one that
// another user owns in a folder that others may write too (as in /tmp),
// which may have been put there to lead a write elsewhere: reading,
// writing or emptying through it fails. A link at a file made whole is
// never followed.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  virtual DesktopFolders folders() = 0;
  // True when a regular file is at `path` (through any link). Cheap and
  // silent: the registration is looked up so after every event.
  virtual bool hasFile(const std::string& path) = 0;
  // The whole kept file at `path`. False, with `content` empty, when it is
  // missing, cannot be read, or lies behind a link that is not followed.
  virtual bool readFile(const std::string& path, std::string& content) = 0;
  // Puts `content` at `path`, making missing folders (mode 0700): written
  // to a new file (made with O_EXCL, never through a link) in the same
  // folder and renamed over the old one, so that the file holds the old
  // content or the new one, never a part. `kind` says what a link at
  // `path` means (above). The file keeps the mode of the one it replaces
  // (a new one, also one that replaces a link: 0666 less the umask), with
  // execute bits beside the read bits when `executable`. A file the user
  // may not write is never replaced. False when any step fails; then no
  // new file is left behind and the old one is untouched.
  virtual bool writeFile(const std::string& path, std::string_view content, FileKind kind, bool executable) = 0;
  // Takes the file at `path` away: removes it, or a link at its name, then
  // each folder above it that this leaves empty, up to but not including
  // `root`. A kept file behind a link is emptied instead, as writeFile
  // writes it, and the link stays. True when the file is gone or emptied,
  // also when there was none; false when that failed, with the file as it
  // was. Failing to remove a folder is ignored.
  virtual bool removeFile(const std::string& path, const std::string& root, FileKind kind) = 0;
  // Runs the program `tool`, found on PATH, with `arguments`, without a
  // shell, and waits for it to end. Nothing is reported, also not when the
  // tool is not installed.
  virtual void runTool(const std::string& tool, const std::vector<std::string>& arguments) = 0;
  // Asks the desktop to open `url` (a web page in the browser); nothing is
  // reported, also when no program takes it.
  virtual void openUrl(const std::string& url) = 0;
};

}  // namespace zl
