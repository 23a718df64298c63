#include "posix/system_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include "posix/descriptors.h"
#include "posix/desktop_posix.h"

namespace zl {

namespace {

// Where the link at `path` leads; "" when it cannot be read.
std::string linkTarget(const std::string& path) {
  std::string target(4096, '\0');
  const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
  if (n <= 0) return std::string();
  target.resize(static_cast<std::size_t>(n));
  return target;
}

}  // namespace

std::string PosixSystem::executablePath() { return linkTarget("/proc/self/exe"); }

std::string PosixSystem::fullPath(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  // The folder as the system resolves it ("." and "..", links), so that
  // "../englisch.ltk" shows where it really is; the file itself may not
  // exist yet (a later save creates it).
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  char* resolved = ::realpath(folder.c_str(), nullptr);
  if (resolved) {
    std::string full = resolved;
    std::free(resolved);
    if (full.back() != '/') full += '/';
    return full + name;
  }
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  if (error) return path;
  return (here / path).lexically_normal();
}

void PosixSystem::sleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Buffered by stdio over its descriptor. Named (`temp_`) only where the
// folder's file system makes no file without a name.
class PosixSystem::ProgramFile : public NewProgramFile {
 public:
  ProgramFile(PosixSystem& system, std::string folder, FILE* file, std::string temp)
      : system_(system), folder_(std::move(folder)), file_(file), fd_(::fileno(file)), temp_(std::move(temp)) {}
  ~ProgramFile() override {
    if (file_) ::fclose(file_);  // without a name it is gone with its descriptor
    if (!temp_.empty()) system_.unlinkPath(temp_);
  }
  ProgramFile(const ProgramFile&) = delete;
  ProgramFile& operator=(const ProgramFile&) = delete;

  bool write(std::string_view bytes) override {
    return file_ &&
           (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() || noteFailure(failure_, folder_));
  }

  bool finish() override {
    return file_ && ((std::fflush(file_) == 0 && ::fsync(fd_) == 0) || noteFailure(failure_, folder_));
  }

  Failure failure() const override { return failure_; }

  void readPart(std::uint64_t offset, std::size_t size, std::string& bytes) override {
    bytes.resize(size);
    const ssize_t n = ::pread(fd_, bytes.data(), size, static_cast<off_t>(offset));
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  }

  Outcome install(const std::string& program, const std::string& staged, const std::string& leftover) override {
    if (staged == program || leftover == program || staged == leftover) return systemFailure(EINVAL, program);
    struct stat old {};
    if (::stat(program.c_str(), &old) != 0 || !setMode(fd_, old.st_mode & 0777)) return systemFailure(errno, program);
    system_.unlinkPath(staged);
    if (!stage(staged)) return systemFailure(errno, staged);
    // The old program is kept at the leftover name: as a second name of
    // its file, or where the file system makes no links by swapping names
    // with the staged one. Where it can do neither (exFAT, FUSE), the new
    // program is renamed over it and no leftover stays; the old one is
    // then known by its running process alone (waitForUpdatingInstance).
    Kept kept = keepByLink(program, leftover);
    if (kept == Kept::NotTried) kept = keepBySwap(program, staged, leftover);
    // Another process could have put its own file at the staged name in
    // the meantime: then that one is not installed (ESTALE).
    const bool mine = kept != Kept::NotTried || isThisFile(staged);
    if (kept == Kept::Failed || !mine || (kept != Kept::Swapped && !putInPlace(program, staged, leftover, kept))) {
      const Failure failure = systemFailure(mine ? errno : ESTALE, program);
      system_.unlinkPath(staged);
      if (kept == Kept::Linked) system_.unlinkPath(leftover);
      return failure;
    }
    if (!isThisFile(program)) {
      if (kept != Kept::NotTried) system_.renamePath(leftover, program, 0);
      return systemFailure(ESTALE, program);
    }
    syncFolder(folder_);                      // the new names on the disk before the old program ends
    ::fclose(std::exchange(file_, nullptr));  // a program open for writing cannot be started
    fd_ = -1;
    return {};
  }

 private:
  enum class Kept { Linked, Swapped, NotTried, Failed };

  // Puts this file at `staged`.
  bool stage(const std::string& staged) {
    if (temp_.empty()) return system_.linkPath("/proc/self/fd/" + std::to_string(fd_), staged, AT_SYMLINK_FOLLOW) == 0;
    if (system_.renamePath(temp_, staged, 0) != 0) return false;
    temp_.clear();
    return true;
  }

  Kept keepByLink(const std::string& program, const std::string& leftover) {
    if (!system_.abilities_.has(folder_, Ability::HardLinks)) return Kept::NotTried;
    if (system_.linkPath(program, leftover, 0) == 0) return Kept::Linked;
    return system_.abilities_.refused(folder_, Ability::HardLinks, errno) ? Kept::NotTried : Kept::Failed;
  }

  // Renames the staged file over the program. Where the file system renames
  // onto free names only (fusefat), the old program moves to the leftover
  // name first, kept there as by a swap: a kill between the two leaves no
  // program at its name.
  bool putInPlace(const std::string& program, const std::string& staged, const std::string& leftover, Kept& kept) {
    if (system_.renamePath(staged, program, 0) == 0) return true;
    if (errno != EEXIST || kept != Kept::NotTried || system_.renamePath(program, leftover, 0) != 0) return false;
    if (system_.renamePath(staged, program, 0) == 0) {
      kept = Kept::Swapped;
      return true;
    }
    const int error = errno;
    system_.renamePath(leftover, program, 0);
    errno = error;
    return false;
  }

  // The new program takes the program's name and the old one the staged
  // name in one step; then the old one moves on to the leftover name.
  Kept keepBySwap(const std::string& program, const std::string& staged, const std::string& leftover) {
    if (!system_.abilities_.has(folder_, Ability::RenameFlags) || !isThisFile(staged)) return Kept::NotTried;
    if (system_.renamePath(staged, program, RENAME_EXCHANGE) != 0)
      return system_.abilities_.refused(folder_, Ability::RenameFlags, errno) ? Kept::NotTried : Kept::Failed;
    if (system_.renamePath(staged, leftover, 0) == 0) return Kept::Swapped;
    system_.renamePath(staged, program, RENAME_EXCHANGE);  // back as it was
    return Kept::Failed;
  }

  bool isThisFile(const std::string& path) const {
    struct stat named {};
    struct stat mine {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd_, &mine) == 0 && named.st_dev == mine.st_dev &&
           named.st_ino == mine.st_ino;
  }

  PosixSystem& system_;
  std::string folder_;
  FILE* file_;
  int fd_;
  std::string temp_;  // its name until installed; "" while it has none
  Failure failure_;
};

std::unique_ptr<NewProgramFile> PosixSystem::createProgramFile(const std::string& folder, Failure& failure) {
  const std::string inFolder = folder.ends_with('/') ? folder : folder + "/";
  removeUnheldTemporaries(inFolder);  // what a killed download left under a name
  Descriptor fd;
  if (abilities_.has(folder, Ability::UnnamedFiles)) {
    fd = Descriptor(openUnnamed(folder, O_RDWR | O_CLOEXEC, 0700));
    if (!fd && !abilities_.refused(folder, Ability::UnnamedFiles, errno)) {
      failure = systemFailure(errno, folder);
      return nullptr;
    }
  }
  std::string temp;
  if (!fd) fd = createTemporary(inFolder, TemporaryPrefix, 0700, temp);
  FILE* file = fd ? ::fdopen(fd.get(), "w+") : nullptr;
  if (!file) {
    failure = systemFailure(errno, folder);
    if (!temp.empty()) unlinkPath(temp);
    return nullptr;
  }
  fd.release();  // the stream's now
  return std::make_unique<ProgramFile>(*this, folder, file, std::move(temp));
}

int PosixSystem::linkPath(const std::string& from, const std::string& to, int flags) {
  return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
}

int PosixSystem::renamePath(const std::string& from, const std::string& to, unsigned flags) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
}

int PosixSystem::openUnnamed(const std::string& folder, int flags, mode_t mode) {
  return ::open(folder.c_str(), O_TMPFILE | flags, mode);
}

int PosixSystem::unlinkPath(const std::string& path) { return ::unlink(path.c_str()); }

Outcome PosixSystem::startProgram(const std::string& path, const std::string& argument, const std::string& folder) {
  posix_spawn_file_actions_t actions;
  if (const int error = ::posix_spawn_file_actions_init(&actions); error != 0) return systemFailure(error, path);
  int error = folder.empty() ? 0 : ::posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::string program = path, first = argument;
  char* const argv[] = {program.data(), first.data(), nullptr};
  pid_t child = 0;
  if (error == 0) error = ::posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
  ::posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? Outcome() : systemFailure(error, path);
}

namespace {

const char* inWords(const Failure& failure) {
  switch (failure.cause) {
    case FailureCause::System:
      return std::strerror(failure.error);
    case FailureCause::OtherUsersFile:
      return "another user's file is there, and it is never written into";
    case FailureCause::OtherUsersLink:
      return "a link that another user put in a folder others may write is not followed";
    case FailureCause::NotAFile:
      return "a folder or something else than a plain file is there";
    case FailureCause::NotPrivate:
      return "the folder is not the user's alone";
    case FailureCause::NoFolder:
      return "no folder for it is known";
    case FailureCause::None:
      break;
  }
  return "no cause is known";
}

}  // namespace

void PosixSystem::reportCause(std::string_view tried, const Failure& failure) {
  std::fprintf(stderr, "zelvo-lingotak: %.*s %s: %s\n", static_cast<int>(tried.size()), tried.data(),
               failure.path.c_str(), inWords(failure));
}

bool PosixSystem::anotherInstanceRuns(const std::string& name) {
  if (lock_) return false;
  Failure ignored;  // no lock to be had: run as the only instance
  Descriptor folder = openPrivateFolder(tempRoot_ + "/zelvo-lingotak-" + std::to_string(::geteuid()), ignored);
  if (!folder) return false;
  Descriptor fd(::openat(folder.get(), (name + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd) return false;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  ::flock(folder.get(), LOCK_SH | LOCK_NB);
  lockFolder_ = std::move(folder);
  lock_ = std::move(fd);  // kept open for the life of the process
  return false;
}

bool PosixSystem::waitForUpdatingInstance(const std::string& oldProgram) {
  const pid_t parent = ::getppid();
  const std::string parentProgram = "/proc/" + std::to_string(parent) + "/exe";
  struct stat running {};
  struct stat old {};
  const bool runsOld = ::stat(parentProgram.c_str(), &running) == 0 && ::stat(oldProgram.c_str(), &old) == 0 &&
                       running.st_dev == old.st_dev && running.st_ino == old.st_ino;
  // The kernel names a program file that is gone by its last name and this mark.
  if (parent <= 1 || !(runsOld || linkTarget(parentProgram) == executablePath() + " (deleted)")) return false;
  // A pidfd taken while the parent is still ours is the parent's, not that
  // of a later process under the same number.
  const Descriptor process(static_cast<int>(::syscall(SYS_pidfd_open, parent, 0)));
  if (process && ::getppid() == parent) {
    pollfd ended{process.get(), POLLIN, 0};
    while (::poll(&ended, 1, -1) < 0 && errno == EINTR) {
    }
    return true;
  }
  while (::getppid() == parent) sleepMilliseconds(100);
  return true;
}

bool PosixSystem::programFileReplaced() {
  struct stat running {};
  struct stat named {};
  return ::stat("/proc/self/exe", &running) == 0 && (::stat(executablePath().c_str(), &named) != 0 ||
                                                     named.st_dev != running.st_dev || named.st_ino != running.st_ino);
}

bool PosixSystem::isAdministrator() {
  // Registering writes into these folders of the user's and replaces
  // mimeapps.list (the places of desktop/file_type.cpp); a missing folder
  // is made inside the nearest thing that exists on its path, which must be
  // a folder then.
  const DesktopFolders folders = userDesktopFolders();
  for (std::string path : {folders.data + "/applications", folders.data + "/mime/packages",
                           folders.data + "/icons/hicolor", folders.config}) {
    while (::access(path.c_str(), F_OK) != 0) {
      const std::size_t slash = path.find_last_of('/');
      path = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    }
    if (!isWritableFolder(path)) return false;
  }
  const std::string mimeApps = folders.config + "/mimeapps.list";
  return ::access(mimeApps.c_str(), F_OK) != 0 || ::access(mimeApps.c_str(), W_OK) == 0;
}

}  // namespace zl
