// The files the program reads and writes: vocabulary files, backups and
// part files.
//
// Abstract so tests can make it fail (disk full, I/O errors) where no real
// disk would on demand; the real version is POSIX (file_system_posix.h).
// Writing never leaves a half-written file behind: a file is either the old
// one or the new content, whole. Nothing here shows a message; callers
// decide what to tell the user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_buffer.h"

namespace zl {

struct FileStatus {
  bool exists = false;
  bool regular = false;  // a plain file, not a folder
  std::uint64_t size = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual FileStatus status(const std::string& path) = 0;

  // Reads the whole file into `content`. False (with `content` empty) when
  // it cannot be opened or read: missing, no permission, a folder, an I/O
  // error.
  virtual bool readFile(const std::string& path, ByteBuffer& content) = 0;

  // Puts `content` at `path` safely: writes a new file beside it, flushes it
  // to the disk and renames it over the old one, which keeps its
  // permissions; a symbolic link keeps pointing to the replaced file. False
  // when any step fails; then the old file is untouched and nothing else is
  // left behind.
  virtual bool replaceFile(const std::string& path, std::string_view content) = 0;

  // True when both paths name the same existing file (also through links).
  virtual bool isSameFile(const std::string& first, const std::string& second) = 0;
};

}  // namespace zl
