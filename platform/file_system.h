// The files the program reads and writes: vocabulary files, backups and
// part files.
//
// Abstract so tests can make it fail (disk full, I/O errors) where no real
// disk would on demand; the real version is POSIX (file_system_posix.h).
// Writing replaces a file whole where the folder allows it, so that a file
// is either the old one or the new content; only where it cannot (see
// replaceFile) is a file rewritten in place, after its old content has been
// kept where a rewrite cut off can be undone (recoverCutOffSave). Nothing
// here shows a message; callers decide what to tell the user.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_buffer.h"

namespace zl {

struct FileStatus {
  bool exists = false;
  bool regular = false;  // a plain file, not a folder
  std::uint64_t size = 0;
};

// What recoverCutOffSave found.
enum class Recovery {
  Nothing,    // no save of the file was cut off: it is as its last save left it
  Recovered,  // a save was cut off; the file has its content from before it again
  Failed,     // a save was cut off and the old content cannot be put back now
};

// A file written piece by piece as its bytes arrive (a download). A file
// not finished is removed when its OutputFile goes.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when the bytes cannot be written (disk full, I/O error).
  virtual bool write(std::string_view bytes) = 0;
  // Writes what is left, flushes the file to the disk and closes it. False
  // when any of that fails; the file is then removed.
  virtual bool finish() = 0;
  // After a write or finish has failed: true when it failed because the
  // disk, or the user's share of it, is full; false for any other fault.
  virtual bool diskFull() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual FileStatus status(const std::string& path) = 0;

  // Reads the whole file into `content`. False (with `content` empty) when
  // it cannot be opened or read: missing, no permission, a folder, an I/O
  // error.
  virtual bool readFile(const std::string& path, ByteBuffer& content) = 0;

  // Puts `content` at `path`. The usual way is safe: a new file is written
  // beside the old one, flushed to the disk and renamed over it, keeping its
  // permissions and owner; a symbolic link keeps pointing to the replaced
  // file. Where no new file can take the old one's place (a folder the user
  // may not write, a file of another owner, a file with more hard links),
  // the old file is rewritten in place and flushed instead, after a copy of
  // its content has been kept in a folder of the user's own. A file the
  // user may not write is never written, and a link that another user owns
  // in a folder that others may write is never followed (the save fails
  // then). False when any step fails; then no temporary file is left
  // behind and the old file is as it was (in place: put back, at once or by
  // recoverCutOffSave).
  //
  // When `backupPath` is not empty and a regular file exists at `path`, the
  // old file is kept at `backupPath` first, with its mode and, where
  // allowed, its owner. An existing backup the user may not write, or a
  // link there that may not be followed, is left alone. The backup never
  // fails the write and is never reported. A save cut off at any moment
  // leaves the old or the new file and the old file or the backup from
  // before.
  virtual bool replaceFile(const std::string& path, std::string_view content, const std::string& backupPath) = 0;
  bool replaceFile(const std::string& path, std::string_view content) { return replaceFile(path, content, {}); }

  // Undoes a save in place of `path` that was cut off (the program killed,
  // the system down) before the new content was flushed: the file gets its
  // content from before that save back. Nothing changes when no such save
  // was cut off or the new content had been written whole after all.
  virtual Recovery recoverCutOffSave(const std::string& path) = 0;

  // True when both paths name the same existing file (also through links).
  virtual bool isSameFile(const std::string& first, const std::string& second) = 0;

  // Reads at most `size` bytes at `offset` into `bytes`: fewer at the end
  // of the file, none past it or when the file cannot be read.
  virtual void readPart(const std::string& path, std::uint64_t offset, std::size_t size, std::string& bytes) = 0;

  // Creates a new file at `path` for writing piece by piece, in place of a
  // file of that name (a link is replaced, not followed). nullptr when it
  // cannot be created; an old file of that name may then be gone.
  virtual std::unique_ptr<OutputFile> createOutputFile(const std::string& path) = 0;
};

}  // namespace zl
