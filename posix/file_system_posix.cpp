#include "posix/file_system_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <limits>
#include <utility>
#include <vector>

#include "posix/descriptors.h"
#include "posix/rescue_copy.h"

namespace zl {

namespace {

// The file that `path` names: `path` itself or the file its links lead
// to, followed one by one, also to a file that does not exist yet (a
// dangling link: a write creates it). False, with `why` (when given)
// saying so, at a link that may not be followed (mayFollowLink), a circle
// of links or one that cannot be read.
bool followLinks(const std::string& path, std::string& file, Failure* why = nullptr) {
  constexpr int MaxLinks = 40;  // as many links in a row as the kernel follows
  file = path;
  for (int links = 0; links < MaxLinks; ++links) {
    struct stat link {};
    if (::lstat(file.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return true;
    const std::string folderName = folderOf(file);
    struct stat folder {};
    if (::stat(openable(folderName).c_str(), &folder) != 0 || !mayFollowLink(link, folder)) {
      if (why) *why = {FailureCause::OtherUsersLink, 0, file};
      return false;
    }
    char target[PATH_MAX];
    const ssize_t n = ::readlink(file.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) == sizeof target) {
      if (why) *why = systemFailure(n < 0 ? errno : ENAMETOOLONG, file);
      return false;
    }
    const std::string next(target, static_cast<std::size_t>(n));
    file = next.front() == '/' ? next : folderName + next;
  }
  if (why) *why = systemFailure(ELOOP, path);
  return false;
}

bool mayWrite(const std::string& path) { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// A file that a new one may replace by a rename: no other hard link loses
// it, and the new file can have the same owner.
bool renamable(const struct stat& st) { return st.st_nlink == 1 && (st.st_uid == ::geteuid() || ::geteuid() == 0); }

// Gives a file the mode of `like` and, where allowed, its owner and group,
// never leaving it more readable than `like`: without the owner it gets no
// set-id bits, without the group none of the group's rights, which would
// be another group's.
bool shapeLike(int fd, const struct stat& like) {
  mode_t mode = like.st_mode & 07777;
  if (::fchown(fd, like.st_uid, like.st_gid) != 0) {
    mode &= 0777;
    if (::fchown(fd, static_cast<uid_t>(-1), like.st_gid) != 0) mode &= ~static_cast<mode_t>(070);
  }
  return setMode(fd, mode);
}

// Lets everyone who may read the file also run it.
bool addExecuteBits(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && setMode(fd, (st.st_mode & 07777) | ((st.st_mode & 0444) >> 2));
}

// `folder` (with or without its trailing "/") and then each folder above it
// that is left empty, removed up to but not including `root`.
void removeEmptyFolders(std::string folder, const std::string& root) {
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  while (!root.empty() && folder.size() > root.size() && folder.starts_with(root + "/") &&
         ::rmdir(folder.c_str()) == 0) {
    folder = folderOf(folder);
    folder.pop_back();
  }
}

enum class Keep { Nothing, BySwap, ByCopy };

// True when no file may be made at, or renamed over, the name of another
// user's file in `folder`: a folder the user may not write, or a sticky
// one of someone else's, where only owners move their files.
bool othersFilesStay(const std::string& folder) {
  struct stat st {};
  return !isWritableFolder(openable(folder)) || ::stat(openable(folder).c_str(), &st) != 0 ||
         ((st.st_mode & S_ISVTX) && st.st_uid != ::geteuid() && ::geteuid() != 0);
}

// How `current`, the file at `target`, is kept at `backup`, or why it
// cannot be (`gap`). Swapping names costs no copy; it needs the new file
// renamed into the backup's folder, over an old backup that is the user's
// own and has one name, since its blocks take the new content. Another
// user's file there is never written into: it may only be replaced by a
// new file (a copy), where the folder lets it go. The user's own backup
// that the user may not write, and the file itself, stay as they are, on
// purpose.
Keep howToKeep(const std::string& target, const struct stat& current, const std::string& backup, bool renaming,
               Failure& gap) {
  struct stat old {};
  if (::stat(backup.c_str(), &old) != 0) {
    if (errno != ENOENT) {
      gap = systemFailure(errno, backup);
      return Keep::Nothing;
    }
    return renaming && folderOf(backup) == folderOf(target) ? Keep::BySwap : Keep::ByCopy;
  }
  if (sameFile(old, current)) return Keep::Nothing;
  if (!S_ISREG(old.st_mode)) {
    gap = {FailureCause::NotAFile, 0, backup};
    return Keep::Nothing;
  }
  if (old.st_uid != ::geteuid()) {
    if (!othersFilesStay(folderOf(backup))) return Keep::ByCopy;
    gap = {FailureCause::OtherUsersFile, 0, backup};
    return Keep::Nothing;
  }
  if (!mayWrite(backup)) return Keep::Nothing;
  return renaming && folderOf(backup) == folderOf(target) && old.st_nlink == 1 ? Keep::BySwap : Keep::ByCopy;
}

}  // namespace

// One file to write: `target` with links followed; `current`, the file there
// now (nullptr: none yet); `like`, whose mode and owner the result takes
// (nullptr: those of `current`, or for a new file the usual ones); `backup`,
// where `current` is kept first ("": nowhere); `whole`, never rewritten in
// place but always replaced by a new file; `executable`, with execute bits
// beside its read bits. Why it could not be written goes to `failure`
// (the first cause: what followed it is its consequence), why no backup
// was kept to `backupGap` (each when given).
struct PosixFileSystem::Write {
  std::string target;
  const struct stat* current = nullptr;
  const struct stat* like = nullptr;
  std::string backup;
  bool whole = false;
  bool executable = false;
  Failure* failure = nullptr;
  bool* noRescueCopy = nullptr;  // set when `failure` is about the rescue copy
  Failure* backupGap = nullptr;
  const struct stat* shape() const { return like ? like : current; }
  void noteGap(Failure gap) const {
    if (backupGap) *backupGap = std::move(gap);
  }
  // Keeps `why` as the failure unless one is kept already. False.
  bool fail(Failure why) const {
    if (failure && !*failure) *failure = std::move(why);
    return false;
  }
  // The same for a system call on `path` that has just failed.
  bool failed(const std::string& path) const { return fail(systemFailure(errno, path)); }
};

PosixFileSystem::PosixFileSystem() : rescueFolder_(userRescueFolder()) {}

FileStatus PosixFileSystem::status(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {true, S_ISREG(st.st_mode), static_cast<std::uint64_t>(st.st_size)};
}

Outcome PosixFileSystem::readFile(const std::string& path, ByteBuffer& content, const ReadPieces& pieces) {
  content.clear();
  std::string file;
  Failure failure;
  if (!followLinks(path, file, &failure)) return failure;
  if (!readWholeFile(file, content, pieces)) return systemFailure(errno, file);
  return {};
}

namespace {

class MappedBytes : public FileBytes {
 public:
  MappedBytes(void* address, std::size_t size) : address_(address), size_(size) {}
  ~MappedBytes() override { ::munmap(address_, size_); }
  MappedBytes(const MappedBytes&) = delete;
  MappedBytes& operator=(const MappedBytes&) = delete;
  std::string_view bytes() const override { return {static_cast<const char*>(address_), size_}; }

 private:
  void* address_;
  std::size_t size_;
};

class ReadBytes : public FileBytes {
 public:
  std::string_view bytes() const override { return viewOf(content); }
  ByteBuffer content;
};

}  // namespace

std::unique_ptr<FileBytes> PosixFileSystem::mapFile(const std::string& path, std::uint64_t maxBytes, Failure& failure) {
  std::string file;
  if (!followLinks(path, file, &failure)) return nullptr;
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) {
    failure = systemFailure(errno, file);
    return nullptr;
  }
  if (S_ISDIR(st.st_mode)) {
    failure = {FailureCause::NotAFile, 0, file};
    return nullptr;
  }
  // Pipes and files that tell no size (as in /proc) are read instead.
  if (S_ISREG(st.st_mode) && st.st_size > 0) {
    const auto size = static_cast<std::size_t>(st.st_size);
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (address != MAP_FAILED) {
      ::madvise(address, size, MADV_SEQUENTIAL);
      return std::make_unique<MappedBytes>(address, size);
    }
  }
  auto read = std::make_unique<ReadBytes>();
  const auto limit = static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes, SIZE_MAX - 1));
  if (!readAll(fd.get(), read->content, static_cast<std::size_t>(st.st_size), limit)) {
    failure = systemFailure(errno, file);
    return nullptr;
  }
  return read;
}

Outcome PosixFileSystem::writeFile(const std::string& path, std::string_view content, FileKind kind, bool executable) {
  Failure failure;
  Write write;
  write.target = path;
  write.whole = true;
  write.executable = executable;
  write.failure = &failure;
  if (kind == FileKind::Kept && !followLinks(path, write.target, &failure)) return failure;
  // A link still at the target is at a file made whole: the rename replaces it.
  struct stat old {};
  if (::lstat(write.target.c_str(), &old) == 0 && !S_ISLNK(old.st_mode)) {
    if (!S_ISREG(old.st_mode)) return Failure{FailureCause::NotAFile, 0, write.target};
    if (!mayWrite(write.target)) return systemFailure(errno, write.target);
    write.current = &old;
  }
  if (!makeFolders(folderOf(write.target), 0700)) return systemFailure(errno, folderOf(write.target));
  removeUnheldTemporaries(folderOf(write.target));
  if (!put(write, content) && !failure) failure = systemFailure(errno, write.target);
  return failure;
}

Outcome PosixFileSystem::removeFile(const std::string& path, FileKind kind, const std::string& root) {
  std::string file = path;
  Failure failure;
  if (kind == FileKind::Kept && !followLinks(path, file, &failure)) return failure;
  if (file != path) return writeFile(file, "", FileKind::Whole, false);
  if (::unlink(path.c_str()) != 0) return errno == ENOENT ? Outcome() : systemFailure(errno, path);
  removeEmptyFolders(folderOf(path), root);
  return {};
}

bool PosixFileSystem::isWritableFolder(const std::string& folder) { return zl::isWritableFolder(folder); }

Replacement PosixFileSystem::replaceFile(const std::string& path, std::string_view content,
                                         const std::string& backupPath) {
  Replacement result;
  Write write;
  write.failure = &result.failure;
  write.noRescueCopy = &result.noRescueCopy;
  write.backupGap = &result.backupFailure;
  if (!followLinks(path, write.target, &result.failure)) return result;
  // A save cut off before is put right first where that is certain; one
  // in doubt waits for the user (recoverCutOffSave).
  recoverFromRescueCopy(rescueFolder_, write.target);
  removeUnheldTemporaries(folderOf(write.target));
  struct stat old {};
  if (::stat(write.target.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode) || !mayWrite(write.target)) {
      write.fail(S_ISREG(old.st_mode) ? systemFailure(errno, write.target)
                                      : Failure{FailureCause::NotAFile, 0, write.target});
      return result;
    }
    write.current = &old;
    if (!backupPath.empty() && !followLinks(backupPath, write.backup, write.backupGap)) write.backup.clear();
    // A save killed while it wrote leaves the old file under the backup's
    // name as a second link (see recycleBackup); that name is let go, the
    // file keeps the content, and this save makes the backup anew.
    struct stat backup {};
    if (!write.backup.empty() && write.backup != write.target && old.st_nlink == 2 &&
        ::lstat(write.backup.c_str(), &backup) == 0 && sameFile(backup, old) && ::unlink(write.backup.c_str()) == 0)
      old.st_nlink = 1;
  }
  result.done = put(write, content);
  if (!result.done) {
    write.failed(write.target);  // where no step named its cause
    result.backupFailure = {};
  }
  return result;
}

CutOffSave PosixFileSystem::recoverCutOffSave(const std::string& path) {
  std::string target;
  return followLinks(path, target) ? recoverFromRescueCopy(rescueFolder_, target) : CutOffSave{};
}

Recovery PosixFileSystem::settleCutOffSave(const std::string& path, bool restore) {
  std::string target;
  return followLinks(path, target) ? settleRescueCopy(rescueFolder_, target, restore) : Recovery::Nothing;
}

bool PosixFileSystem::put(const Write& write, std::string_view content) {
  const bool renaming = write.whole || !write.current || renamable(*write.current);
  Failure gap;
  Keep keep =
      write.backup.empty() ? Keep::Nothing : howToKeep(write.target, *write.current, write.backup, renaming, gap);
  if (gap) write.noteGap(std::move(gap));
  if (keep == Keep::BySwap && !abilities_.has(folderOf(write.target), Ability::RenameFlags)) keep = Keep::ByCopy;
  std::string temp;
  Descriptor fd = keep == Keep::BySwap ? recycleBackup(write, temp) : Descriptor();
  if (fd) keep = Keep::Nothing;  // the backup is made
  if (!fd && renaming) fd = createTemporary(folderOf(write.target), TemporaryPrefix, write.shape() ? 0600 : 0666, temp);
  if (!fd && (write.whole || !write.current)) return write.failed(folderOf(write.target));
  if (fd && keep == Keep::ByCopy) copyBackup(write);
  if (fd) return commit(std::move(fd), temp, write, content, keep == Keep::BySwap);
  ByteBuffer old;  // in place: the old content is copied first, to the backup and to the rescue copy
  if (const Outcome read = readFile(write.target, old); !read) return write.fail(read.failure);
  if (keep != Keep::Nothing) keepAt(write, viewOf(old));
  return rewrite(write, content, viewOf(old));
}

Descriptor PosixFileSystem::recycleBackup(const Write& write, std::string& temp) {
  Descriptor fd(::open(write.backup.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat backup {};
  // Only the user's own file: its blocks become the new file, and whoever
  // else has it open would read on.
  if (!fd || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.get(), &backup) != 0 || !S_ISREG(backup.st_mode) ||
      backup.st_nlink != 1 || backup.st_uid != ::geteuid() || !linkTemporary(write.target, temp))
    return Descriptor();
  // `temp` is a second name of the old file; swapped with the backup's, the
  // old file is the backup and `temp` names the old backup, locked by `fd`.
  // The swap is on the disk before the new content goes into the old
  // backup's blocks: else a power cut could leave those blocks under the
  // backup's name, and the backup from before lost while the file is old.
  if (!swapNames(temp, write.backup)) {
    ::unlink(temp.c_str());
    return Descriptor();
  }
  if (!syncFolder(folderOf(write.backup))) {
    swapNames(temp, write.backup);
    ::unlink(temp.c_str());
    return Descriptor();
  }
  return fd;
}

bool PosixFileSystem::swapNames(const std::string& first, const std::string& second) {
  const std::string folder = folderOf(second);
  if (!abilities_.has(folder, Ability::RenameFlags)) return false;
  if (moveName(first, second, RENAME_EXCHANGE) == 0) return true;
  abilities_.refused(folder, Ability::RenameFlags, errno);
  return false;
}

bool PosixFileSystem::linkTemporary(const std::string& file, std::string& name) {
  const std::string folder = folderOf(file);
  if (!abilities_.has(folder, Ability::HardLinks)) return false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = freshName(folder, TemporaryPrefix);
    if (makeLink(file, name, 0) == 0) return true;
    if (errno != EEXIST) {
      abilities_.refused(folder, Ability::HardLinks, errno);
      return false;
    }
  }
  return false;
}

bool PosixFileSystem::commit(Descriptor fd, const std::string& temp, const Write& write, std::string_view content,
                             bool swap) {
  const Descriptor lock(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));  // the lock past closeFile, until the rename is done
  bool ok = writeAll(fd.get(), content) && resizeTo(fd.get(), content.size()) &&
            (!write.shape() || shapeLike(fd.get(), *write.shape())) &&
            (!write.executable || addExecuteBits(fd.get())) && syncFile(fd.get()) == 0;
  ok = closeFile(fd.release()) == 0 && ok;
  ok = ok && (swap ? swapIn(temp, write) : moveOver(temp, write.target) == 0);
  if (!ok) {
    write.failed(write.target);
    ::unlink(temp.c_str());
  }
  if (ok) syncFolder(folderOf(write.target));
  return ok;
}

bool PosixFileSystem::swapIn(const std::string& temp, const Write& write) {
  // The old backup stays until the new file is in place: a save cut off at
  // any moment leaves one of the two files and a backup.
  if (!swapNames(temp, write.target)) {
    copyBackup(write);  // a file system that cannot swap names
    return moveOver(temp, write.target) == 0;
  }
  // `temp` names the old file now, which becomes the backup.
  if (moveName(temp, write.backup, 0) != 0) {
    write.noteGap(systemFailure(errno, write.backup));
    ::unlink(temp.c_str());
  }
  return true;
}

bool PosixFileSystem::rewrite(const Write& write, std::string_view content, std::string_view old) {
  RescueCopy rescue;
  Failure failure;
  if (!rescue.keep(rescueFolder_, *write.current, write.target, old, content, failure)) {
    if (write.noRescueCopy) *write.noRescueCopy = true;
    return write.fail(std::move(failure));
  }
  Descriptor fd(::open(write.target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat opened {};
  if (!fd || ::fstat(fd.get(), &opened) != 0 || !sameFile(opened, *write.current)) {
    write.fail(systemFailure(fd ? ESTALE : errno, write.target));  // ESTALE: another file took its name
    rescue.drop();
    return false;
  }
  if (write.like) shapeLike(fd.get(), *write.like);  // a backup: as far as the old one allows
  // Room first, so that a full disk shows before an old byte is overwritten.
  bool ok =
      content.empty() || ::fallocate(fd.get(), 0, 0, static_cast<off_t>(content.size())) == 0 || errno == EOPNOTSUPP;
  ok = ok && overwrite(fd.get(), content);
  if (!ok) write.failed(write.target);
  // A failed rewrite puts the old content back where it can; else the
  // rescue copy stays for recoverCutOffSave.
  if (ok || overwrite(fd.get(), old)) rescue.drop();
  return (closeFile(fd.release()) == 0 || write.failed(write.target)) && ok;
}

bool PosixFileSystem::overwrite(int fd, std::string_view content) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, content) && resizeTo(fd, content.size()) && syncFile(fd) == 0;
}

void PosixFileSystem::copyBackup(const Write& write) {
  ByteBuffer bytes;
  if (const Outcome read = readFile(write.target, bytes))
    keepAt(write, viewOf(bytes));
  else
    write.noteGap(read.failure);
}

void PosixFileSystem::keepAt(const Write& write, std::string_view old) {
  struct stat backup {};
  const bool exists = ::stat(write.backup.c_str(), &backup) == 0;
  const bool others = exists && backup.st_uid != ::geteuid();
  Write keeping;
  keeping.target = write.backup;
  keeping.current = exists ? &backup : nullptr;
  keeping.like = write.current;
  keeping.whole = others;  // never written into: replaced by a new file, or left alone
  Failure failure;
  keeping.failure = &failure;
  if (!put(keeping, old)) {
    if (others) failure = {FailureCause::OtherUsersFile, 0, write.backup};
    write.noteGap(failure ? failure : systemFailure(errno, write.backup));
  }
}

bool PosixFileSystem::writeAll(int fd, std::string_view content) {
  return writeAllWith(fd, content,
                      [this](int to, const char* data, std::size_t size) { return writeSome(to, data, size); });
}

bool PosixFileSystem::isSameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && sameFile(a, b);
}

void PosixFileSystem::readPart(const std::string& path, std::uint64_t offset, std::size_t size, std::string& bytes) {
  bytes.clear();
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return;
  bytes.resize(size);
  std::size_t used = 0;
  while (used < size && offset + used <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
    const ssize_t n = ::pread(fd.get(), bytes.data() + used, size - used, static_cast<off_t>(offset + used));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    used += static_cast<std::size_t>(n);
  }
  bytes.resize(used);
}

// Written without a name in the target's folder (O_TMPFILE), or where the
// file system cannot, under a locked temporary name that a later save's
// sweep of leftovers would remove; named only when finished and flushed.
class PosixFileSystem::PieceFile : public OutputFile {
 public:
  PieceFile(PosixFileSystem& files, std::string path, ExistingFile existing, Descriptor fd, std::string temp)
      : files_(files), path_(std::move(path)), existing_(existing), fd_(fd.release()), temp_(std::move(temp)) {
    pending_.reserve(kBlock);
  }
  ~PieceFile() override {
    if (fd_ >= 0) files_.closeFile(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
  }
  PieceFile(const PieceFile&) = delete;
  PieceFile& operator=(const PieceFile&) = delete;

  bool write(std::string_view bytes) override {
    if (fd_ < 0) return false;
    if (pending_.size() + bytes.size() > kBlock && !flush()) return noteFailure(failure_, path_);
    if (bytes.size() >= kBlock) return files_.writeAll(fd_, bytes) || noteFailure(failure_, path_);
    pending_.append(bytes);
    return true;
  }

  bool finish() override {
    if (fd_ < 0) return false;
    bool ok = (flush() && files_.syncFile(fd_) == 0) || noteFailure(failure_, path_);
    ok = ok && giveName();
    ok = (files_.closeFile(std::exchange(fd_, -1)) == 0 || noteFailure(failure_, path_)) && ok;
    if (!ok && named_) ::unlink(path_.c_str());
    if (ok) syncFolder(folderOf(path_));
    return ok;
  }

  Failure failure() const override { return failure_; }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  bool flush() {
    const bool ok = files_.writeAll(fd_, pending_);
    pending_.clear();
    return ok;
  }

  // Gives the finished file its name: where an old file must stay, only a
  // free name (claimName); else by a rename over the old one.
  bool giveName() {
    if (temp_.empty() && existing_ == ExistingFile::Keep) return linkIn(self(), AT_SYMLINK_FOLLOW);
    if (temp_.empty() && !nameUnnamed()) return noteFailure(failure_, path_);
    if (existing_ == ExistingFile::Keep) return claimName();
    if (files_.moveOver(temp_, path_) != 0) return noteFailure(failure_, path_);
    temp_.clear();
    return true;
  }

  std::string self() const { return "/proc/self/fd/" + std::to_string(fd_); }

  // A temporary name for the file made without one.
  bool nameUnnamed() {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = freshName(folderOf(path_), TemporaryPrefix);
      if (files_.makeLink(self(), name, AT_SYMLINK_FOLLOW) == 0) {
        temp_ = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  // Gives the file at `temp_` the name `path_` where no file has it yet, in
  // one step where the file system can: renameat2 with RENAME_NOREPLACE, or
  // a hard link. Where it can neither (exfat-fuse, fusefat), the name is
  // looked at and the file renamed there when it is free: only a file that
  // another program makes at that name in the instant between would be
  // replaced. (An empty file made first to hold the name would be renamed
  // over just after it was closed, which a FUSE file system that lets go
  // of closed files later can get wrong.)
  bool claimName() {
    const std::string folder = folderOf(path_);
    if (files_.abilities_.has(folder, Ability::RenameFlags)) {
      if (files_.moveName(temp_, path_, RENAME_NOREPLACE) == 0) {
        temp_.clear();
        named_ = true;
        return true;
      }
      const int error = errno;
      if (!files_.abilities_.refused(folder, Ability::RenameFlags, error)) return failWith(error);
    }
    if (files_.abilities_.has(folder, Ability::HardLinks)) {
      if (linkIn(temp_, 0)) return true;  // the temporary name goes with this object
      if (!files_.abilities_.refused(folder, Ability::HardLinks, failure_.error)) return false;
      failure_ = {};
    }
    struct stat taken {};
    if (::lstat(path_.c_str(), &taken) == 0) return failWith(EEXIST);
    if (errno != ENOENT) return noteFailure(failure_, path_);
    if (files_.moveName(temp_, path_, 0) != 0) return noteFailure(failure_, path_);
    temp_.clear();
    named_ = true;
    return true;
  }

  bool linkIn(const std::string& from, int flags) {
    if (files_.makeLink(from, path_, flags) != 0) return noteFailure(failure_, path_);
    named_ = true;
    return true;
  }

  bool failWith(int error) {
    errno = error;
    return noteFailure(failure_, path_);
  }

  PosixFileSystem& files_;
  std::string path_;
  ExistingFile existing_;
  int fd_;
  std::string temp_;  // the file's temporary name; "" while it has none
  std::string pending_;
  Failure failure_;
  bool named_ = false;  // put at `path_` by us
};

std::unique_ptr<OutputFile> PosixFileSystem::createOutputFile(const std::string& path, ExistingFile existing,
                                                              Failure& failure) {
  const std::string folder = folderOf(path);
  Descriptor fd;
  if (abilities_.has(folder, Ability::UnnamedFiles)) {
    fd = Descriptor(openUnnamed(openable(folder), O_WRONLY | O_CLOEXEC, 0666));
    if (!fd && !abilities_.refused(folder, Ability::UnnamedFiles, errno)) {
      failure = systemFailure(errno, openable(folder));
      return nullptr;
    }
  }
  std::string temp;
  if (!fd) fd = createTemporary(folder, TemporaryPrefix, 0666, temp);
  if (!fd) {
    failure = systemFailure(errno, openable(folder));
    return nullptr;
  }
  return std::make_unique<PieceFile>(*this, path, existing, std::move(fd), std::move(temp));
}

ssize_t PosixFileSystem::writeSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

int PosixFileSystem::syncFile(int fd) { return ::fsync(fd); }

int PosixFileSystem::closeFile(int fd) { return ::close(fd); }

int PosixFileSystem::moveName(const std::string& from, const std::string& to, unsigned flags) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
}

int PosixFileSystem::moveOver(const std::string& from, const std::string& to) {
  return renameOver(from, to, [this](const std::string& a, const std::string& b) { return moveName(a, b, 0); });
}

int PosixFileSystem::makeLink(const std::string& from, const std::string& to, int flags) {
  return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
}

int PosixFileSystem::openUnnamed(const std::string& folder, int flags, mode_t mode) {
  return ::open(folder.c_str(), O_TMPFILE | flags, mode);
}

}  // namespace zl
