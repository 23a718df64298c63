#include "posix/descriptors.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cstdlib>
#include <random>

namespace zl {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string freshName(const std::string& folder, std::string_view prefix) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  static constexpr std::string_view Letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = folder;
  name += prefix;
  for (int i = 0; i < 12; ++i) name += Letters[random() % Letters.size()];
  return name;
}

Descriptor createTemporary(const std::string& folder, std::string_view prefix, mode_t mode, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = freshName(folder, prefix);
    Descriptor fd(::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!fd && errno == EEXIST) continue;
    if (!fd) return fd;
    // A sweep of leftovers may have taken it for one before the lock was
    // ours; that sweep removes it.
    struct stat st {};
    const bool taken = (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) ||
                       ::fstat(fd.get(), &st) != 0 || st.st_nlink == 0;
    if (!taken) return fd;
  }
  return Descriptor();
}

void removeUnheldTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(openable(folder).c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (!std::string_view(entry->d_name).starts_with(TemporaryPrefix)) continue;
    const Descriptor fd(::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

bool noteFailure(Failure& failure, const std::string& path) {
  if (!failure) failure = systemFailure(errno, path);
  return false;
}

bool resizeTo(int fd, std::uint64_t size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  return static_cast<std::uint64_t>(st.st_size) == size || ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool setMode(int fd, mode_t mode) {
  return ::fchmod(fd, mode) == 0 || errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM;
}

int renameOver(const std::string& from, const std::string& to,
               const std::function<int(const std::string&, const std::string&)>& rename) {
  if (rename(from, to) == 0) return 0;
  if (errno != EEXIST) return -1;
  const std::string aside = freshName(folderOf(to), TemporaryPrefix);
  if (rename(to, aside) != 0) return -1;
  if (rename(from, to) != 0) {
    const int error = errno;
    rename(aside, to);  // the old file back at its name
    errno = error;
    return -1;
  }
  ::unlink(aside.c_str());
  return 0;
}

bool makeFolders(const std::string& folder, mode_t mode) {
  struct stat st {};
  if (::stat(openable(folder).c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  std::string parent = folder;
  while (!parent.empty() && parent.back() == '/') parent.pop_back();
  parent = folderOf(parent);
  if (!parent.empty() && parent != folder && !makeFolders(parent, mode)) return false;
  return ::mkdir(folder.c_str(), mode) == 0 || errno == EEXIST;
}

Descriptor openPrivateFolder(const std::string& folder, Failure& failure) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const int made = makeFolders(path, 0700) ? 0 : errno;  // only what is missing: this runs at every save
  struct stat name {};
  if (::lstat(path.c_str(), &name) != 0) {
    failure = systemFailure(made != 0 ? made : errno, path);
    return Descriptor();
  }
  struct stat parent {};
  if (S_ISLNK(name.st_mode) &&
      (::stat(openable(folderOf(path)).c_str(), &parent) != 0 || !mayFollowLink(name, parent))) {
    failure = {FailureCause::OtherUsersLink, 0, path};
    return Descriptor();
  }
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) {
    failure = systemFailure(errno, path);
    return Descriptor();
  }
  if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
    failure = {FailureCause::NotPrivate, 0, path};
    return Descriptor();
  }
  return fd;
}

bool isWritableFolder(const std::string& folder) {
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool syncFolder(const std::string& folder) {
  const Descriptor fd(::open(openable(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd && ::fsync(fd.get()) == 0;
}

}  // namespace zl
