// The system services on Linux: /proc for the program's own path,
// nanosleep, an flock'ed lock file for the single instance, and
// write access to the folders of the file-type association (XDG data and
// config) as the administrator check; for the update an O_TMPFILE file put
// in place with linkat and rename, and posix_spawn.
//
// The lock file lies in one folder per user, so that every start of the
// same user meets the same lock whatever its environment says and whenever
// it starts: a folder of the user's own, mode 0700, in /tmp
// ($XDG_RUNTIME_DIR does not count, nor /run/user/<uid>, which may appear
// only after a first start: two starts would both run). The folder is held
// with a shared flock while the program runs, which tells systemd-tmpfiles
// not to clean it. A folder that another user owns or may write, or a link
// of another user's at its name, is never used (that user could hold the
// lock and keep the program from starting); then there is no lock, and the
// program runs. The kernel releases the lock when the process ends, also
// after a crash or kill -9.
#pragma once

#include <string>
#include <utility>

#include "platform/system.h"
#include "posix/abilities.h"
#include "posix/descriptors.h"

namespace zl {

class PosixSystem : public System {
 public:
  // The root is a parameter only so that tests can stand in for /tmp.
  explicit PosixSystem(std::string tempRoot = "/tmp") : tempRoot_(std::move(tempRoot)) {}
  PosixSystem(const PosixSystem&) = delete;
  PosixSystem& operator=(const PosixSystem&) = delete;

  std::string executablePath() override;
  std::string fullPath(const std::string& path) override;
  void sleepMilliseconds(int milliseconds) override;
  // An O_TMPFILE file in `folder`, or where the file system has none, a
  // locked file under a temporary name (what a killed download left under
  // one is removed first). Installing puts it at its staged
  // name (a link through /proc/self/fd, or a rename), keeps the old
  // program at the leftover name (a link, or where the file system has
  // none, an exchange of names), renames the new one over the program and
  // checks that the program is now this very file. Where the file system
  // can neither link nor exchange (exFAT, FUSE), the new one is renamed
  // over the old one and no leftover stays.
  using System::createProgramFile;
  std::unique_ptr<NewProgramFile> createProgramFile(const std::string& folder, Failure& failure) override;
  Outcome startProgram(const std::string& path, const std::string& argument, const std::string& folder) override;
  // "zelvo-lingotak: TRIED PATH: the system's words for the error".
  void reportCause(std::string_view tried, const Failure& failure) override;
  bool anotherInstanceRuns(const std::string& name) override;
  // The parent process, when its /proc/<pid>/exe is the file at
  // `oldProgram`, is waited for through a pidfd, or where the kernel has
  // none, until this process has another parent.
  bool waitForUpdatingInstance(const std::string& oldProgram) override;
  // /proc/self/exe is another file than the one at the program's path.
  bool programFileReplaced() override;
  bool isAdministrator() override;
  // MemAvailable of /proc/meminfo, less where a cgroup (v1 or v2) limit
  // leaves less room (memory_posix.cpp).
  std::uint64_t availableMemory() override;

 protected:
  // The calls that change the program's folder while a new program file is
  // installed, so that tests can stop between them as a kill would. Each
  // returns 0 or -1 with errno, as the system call does.
  virtual int linkPath(const std::string& from, const std::string& to, int flags);
  virtual int renamePath(const std::string& from, const std::string& to, unsigned flags);
  virtual int unlinkPath(const std::string& path);
  // As open(2) of an O_TMPFILE file in `folder`.
  virtual int openUnnamed(const std::string& folder, int flags, mode_t mode);

 private:
  class ProgramFile;  // the NewProgramFile, see the .cpp
  std::string tempRoot_;
  FileSystemAbilities abilities_;
  Descriptor lockFolder_;  // held with a shared flock, so that no cleaning of /tmp takes the lock away
  Descriptor lock_;
};

}  // namespace zl
