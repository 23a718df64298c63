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

std::string lockFilePath(const std::string& name) {
  const std::string runtime = environment("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime.front() == '/' && isDirectory(runtime)) return runtime + "/" + name + ".lock";
  std::string temp = environment("TMPDIR");
  if (temp.empty() || !isDirectory(temp)) temp = "/tmp";
  return temp + "/" + name + "-" + std::to_string(::getuid()) + ".lock";
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
  const int fd = ::open(lockFilePath(name).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;  // no lock to be had: run as the only instance
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
