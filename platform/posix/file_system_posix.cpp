#include "platform/posix/file_system_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace zl {

namespace {

// The folder part of a path, with its trailing "/"; "" for a bare name. Only
// "/" separates here: to the system a "\" is part of a file name.
std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

// The file a write to `path` must replace: the target of a symbolic link
// (also of a dangling one), else the path itself.
std::string replacedFile(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> target(static_cast<std::size_t>(PATH_MAX) + 1);
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size() - 1);
    if (n <= 0) return current;
    std::string next(target.data(), static_cast<std::size_t>(n));
    current = next.front() == '/' ? next : folderOf(current) + next;
  }
  return current;
}

}  // namespace

FileStatus PosixFileSystem::status(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {true, S_ISREG(st.st_mode), static_cast<std::uint64_t>(st.st_size)};
}

bool PosixFileSystem::readFile(const std::string& path, ByteBuffer& content) {
  content.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  if (ok) {
    std::size_t used = 0;
    content.resize(static_cast<std::size_t>(st.st_size) + 1);  // + 1 to see the end at once
    for (;;) {
      if (used == content.size()) content.resize(content.size() * 2);
      const ssize_t n = ::read(fd, content.data() + used, content.size() - used);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      used += static_cast<std::size_t>(n);
    }
    content.resize(used);
  }
  ::close(fd);
  if (!ok) content.clear();
  return ok;
}

bool PosixFileSystem::replaceFile(const std::string& path, std::string_view content) {
  const std::string target = replacedFile(path);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return false;

  std::string temp = folderOf(target) + ".zl-save-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  mode_t mode = 0;
  if (existed) {
    mode = old.st_mode & 07777;
    if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) != 0) mode &= 0777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0;
  for (std::size_t done = 0; ok && done < content.size();) {
    const ssize_t n = writeSome(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && syncFile(fd) == 0;
  ok = closeFile(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; the new content is already on the disk.
  std::string folder = folderOf(target);
  if (folder.empty()) folder = ".";
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool PosixFileSystem::isSameFile(const std::string& first, const std::string& second) {
  struct stat a {
  }, b{};
  return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

ssize_t PosixFileSystem::writeSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

int PosixFileSystem::syncFile(int fd) { return ::fsync(fd); }

int PosixFileSystem::closeFile(int fd) { return ::close(fd); }

}  // namespace zl
