// The small tools every POSIX adapter uses on files: a descriptor that
// closes itself, whole reads and writes that go on after an interrupted
// call and stop at the first real failure, a temporary file beside a
// target, the folder part of a path, the rule for following a link, and a
// folder of the user's alone.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace zl {

// An open descriptor that this object alone owns: closed when it goes,
// handed on by moving.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      close();
      fd_ = other.release();
    }
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Gives the descriptor up without closing it.
  int release() { return std::exchange(fd_, -1); }
  // Closes it now: 0, or -1 when close(2) reports an error (for a file
  // written, a write that failed late). 0 when nothing was open.
  int close() { return fd_ >= 0 ? ::close(release()) : 0; }

 private:
  int fd_ = -1;
};

// Writes all of `bytes` at the descriptor's position through `writeSome`,
// which acts as write(2). False at the first failure, with errno from it;
// how much was written is then unknown.
template <typename WriteSome>
bool writeAllWith(int fd, std::string_view bytes, WriteSome&& writeSome) {
  while (!bytes.empty()) {
    const ssize_t n = writeSome(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

inline bool writeAll(int fd, std::string_view bytes) {
  return writeAllWith(fd, bytes, [](int to, const char* data, std::size_t size) { return ::write(to, data, size); });
}

// After a call on `path` has failed: keeps its errno in `failure`, unless
// that holds an earlier failure, which caused this one. Always false, so
// that it can end a failed condition.
bool noteFailure(Failure& failure, const std::string& path);

// Reads from the descriptor's position to the end into `bytes` (replacing
// what it held), a string or a ByteBuffer; `expected` is the size to make
// room for at once. Stops once `limit` + 1 bytes are in, so that an
// endless input (/dev/zero) ends too, or when `pieces` (when given, after
// each piece: file_system.h) answers false. False at a failure, with
// `bytes` holding what came before.
template <typename Bytes>
bool readAll(int fd, Bytes& bytes, std::size_t expected = 0, std::size_t limit = SIZE_MAX - 1,
             const ReadPieces& pieces = {}) {
  std::size_t used = 0;
  bytes.resize(std::min(expected, limit) + 1);  // + 1 sees the end at once
  for (;;) {
    if (used == limit + 1) return true;
    if (used == bytes.size())
      bytes.resize(std::min(bytes.size() < 32768 ? std::size_t{65536} : bytes.size() * 2, limit + 1));
    const std::size_t room = bytes.size() - used;
    const ssize_t n = ::read(fd, bytes.data() + used, pieces ? std::min(room, ReadPieceBytes) : room);
    if (n < 0 && errno == EINTR) continue;
    if (n > 0) used += static_cast<std::size_t>(n);
    if (n <= 0 || (pieces && !pieces(std::string_view(bytes.data(), used)))) {
      bytes.resize(used);
      return n >= 0;
    }
  }
}

// The whole file at `path` (links followed by the system) into `bytes`, a
// string or a ByteBuffer. False, with `bytes` empty and errno saying why
// (EISDIR for a folder), when it cannot be opened or read.
template <typename Bytes>
bool readWholeFile(const std::string& path, Bytes& bytes, const ReadPieces& pieces = {}) {
  bytes.clear();
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (readAll(fd.get(), bytes, static_cast<std::size_t>(st.st_size), SIZE_MAX - 1, pieces)) return true;
  bytes.clear();
  return false;
}

// True when a link `link` (lstat) in the folder `folder` (stat) may be
// followed: not when another user owns it in a folder that others may
// write too, unless that user owns the folder. This is the kernel's rule
// for sticky folders such as /tmp, kept by the program whatever the
// system's setting and for every folder others may write, since it follows
// links itself: a link planted there would lead a write to any file of the
// user's.
inline bool mayFollowLink(const struct stat& link, const struct stat& folder) {
  return !(folder.st_mode & (S_IWGRP | S_IWOTH)) || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// `folder` as a path to open: "." for "" (the working folder).
inline std::string openable(const std::string& folder) { return folder.empty() ? std::string(".") : folder; }

// The value of the environment variable `name`; "" when it is not set.
std::string environment(const char* name);

// A path in `folder` (with its trailing "/", or "") whose name is `prefix`
// and twelve random letters: most likely a free one.
std::string freshName(const std::string& folder, std::string_view prefix);

// The names of the temporary files this program writes beside their
// targets begin so.
inline constexpr std::string_view TemporaryPrefix = ".zl-save-";

// Removes what killed writers left in `folder`: the temporary files
// (TemporaryPrefix) that no running writer holds locked.
void removeUnheldTemporaries(const std::string& folder);

// Creates a new, empty file under a fresh name starting with `prefix` in
// `folder` (with its trailing "/", or "" for the working folder), opened
// for reading and writing, never through a link, and locked (flock) for as
// long as it stays open, so that a sweep of leftovers can tell it from a
// file whose writer was killed. `name` is its path. Empty when the folder
// takes no new file.
Descriptor createTemporary(const std::string& folder, std::string_view prefix, mode_t mode, std::string& name);

// Gives the open file `fd` the size `size`, as ftruncate(2), calling it
// only where the size differs: some file systems (fusefat) refuse a call
// that changes nothing.
bool resizeTo(int fd, std::uint64_t size);

// Gives the open file `fd`, which the user owns, the mode `mode`, as
// fchmod(2). True also where the file system keeps no mode per file and
// refuses (FAT32, exFAT: each file has the mode its mount gives), since
// nothing can be set there.
bool setMode(int fd, mode_t mode);

// Renames `from` over `to` through `rename` (as renameat2(2) without
// flags: 0, or -1 with errno). Where the file system renames onto free
// names only (fusefat refuses with EEXIST), the file at `to` moves aside
// to a fresh temporary name first and goes once `from` has taken its
// place: a crash between those steps leaves no file at `to`, and the old
// one under the temporary name, which the next sweep of leftovers takes.
int renameOver(const std::string& from, const std::string& to,
               const std::function<int(const std::string&, const std::string&)>& rename);

// Makes `folder` and the folders above it that are missing, with `mode`.
// True when it is a folder then.
bool makeFolders(const std::string& folder, mode_t mode);

// Opens the folder `folder` (with or without its trailing "/"), made with
// its missing parents (mode 0700) when it does not exist, for the ...at()
// calls: a folder that nobody but the user may enter or change, so that
// what the program finds there is its own. A link at its name is followed
// as mayFollowLink says, and the folder it leads to must be as private.
// Empty, with `failure` saying why, otherwise.
Descriptor openPrivateFolder(const std::string& folder, Failure& failure);

// True when `folder` is a folder in which the user may make, rename and
// remove files.
bool isWritableFolder(const std::string& folder);

// Flushes the names in `folder` to the disk, so that a rename there
// survives a crash. False when that fails.
bool syncFolder(const std::string& folder);

}  // namespace zl
