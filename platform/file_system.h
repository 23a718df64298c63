// The files the program reads and writes: vocabulary files, backups and
// part files, the desktop's files, and what an update leaves beside the
// program.
//
// Abstract so tests can make it fail (disk full, I/O errors) where no real
// disk would on demand; the real version is POSIX (file_system_posix.h).
// Writing replaces a file whole where the folder allows it, so that a file
// is either the old one or the new content; only where it cannot (see
// replaceFile) is a file rewritten in place, after its old content has been
// kept where a rewrite cut off can be undone (recoverCutOffSave). Nothing
// here shows a message; callers decide what to tell the user, from the
// Failure (failure.h) that each failed operation reports.
//
// Links: a link at a file's name is followed link by link, except one that
// another user owns in a folder that others may write too (as in /tmp),
// unless that user owns the folder: it may have been put there to lead a
// write elsewhere, so reading, writing or emptying through it fails. A
// file made whole (FileKind::Whole) replaces a link at its name instead.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_buffer.h"
#include "platform/failure.h"

namespace zl {

struct FileStatus {
  bool exists = false;
  bool regular = false;  // a plain file, not a folder
  std::uint64_t size = 0;
};

// How a write or a removal treats a symbolic link at a file's name.
enum class FileKind {
  // A file the user keeps and the program writes or edits a part of (a
  // vocabulary file, mimeapps.list), often a link into a folder of kept
  // files: the file the link leads to is read, written or emptied, and the
  // link stays.
  Kept,
  // A file the program makes as a whole (desktop entries, the MIME
  // package, icons, the shortcut, an update's leftovers): a link at its
  // name is replaced by the new file or removed, and what it led to is left
  // as it was.
  Whole,
};

// What recoverCutOffSave found.
enum class Recovery {
  Nothing,    // no save of the file was cut off: it is as its last save left it
  Recovered,  // a save was cut off; the file has its content from before it again
  Failed,     // a save was cut off and the old content cannot be put back now
  // A save was cut off, but the file is no longer as that save left it: it
  // was changed since, or cannot be told from another file. Nothing was
  // changed; the user decides (settleCutOffSave).
  InDoubt,
};

struct CutOffSave {
  Recovery recovery = Recovery::Nothing;
  std::int64_t savedAt = 0;    // InDoubt: when the cut-off save ran, seconds since 1970 (UTC)
  std::int64_t changedAt = 0;  // InDoubt: when the file was last changed, the same
};

// What replaceFile did.
struct Replacement {
  bool done = false;  // the file holds the new content
  // When not done: why.
  Failure failure;
  // When not done: `failure` is about the rescue copy that a rewrite in
  // place needs, which could not be made.
  bool noRescueCopy = false;
  // When done without the backup asked for: why it could not be kept. Empty
  // when it was kept, when there was no old file, and when it was left
  // alone on purpose: the user's own backup that the user may not write,
  // or the file itself.
  Failure backupFailure;

  explicit operator bool() const { return done; }
};

// What a new file does with a file already at its name when it is finished.
enum class ExistingFile {
  Replace,  // takes its place (a link at the name is replaced, not followed)
  Keep,     // leaves it as it is: finishing fails
};

// A file written piece by piece as its bytes arrive (a download, a
// converted list), without its name until it is finished: its name never
// names a part of it, also when the program is killed midway. A file not
// finished is gone when its OutputFile goes.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when the bytes cannot be written (disk full, I/O error).
  virtual bool write(std::string_view bytes) = 0;
  // Writes what is left, flushes the file to the disk, gives it its name
  // and closes it. False when any of that fails; the file is then gone and
  // a file that had the name before is as it was.
  virtual bool finish() = 0;
  // After a write or finish has failed: why (a full disk is diskFull();
  // another file that had the name and was to be kept, EEXIST).
  virtual Failure failure() const = 0;
};

// The bytes of a file to read through once, valid while this object lives:
// mapped into memory where the file allows, so that a large file costs no
// memory of the program's own, else read whole.
class FileBytes {
 public:
  virtual ~FileBytes() = default;
  virtual std::string_view bytes() const = 0;
};

// Whoever reads a file in pieces sees, after each, every byte in so far
// (`filled`, from the file's first; it may have moved since the last call,
// what was in is unchanged), and may stop the reading by answering false.
using ReadPieces = std::function<bool(std::string_view filled)>;
// The size of a piece: the bytes of one stay in the processor's cache.
inline constexpr std::size_t ReadPieceBytes = std::size_t{1} << 18;

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual FileStatus status(const std::string& path) = 0;

  // Reads the whole file into `content`, through its links (above). Failed
  // (with `content` empty) when it cannot be opened or read: missing, no
  // permission, a folder, an I/O error, a link that is not followed.
  // With `pieces`, the bytes come in pieces of ReadPieceBytes straight into
  // their place (`content` is sized for the whole file at once), and
  // `pieces` sees each as soon as it is in; stopped by it, `content` holds
  // what was in. The read ends where the file ends when it is read there:
  // a file that shrinks or grows meanwhile gives what was read.
  virtual Outcome readFile(const std::string& path, ByteBuffer& content, const ReadPieces& pieces) = 0;
  Outcome readFile(const std::string& path, ByteBuffer& content) { return readFile(path, content, {}); }

  // The file's bytes (FileBytes), through its links as readFile. nullptr,
  // with `failure` saying why, when it cannot be opened or read. Of an input that tells no size (a
  // pipe, a device such as /dev/zero) at most `maxBytes` + 1 bytes are
  // read, so that an endless one ends: one longer than `maxBytes` shows
  // so. A mapped file that another program cuts short meanwhile raises
  // SIGBUS when the lost part is read: callers that map must be ready to
  // end on it.
  virtual std::unique_ptr<FileBytes> mapFile(const std::string& path, std::uint64_t maxBytes, Failure& failure) = 0;
  std::unique_ptr<FileBytes> mapFile(const std::string& path, std::uint64_t maxBytes) {
    Failure ignored;
    return mapFile(path, maxBytes, ignored);
  }

  // Puts `content` at `path`. The usual way is safe: a new file is written
  // beside the old one, flushed to the disk and renamed over it, keeping its
  // permissions and owner; a symbolic link keeps pointing to the replaced
  // file. Where no new file can take the old one's place (a folder the user
  // may not write, a file of another owner, a file with more hard links),
  // the old file is rewritten in place and flushed instead, after a copy of
  // its content has been kept in a folder of the user's own (a rescue
  // copy; `failure` says why when it cannot be made). A file the user may
  // not write is never written, and a link that another user owns in a
  // folder that others may write is never followed (the save fails then).
  // Not `done` when any step fails; then no temporary file is left behind
  // and the old file is as it was (in place: put back, at once or by
  // recoverCutOffSave).
  //
  // When `backupPath` is not empty and a regular file exists at `path`, the
  // old file is kept at `backupPath` first, never more readable than it
  // is: with its mode and, where allowed, its owner and group (without the
  // group's rights where the group cannot be had). A file at `backupPath`
  // that another user owns is never written into (it may only be replaced
  // by a new file), and a link there that may not be followed is not
  // followed; then, and when no backup can be made for any other reason
  // (a folder at its name, a folder that takes no file, a full disk), the
  // save goes on without one and `backupFailure` says why. The user's own
  // backup that the user may not write, and a backup that is the file
  // itself, are left alone without a word. A save cut off at any moment
  // leaves the old or the new file and the old file or the backup from
  // before.
  virtual Replacement replaceFile(const std::string& path, std::string_view content, const std::string& backupPath) = 0;
  Replacement replaceFile(const std::string& path, std::string_view content) { return replaceFile(path, content, {}); }

  // Puts `content` at `path` in one step, making missing folders (mode
  // 0700): written to a new file in the same folder, flushed and renamed
  // over the old one, so that the file holds the old content or the new
  // one, never a part. `kind` says what a link at `path` means (above).
  // The file keeps the mode of the one it replaces, and where allowed its
  // owner (a new one, also one that replaces a link: 0666 less the umask),
  // with execute bits beside the read bits when `executable`. A file the
  // user may not write is never replaced. Failed when any step fails; then
  // no new file is left behind and the old one is untouched.
  virtual Outcome writeFile(const std::string& path, std::string_view content, FileKind kind, bool executable) = 0;

  // Takes the file at `path` away: removes it, or a link at its name, then
  // each folder above it that this leaves empty, up to but not including
  // `root` (none when `root` is empty). A kept file behind a link is
  // emptied instead, as writeFile writes it, and the link stays. Done when
  // the file is gone or emptied, also when there was none; failed with the
  // file as it was. Failing to remove a folder is ignored.
  virtual Outcome removeFile(const std::string& path, FileKind kind, const std::string& root) = 0;
  Outcome removeFile(const std::string& path) { return removeFile(path, FileKind::Whole, {}); }

  // True when the user may make, rename and remove files in `folder`.
  virtual bool isWritableFolder(const std::string& folder) = 0;

  // Undoes a save in place of `path` that was cut off (the program killed,
  // the system down) before the new content was flushed: the file gets its
  // content from before that save back. Only the very file that save was
  // writing is put right (the same file by device, inode and, where the
  // file system keeps it, birth time; a file made later under a reused
  // inode is another), and only while it is in a state that the cut-off
  // save could have left: a file changed since is InDoubt, and stays as it
  // is until settleCutOffSave. Nothing changes when no such save was cut
  // off, or the new content had been written whole after all.
  virtual CutOffSave recoverCutOffSave(const std::string& path) = 0;

  // After recoverCutOffSave found InDoubt, the user's decision: `restore`
  // gives the file its content from before the cut-off save (Recovered,
  // or Failed when it cannot be written); otherwise the file stays as it
  // is (Nothing). Either way the kept old content is let go of, unless
  // restoring failed.
  virtual Recovery settleCutOffSave(const std::string& path, bool restore) = 0;

  // True when both paths name the same existing file (also through links).
  virtual bool isSameFile(const std::string& first, const std::string& second) = 0;

  // Reads at most `size` bytes at `offset` into `bytes`: fewer at the end
  // of the file, none past it or when the file cannot be read.
  virtual void readPart(const std::string& path, std::uint64_t offset, std::size_t size, std::string& bytes) = 0;

  // Creates a new file for `path` (OutputFile), written in the same folder
  // and named when finished; `existing` says what happens to a file that
  // has the name by then. nullptr, with `failure` saying why, when it
  // cannot be created there; nothing at `path` changes then.
  virtual std::unique_ptr<OutputFile> createOutputFile(const std::string& path, ExistingFile existing,
                                                       Failure& failure) = 0;
  std::unique_ptr<OutputFile> createOutputFile(const std::string& path, ExistingFile existing) {
    Failure ignored;
    return createOutputFile(path, existing, ignored);
  }
};

}  // namespace zl
