// Vocabulary files on a POSIX file system (Linux). A file is replaced
// through a temporary file in its folder: written under an flock, which
// tells a running save from the leftover of a killed one (a later save
// removes those), fsync'ed, renamed over the old file, the folder synced.
// The old file becomes the backup by swapping names (renameat2), so even a
// large backup costs no copy and keeps mode and owner, and the backup it
// replaces lends its blocks to the new content; a file that must be
// rewritten in place gets a real copy as its backup, made first. The
// process umask is never touched: other threads create files too.
//
// The three system calls of writing go through virtual hooks, so a test
// can make them fail like a full disk or a broken one would.
#pragma once

#include <sys/types.h>

#include "platform/file_system.h"

namespace zl {

class PosixFileSystem : public FileSystem {
 public:
  using FileSystem::replaceFile;
  FileStatus status(const std::string& path) override;
  bool readFile(const std::string& path, ByteBuffer& content) override;
  bool replaceFile(const std::string& path, std::string_view content, const std::string& backupPath) override;
  bool isSameFile(const std::string& first, const std::string& second) override;
  void readPart(const std::string& path, std::uint64_t offset, std::size_t size, std::string& bytes) override;
  // Gathers small pieces into blocks of 64 KiB before writing them.
  std::unique_ptr<OutputFile> createOutputFile(const std::string& path) override;

 protected:
  // As write(2), fsync(2) and close(2).
  virtual ssize_t writeSome(int fd, const char* data, std::size_t size);
  virtual int syncFile(int fd);
  virtual int closeFile(int fd);

 private:
  struct Write;     // one file to write, see the .cpp
  class PieceFile;  // the OutputFile, see the .cpp
  bool put(const Write& write, std::string_view content);
  bool commit(int fd, const std::string& temp, const Write& write, std::string_view content, bool swap);
  bool swapIn(const std::string& temp, const Write& write);
  bool rewrite(const Write& write, std::string_view content);
  void copyBackup(const Write& write);
  bool writeAll(int fd, std::string_view content);
};

}  // namespace zl
