// The system services start-up needs: the program's own path, files beside
// it, a wait, the single-instance lock and the administrator check.
//
// Abstract so tests can fake it (a fake records every call in order); the
// real version is POSIX (system_posix.h). None of these report errors: a
// failed removal or an unavailable lock is simply not acted upon.
#pragma once

#include <cstdint>
#include <string>

namespace zl {

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

// The desktop shell's side of the file-type association. Abstract so tests
// can script the answer; asked after every event, so cheap and silent.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  // True when vocabulary files are registered as opening with this program.
  virtual bool isFileTypeRegistered() = 0;
};

}  // namespace zl
