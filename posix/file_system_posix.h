// The program's files on a POSIX file system (Linux), following symbolic
// links by the one rule of file_system.h (mayFollowLink). A file is replaced
// through a temporary file in its folder: created exclusively, written
// under an flock, which tells a running save from the leftover of a killed
// one (a later save removes those), fsync'ed, renamed over the old file,
// the folder synced. The old file becomes the backup by swapping names
// (renameat2) and then taking the backup's name, so even a large backup
// costs no copy and keeps mode and owner, and the backup from before stays
// until the new file is in place. A file that must be rewritten in place
// gets a real copy as its backup, made first, and a rescue copy
// (rescue_copy.h) in the user's own folder. A backup is never written
// into another user's file: such a file is replaced by a new one where
// the folder allows, else the save goes on without a backup and says so. A file written whole
// (writeFile) takes the same way without a backup, and is never rewritten
// in place. The process umask is never touched: other threads create files
// too.
//
// Where the file system cannot swap names, link or make a file without a
// name (FAT32, exFAT, FUSE: abilities.h), the backup is a copy written
// first, a new file takes a free name by an exclusive create and a rename
// over it, and temporary files have names.
//
// The system calls of writing go through virtual hooks, so a test can make
// them fail like a full disk or a broken one would, refuse them like such a
// file system, or stop the program between two of them.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>

#include "platform/file_system.h"
#include "posix/abilities.h"
#include "posix/descriptors.h"

namespace zl {

class PosixFileSystem : public FileSystem {
 public:
  // Rescue copies go to the user's folder for them (userRescueFolder).
  PosixFileSystem();
  // Rescue copies go to `rescueFolder` (with its trailing "/"); "" allows
  // no rewrite in place.
  explicit PosixFileSystem(std::string rescueFolder) : rescueFolder_(std::move(rescueFolder)) {}

  using FileSystem::replaceFile;
  FileStatus status(const std::string& path) override;
  using FileSystem::readFile;
  Outcome readFile(const std::string& path, ByteBuffer& content, const ReadPieces& pieces) override;
  using FileSystem::mapFile;
  std::unique_ptr<FileBytes> mapFile(const std::string& path, std::uint64_t maxBytes, Failure& failure) override;
  Replacement replaceFile(const std::string& path, std::string_view content, const std::string& backupPath) override;
  Outcome writeFile(const std::string& path, std::string_view content, FileKind kind, bool executable) override;
  using FileSystem::removeFile;
  Outcome removeFile(const std::string& path, FileKind kind, const std::string& root) override;
  bool isWritableFolder(const std::string& folder) override;
  CutOffSave recoverCutOffSave(const std::string& path) override;
  Recovery settleCutOffSave(const std::string& path, bool restore) override;
  bool isSameFile(const std::string& first, const std::string& second) override;
  void readPart(const std::string& path, std::uint64_t offset, std::size_t size, std::string& bytes) override;
  // Gathers small pieces into blocks of 64 KiB before writing them.
  using FileSystem::createOutputFile;
  std::unique_ptr<OutputFile> createOutputFile(const std::string& path, ExistingFile existing,
                                               Failure& failure) override;

 protected:
  // As write(2), fsync(2), close(2), renameat2(2), linkat(2) and open(2)
  // of an O_TMPFILE file, relative to the working folder.
  virtual ssize_t writeSome(int fd, const char* data, std::size_t size);
  virtual int syncFile(int fd);
  virtual int closeFile(int fd);
  virtual int moveName(const std::string& from, const std::string& to, unsigned flags);
  virtual int makeLink(const std::string& from, const std::string& to, int flags);
  virtual int openUnnamed(const std::string& folder, int flags, mode_t mode);

 private:
  struct Write;     // one file to write, see the .cpp
  class PieceFile;  // the OutputFile, see the .cpp
  bool put(const Write& write, std::string_view content);
  // Turns the old backup into the locked temporary file of the new content
  // without a moment in which there is no backup: the old file takes the
  // backup's name first, as a second link, and the old backup moves to a
  // temporary name. Writing over blocks the disk holds already spares it
  // freeing them and finding new ones, the larger part of a large save.
  // Empty, with the files as they were, when that cannot be had.
  Descriptor recycleBackup(const Write& write, std::string& temp);
  bool commit(Descriptor fd, const std::string& temp, const Write& write, std::string_view content, bool swap);
  bool swapIn(const std::string& temp, const Write& write);
  // Renames `from` over `to` (renameOver).
  int moveOver(const std::string& from, const std::string& to);
  // Exchanges the two names (RENAME_EXCHANGE). False, with nothing
  // changed, where the file system cannot.
  bool swapNames(const std::string& first, const std::string& second);
  // A second name for `file` under a fresh temporary name in its folder.
  // False where the file system makes no hard links.
  bool linkTemporary(const std::string& file, std::string& name);
  bool rewrite(const Write& write, std::string_view content, std::string_view old);
  bool overwrite(int fd, std::string_view content);
  void copyBackup(const Write& write);
  void keepAt(const Write& write, std::string_view old);
  bool writeAll(int fd, std::string_view content);

  std::string rescueFolder_;
  FileSystemAbilities abilities_;
};

}  // namespace zl
