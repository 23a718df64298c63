// Rescue copies: the content of a file that is about to be rewritten in
// place, kept whole and flushed in a folder of the user's own before the
// first byte is overwritten, so that a rewrite cut off at any moment (the
// program killed, the system down) can be undone later. A copy is named
// after the file's device and inode, records the file's path and the size
// and hash of the content being written, and is locked while its rewrite
// runs, so that no other process takes it for a leftover.
//
// The folder is made with mode 0700 when missing and used only while it is
// the user's and nobody else may enter it. Nothing here shows a message;
// failures are results.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "posix/descriptors.h"

namespace zl {

// The user's folder for rescue copies: $XDG_STATE_HOME/zelvo-lingotak/, else
// ~/.local/state/zelvo-lingotak/; "" when neither variable names a folder.
std::string userRescueFolder();

// One rescue copy, kept for as long as its rewrite runs.
class RescueCopy {
 public:
  RescueCopy() = default;
  RescueCopy(const RescueCopy&) = delete;
  RescueCopy& operator=(const RescueCopy&) = delete;
  // Lets go of the lock (closing the copy); a copy not dropped stays for a
  // later recovery.
  ~RescueCopy() = default;

  // Keeps `old`, the content of `file` at `path`, in `folder`, flushed,
  // together with the size and hash of `replacement`. False, with nothing
  // kept, when the folder or the copy cannot be made or flushed.
  bool keep(const std::string& folder, const struct stat& file, const std::string& path, std::string_view old,
            std::string_view replacement);
  // Removes the copy: its rewrite has been flushed.
  void drop();

 private:
  Descriptor fd_;
  std::string name_;
};

// Puts back the content the file at `path` had before a rewrite whose
// rescue copy in `folder` remains (a rewrite cut off), unless the file
// holds the whole new content after all; then, or once the old content is
// back and flushed, the copy is removed. Nothing when no copy remains or
// its rewrite is still running; Failed, with the copy kept, when the file
// cannot be written.
Recovery recoverFromRescueCopy(const std::string& folder, const std::string& path);

}  // namespace zl
