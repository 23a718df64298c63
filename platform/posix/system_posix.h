// The system services on Linux: /proc for the program's own path, stat,
// unlink, nanosleep, an flock'ed lock file for the single instance, and
// write access to the XDG data folder as the administrator check.
//
// The lock file lies in $XDG_RUNTIME_DIR (else the temp folder, with the user
// id in its name, opened without following links). The kernel releases the
// lock when the process ends, also after a crash or kill -9.
#pragma once

#include "platform/system.h"

namespace zl {

class PosixSystem : public System {
 public:
  PosixSystem() = default;
  ~PosixSystem() override;
  PosixSystem(const PosixSystem&) = delete;
  PosixSystem& operator=(const PosixSystem&) = delete;

  std::string executablePath() override;
  std::string fullPath(const std::string& path) override;
  bool isRegularFile(const std::string& path) override;
  void sleepMilliseconds(int milliseconds) override;
  void removeFile(const std::string& path) override;
  bool anotherInstanceRuns(const std::string& name) override;
  bool isAdministrator() override;

 private:
  int lockFd_ = -1;
};

// The association with the desktop is not offered by this build yet, so
// vocabulary files never count as registered.
class PosixDesktopShell : public DesktopShell {
 public:
  bool isFileTypeRegistered() override { return false; }
};

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute.
std::string xdgDataHome();

}  // namespace zl
