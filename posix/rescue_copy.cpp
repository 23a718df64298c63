#include "posix/rescue_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "posix/descriptors.h"

namespace zl {

namespace {

constexpr std::string_view kMark = "zl-rescue 1\n";

// FNV-1a over 64-bit words, then the last bytes: the same value for the
// same bytes in every build, so a copy left by one version of the program
// is read right by the next.
std::size_t hashOf(std::string_view bytes) {
  constexpr std::uint64_t Prime = 0x100000001b3u;
  std::uint64_t hash = 0xcbf29ce484222325u;
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, 8);
    hash = (hash ^ word) * Prime;
  }
  for (; at < bytes.size(); ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * Prime;
  return static_cast<std::size_t>(hash);
}

std::string copyName(const struct stat& file) {
  return std::to_string(static_cast<unsigned long long>(file.st_dev)) + "-" +
         std::to_string(static_cast<unsigned long long>(file.st_ino));
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Makes `folder` (with its trailing "/") and its missing parents with mode
// 0700. True when it is then a folder of the user's that nobody else may
// enter; a copy found in any other could have been planted.
bool privateFolder(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
    ::mkdir(folder.substr(0, slash).c_str(), 0700);
  struct stat st {};
  return ::lstat(folder.substr(0, folder.size() - 1).c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// What a rescue copy holds.
struct Kept {
  std::size_t newSize = 0;
  std::size_t newHash = 0;
  std::string path;
  std::string_view old;
};

bool parse(std::string_view bytes, Kept& kept) {
  if (!bytes.starts_with(kMark)) return false;
  bytes.remove_prefix(kMark.size());
  unsigned long long size = 0, hash = 0, pathLength = 0;
  int header = 0;
  const std::string line(bytes.substr(0, bytes.find('\n') + 1));
  if (std::sscanf(line.c_str(), "%llu %llu %llu\n%n", &size, &hash, &pathLength, &header) != 3 || header == 0 ||
      bytes.size() - static_cast<std::size_t>(header) < pathLength)
    return false;
  bytes.remove_prefix(static_cast<std::size_t>(header));
  kept = {static_cast<std::size_t>(size), static_cast<std::size_t>(hash), std::string(bytes.substr(0, pathLength)),
          bytes.substr(pathLength)};
  return true;
}

// The file `file` at `path` gets `old` back, flushed.
bool putBack(const std::string& path, const struct stat& file, std::string_view old) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  struct stat opened {};
  const bool ok = fd && ::fstat(fd.get(), &opened) == 0 && sameFile(opened, file) && writeAll(fd.get(), old) &&
                  ::ftruncate(fd.get(), static_cast<off_t>(old.size())) == 0 && ::fsync(fd.get()) == 0;
  return fd.close() == 0 && ok;
}

}  // namespace

std::string userRescueFolder() {
  const std::string state = environment("XDG_STATE_HOME");
  if (state.starts_with('/')) return state + "/zelvo-lingotak/";
  const std::string home = environment("HOME");
  if (home.starts_with('/')) return home + "/.local/state/zelvo-lingotak/";
  return {};
}

bool RescueCopy::keep(const std::string& folder, const struct stat& file, const std::string& path, std::string_view old,
                      std::string_view replacement) {
  if (folder.empty() || !privateFolder(folder)) return false;
  const std::string name = folder + copyName(file);
  const std::string fresh = name + ".new";
  ::unlink(fresh.c_str());  // what a killed rewrite left before its copy was whole
  Descriptor fd(::open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd) return false;
  const std::string header = std::string(kMark) + std::to_string(replacement.size()) + " " +
                             std::to_string(hashOf(replacement)) + " " + std::to_string(path.size()) + "\n" + path;
  const bool ok = ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && writeAll(fd.get(), header) && writeAll(fd.get(), old) &&
                  ::fsync(fd.get()) == 0 && ::rename(fresh.c_str(), name.c_str()) == 0 && syncFolder(folder);
  if (!ok) {
    ::unlink(fresh.c_str());
    return false;
  }
  fd_ = std::move(fd);
  name_ = name;
  return true;
}

void RescueCopy::drop() {
  if (!fd_) return;
  ::unlink(name_.c_str());
  fd_.close();
}

Recovery recoverFromRescueCopy(const std::string& folder, const std::string& path) {
  struct stat file {};
  if (folder.empty() || ::stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) return Recovery::Nothing;
  const std::string name = folder + copyName(file);
  struct stat own {};
  if (::lstat(name.c_str(), &own) != 0 || !privateFolder(folder)) return Recovery::Nothing;
  const Descriptor fd(::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd) return Recovery::Nothing;
  Recovery result = Recovery::Nothing;
  std::string bytes;
  std::string now;
  Kept kept;
  struct stat recorded {};
  // A running rewrite holds the lock; a copy whose path names another file
  // now belongs to a file that was moved or removed.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && readAll(fd.get(), bytes) && parse(bytes, kept) &&
      ::stat(kept.path.c_str(), &recorded) == 0 && sameFile(recorded, file)) {
    const bool read = readWholeFile(path, now);
    if (read && ((now.size() == kept.newSize && hashOf(now) == kept.newHash) || now == kept.old)) {
      ::unlink(name.c_str());  // the rewrite was finished, or never began
    } else if (read && putBack(path, file, kept.old)) {
      ::unlink(name.c_str());
      result = Recovery::Recovered;
    } else {
      result = Recovery::Failed;
    }
  }
  return result;
}

}  // namespace zl
