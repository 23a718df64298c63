#include "posix/descriptors.h"

#include <unistd.h>

#include <cerrno>

namespace zl {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool noteWriteFailure(bool& diskFull) {
  diskFull = diskFull || errno == ENOSPC || errno == EDQUOT;
  return false;
}

bool readAll(int fd, std::string& bytes) {
  bytes.clear();
  char block[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(block, static_cast<std::size_t>(n));
  }
}

}  // namespace zl
