// Vocabulary files on a POSIX file system. A file is replaced through a
// temporary file in the same folder (mkstemp), fsync'ed, then renamed over
// the old one; the folder is synced after the rename.
//
// The three system calls of writing go through virtual hooks, so a test
// can make them fail like a full disk or a broken one would.
#pragma once

#include <sys/types.h>

#include "platform/file_system.h"

namespace zl {

class PosixFileSystem : public FileSystem {
 public:
  FileStatus status(const std::string& path) override;
  bool readFile(const std::string& path, ByteBuffer& content) override;
  bool replaceFile(const std::string& path, std::string_view content) override;
  bool isSameFile(const std::string& first, const std::string& second) override;

 protected:
  // As write(2), fsync(2) and close(2).
  virtual ssize_t writeSome(int fd, const char* data, std::size_t size);
  virtual int syncFile(int fd);
  virtual int closeFile(int fd);
};

}  // namespace zl
