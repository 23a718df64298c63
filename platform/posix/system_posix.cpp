#include "platform/posix/system_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace zl {

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder in which nobody but this user can make or replace a file.
bool isPrivateFolder(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// The folder of the lock: the same for every start of the user, whatever
// the environment says, as far as the system allows. $XDG_RUNTIME_DIR
// counts only where there is no /run/user/<uid>, and only when it names a
// folder as private as that one.
std::string lockFolder(const std::string& runtimeRoot, const std::string& tempRoot) {
  const std::string uid = std::to_string(::geteuid());
  std::string runtime = runtimeRoot + "/" + uid;
  if (isPrivateFolder(runtime)) return runtime;
  std::string variable = environment("XDG_RUNTIME_DIR");
  if (!variable.empty() && variable.front() == '/' && isPrivateFolder(variable)) return variable;
  const std::string own = tempRoot + "/zelvo-lingotak-" + uid;
  ::mkdir(own.c_str(), 0700);
  return isPrivateFolder(own) ? own : std::string();
}

}  // namespace

PosixSystem::~PosixSystem() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

std::string PosixSystem::executablePath() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return std::string();
  path.resize(static_cast<std::size_t>(n));
  return path;
}

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

bool PosixSystem::isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void PosixSystem::sleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void PosixSystem::removeFile(const std::string& path) { ::unlink(path.c_str()); }

bool PosixSystem::anotherInstanceRuns(const std::string& name) {
  if (lockFd_ >= 0) return false;
  const std::string folder = lockFolder(runtimeRoot_, tempRoot_);
  if (folder.empty()) return false;  // no lock to be had: run as the only instance
  const int fd = ::open((folder + "/" + name + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
  }
  lockFd_ = fd;  // kept open for the life of the process
  return false;
}

std::string xdgDataHome() {
  std::string data = environment("XDG_DATA_HOME");
  if (!data.empty() && data.front() == '/') return data;
  return environment("HOME") + "/.local/share";
}

bool PosixSystem::isAdministrator() {
  // The association lives in the user's data folder; it may be written when
  // the folder, or the nearest folder above it that exists, is writable.
  std::string path = xdgDataHome();
  while (!path.empty() && !isDirectory(path)) {
    const std::size_t slash = path.find_last_of('/');
    path = slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
  }
  return !path.empty() && ::access(path.c_str(), W_OK | X_OK) == 0;
}

}  // namespace zl
