#include "posix/rescue_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace zl {

namespace {

// Version 1 copies record neither the birth time nor the blocks.
constexpr std::string_view kMark1 = "zl-rescue 1\n";
constexpr std::string_view kMark2 = "zl-rescue 2\n";
constexpr std::string_view kPiece = ".new";

// FNV-1a over 64-bit words, then the last bytes: the same value for the
// same bytes in every build, so a copy left by one version of the program
// is read right by the next.
std::uint64_t hashOf(std::string_view bytes) {
  constexpr std::uint64_t Prime = 0x100000001b3u;
  std::uint64_t hash = 0xcbf29ce484222325u;
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, 8);
    hash = (hash ^ word) * Prime;
  }
  for (; at < bytes.size(); ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * Prime;
  return hash;
}

// Bytes [from, to) of `now` are those of `old`, or zeros past its end.
bool matchesOld(std::string_view now, std::string_view old, std::size_t from, std::size_t to) {
  const std::size_t common = std::min(to, std::max(from, old.size()));
  if (common > from && now.substr(from, common - from) != old.substr(from, common - from)) return false;
  for (std::size_t at = common; at < to; ++at)
    if (now[at] != '\0') return false;
  return true;
}

// What tells one file from another: device and inode, and the birth time
// (nanoseconds since 1970), which a file made later under the same inode
// does not share; -1 where the file system keeps none.
struct Identity {
  dev_t device = 0;
  ino_t inode = 0;
  long long birth = -1;
  std::int64_t changed = 0;  // the last change of its content, seconds since 1970
  bool regular = false;
};

bool identify(const std::string& path, Identity& identity) {
  struct statx st {};
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) return false;
  identity.device = makedev(st.stx_dev_major, st.stx_dev_minor);
  identity.inode = st.stx_ino;
  identity.birth = (st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec * 1'000'000'000LL + st.stx_btime.tv_nsec : -1;
  identity.changed = st.stx_mtime.tv_sec;
  identity.regular = S_ISREG(st.stx_mode);
  return true;
}

std::string copyName(const Identity& file) {
  return std::to_string(static_cast<unsigned long long>(file.device)) + "-" +
         std::to_string(static_cast<unsigned long long>(file.inode));
}

// What a rescue copy holds.
struct Kept {
  RewriteSummary written;
  long long birth = -1;
  std::string path;
  std::string_view old;
};

bool parse(std::string_view bytes, Kept& kept) {
  const bool second = bytes.starts_with(kMark2);
  if (!second && !bytes.starts_with(kMark1)) return false;
  bytes.remove_prefix(kMark1.size());
  unsigned long long size = 0, hash = 0, pathLength = 0, blocks = 0;
  long long birth = -1;
  int header = 0;
  const std::string line(bytes.substr(0, bytes.find('\n') + 1));
  const int fields = second ? std::sscanf(line.c_str(), "%llu %llu %llu %lld %llu\n%n", &size, &hash, &pathLength,
                                          &birth, &blocks, &header)
                            : std::sscanf(line.c_str(), "%llu %llu %llu\n%n", &size, &hash, &pathLength, &header);
  if (fields != (second ? 5 : 3) || header == 0) return false;
  bytes.remove_prefix(static_cast<std::size_t>(header));
  if (bytes.size() < pathLength || (bytes.size() - pathLength) / 8 < blocks) return false;
  kept.written.size = size;
  kept.written.hash = hash;
  kept.birth = birth;
  kept.path = std::string(bytes.substr(0, pathLength));
  bytes.remove_prefix(pathLength);
  kept.written.blocks.resize(blocks);
  if (blocks > 0) std::memcpy(kept.written.blocks.data(), bytes.data(), blocks * 8);
  kept.old = bytes.substr(blocks * 8);
  return true;
}

// The file at `path`, still `file`, gets `old` back, flushed.
bool putBack(const std::string& path, const Identity& file, std::string_view old) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  struct stat opened {};
  const bool ok = fd && ::fstat(fd.get(), &opened) == 0 && opened.st_dev == file.device &&
                  opened.st_ino == file.inode && writeAll(fd.get(), old) && resizeTo(fd.get(), old.size()) &&
                  ::fsync(fd.get()) == 0;
  return fd.close() == 0 && ok;
}

// Opens and locks the piece `name` in `folder` when no rewrite holds it.
Descriptor lockUnheld(int folder, const char* name) {
  Descriptor fd(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return fd;
  return Descriptor();
}

// Removes the unfinished copies that killed rewrites left: a copy is
// named only once it is whole and flushed, so a piece serves nothing once
// no rewrite holds it.
void removePieces(int folder) {
  DIR* dir = ::fdopendir(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
  if (dir == nullptr) return;
  ::rewinddir(dir);  // the duplicate shares the position of earlier sweeps
  while (const dirent* entry = ::readdir(dir))
    if (std::string_view(entry->d_name).ends_with(kPiece) && lockUnheld(folder, entry->d_name))
      ::unlinkat(folder, entry->d_name, 0);
  ::closedir(dir);
}

// A rescue copy that outlived its rewrite, found and locked.
struct Found {
  Descriptor folder;
  Descriptor copy;
  std::string name;
  std::string bytes;
  Kept kept;
  Identity file;
  std::int64_t savedAt = 0;

  void remove() const { ::unlinkat(folder.get(), name.c_str(), 0); }
};

// The copy of the file at `path`, when there is one, its rewrite has ended
// and it can be read. A copy whose file was removed, its inode now another
// file's, serves nothing more: it is removed.
std::optional<Found> findCopy(const std::string& folder, const std::string& path, bool sweep) {
  Found found;
  struct stat exists {};
  Failure ignored;
  if (folder.empty() || !identify(path, found.file) || !found.file.regular || ::stat(folder.c_str(), &exists) != 0)
    return std::nullopt;
  found.folder = openPrivateFolder(folder, ignored);
  if (!found.folder) return std::nullopt;
  if (sweep) removePieces(found.folder.get());
  found.name = copyName(found.file);
  found.copy = Descriptor(::openat(found.folder.get(), found.name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat copy {};
  // A running rewrite holds the lock.
  if (!found.copy || ::flock(found.copy.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(found.copy.get(), &copy) != 0 ||
      !readAll(found.copy.get(), found.bytes) || !parse(found.bytes, found.kept))
    return std::nullopt;
  found.savedAt = copy.st_mtim.tv_sec;
  if (found.kept.birth >= 0 && found.file.birth >= 0 && found.kept.birth != found.file.birth) {
    found.remove();
    return std::nullopt;
  }
  return found;
}

}  // namespace

RewriteSummary summarize(std::string_view content) {
  RewriteSummary summary;
  summary.size = content.size();
  summary.hash = hashOf(content);
  for (std::size_t at = 0; at < content.size(); at += RescueBlock)
    summary.blocks.push_back(hashOf(content.substr(at, RescueBlock)));
  return summary;
}

RewriteState rewriteState(std::string_view now, std::string_view old, const RewriteSummary& written) {
  if (now.size() == written.size && hashOf(now) == written.hash) return RewriteState::Finished;
  if (now == old) return RewriteState::Untouched;
  // Room may have been reserved for the new content before it was written,
  // and the file is cut to its new size only after the last write.
  const std::uint64_t shortest = std::min<std::uint64_t>(old.size(), written.size);
  const std::uint64_t longest = std::max<std::uint64_t>(old.size(), written.size);
  if (written.blocks.empty() || now.size() < shortest || now.size() > longest) return RewriteState::Changed;
  for (std::size_t at = 0; at < now.size(); at += RescueBlock) {
    const std::size_t end = std::min(now.size(), at + RescueBlock);
    if (matchesOld(now, old, at, end)) continue;
    const std::size_t block = at / RescueBlock;
    if (block >= written.blocks.size()) return RewriteState::Changed;
    const std::size_t newEnd = std::min<std::uint64_t>(written.size, at + RescueBlock);
    // The new block may be followed by old bytes the file is not yet cut to.
    if (end < newEnd || hashOf(now.substr(at, newEnd - at)) != written.blocks[block] ||
        !matchesOld(now, old, newEnd, end))
      return RewriteState::Changed;
  }
  return RewriteState::CutOff;
}

std::string userRescueFolder() {
  const std::string state = environment("XDG_STATE_HOME");
  if (state.starts_with('/')) return state + "/zelvo-lingotak/";
  const std::string home = environment("HOME");
  if (home.starts_with('/')) return home + "/.local/state/zelvo-lingotak/";
  return {};
}

bool RescueCopy::keep(const std::string& folder, const struct stat& file, const std::string& path, std::string_view old,
                      std::string_view replacement, Failure& failure) {
  if (folder.empty()) {
    failure = {FailureCause::NoFolder, 0, {}};
    return false;
  }
  Descriptor dir = openPrivateFolder(folder, failure);
  if (!dir) return false;
  Identity identity;
  if (!identify(path, identity) || identity.device != file.st_dev || identity.inode != file.st_ino) {
    failure = systemFailure(ESTALE, path);  // the file was moved away meanwhile
    return false;
  }
  const std::string name = copyName(identity);
  const std::string piece = name + std::string(kPiece);
  if (lockUnheld(dir.get(), piece.c_str())) ::unlinkat(dir.get(), piece.c_str(), 0);  // a killed rewrite's
  Descriptor fd(::openat(dir.get(), piece.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  const RewriteSummary summary = summarize(replacement);
  const std::string header = std::string(kMark2) + std::to_string(summary.size) + " " + std::to_string(summary.hash) +
                             " " + std::to_string(path.size()) + " " + std::to_string(identity.birth) + " " +
                             std::to_string(summary.blocks.size()) + "\n" + path;
  const std::string_view blocks(reinterpret_cast<const char*>(summary.blocks.data()), summary.blocks.size() * 8);
  const bool ok = fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && writeAll(fd.get(), header) &&
                  writeAll(fd.get(), blocks) && writeAll(fd.get(), old) && ::fsync(fd.get()) == 0 &&
                  ::renameat(dir.get(), piece.c_str(), dir.get(), name.c_str()) == 0 && ::fsync(dir.get()) == 0;
  if (!ok) {
    failure = systemFailure(errno, folder);
    if (fd) ::unlinkat(dir.get(), piece.c_str(), 0);
    return false;
  }
  folder_ = std::move(dir);
  fd_ = std::move(fd);
  name_ = name;
  return true;
}

void RescueCopy::drop() {
  if (!fd_) return;
  ::unlinkat(folder_.get(), name_.c_str(), 0);
  fd_.close();
}

CutOffSave recoverFromRescueCopy(const std::string& folder, const std::string& path) {
  std::optional<Found> found = findCopy(folder, path, true);
  if (!found) return {};
  std::string now;
  if (!readWholeFile(path, now)) return {Recovery::Failed};
  switch (rewriteState(now, found->kept.old, found->kept.written)) {
    case RewriteState::Untouched:
    case RewriteState::Finished:
      found->remove();
      return {};
    case RewriteState::CutOff:
      if (!putBack(path, found->file, found->kept.old)) return {Recovery::Failed};
      found->remove();
      return {Recovery::Recovered};
    case RewriteState::Changed:
      break;
  }
  return {Recovery::InDoubt, found->savedAt, found->file.changed};
}

Recovery settleRescueCopy(const std::string& folder, const std::string& path, bool restore) {
  std::optional<Found> found = findCopy(folder, path, false);
  if (!found) return Recovery::Nothing;
  if (restore && !putBack(path, found->file, found->kept.old)) return Recovery::Failed;
  found->remove();
  return restore ? Recovery::Recovered : Recovery::Nothing;
}

}  // namespace zl
