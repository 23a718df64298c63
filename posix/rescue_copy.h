// Rescue copies: the content of a file that is about to be rewritten in
// place, kept whole and flushed in a folder of the user's own before the
// first byte is overwritten, so that a rewrite cut off at any moment (the
// program killed, the system down) can be undone later. A copy is named
// after the file's device and inode and records what tells that very file
// from a later one under the same inode (its birth time, where the file
// system keeps one), the file's path, and the size and hashes of the
// content being written: the whole and each block of RescueBlock bytes.
// With them a file can be told to be in a state that the cut-off rewrite
// could have left (each block the old one or the new one) or changed
// since, without the new content itself. A copy is locked while its
// rewrite runs, so that no other process takes it for a leftover.
//
// The folder is made with mode 0700 when missing and used only while it is
// the user's and nobody else may enter it (a link to such a folder that the
// user owns counts). Nothing here shows a message; failures are results.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "posix/descriptors.h"

namespace zl {

// The user's folder for rescue copies: $XDG_STATE_HOME/zelvo-lingotak/, else
// ~/.local/state/zelvo-lingotak/; "" when neither variable names a folder.
std::string userRescueFolder();

// The unit in which a rewrite's progress can be told: the kernel copies a
// write into the file page by page, and a kill lands between two pages.
inline constexpr std::size_t RescueBlock = 4096;

// What a rewrite was to write, without the content itself.
struct RewriteSummary {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  std::vector<std::uint64_t> blocks;  // the hash of each RescueBlock bytes; none in copies of older versions
};
RewriteSummary summarize(std::string_view content);

enum class RewriteState {
  Untouched,  // the file holds the old content: the rewrite never began, or was undone
  Finished,   // the file holds the new content whole
  CutOff,     // each block is the old or the new one, as a rewrite cut off leaves it
  Changed,    // anything else: the file was changed since, or is another one
};

// How the content `now` stands to a rewrite in place from `old` to the
// content `written` summarises. Bytes past the end of `old` may read as
// zeros (room reserved before it was written).
RewriteState rewriteState(std::string_view now, std::string_view old, const RewriteSummary& written);

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
  // together with what identifies the file and summarises `replacement`.
  // False, with nothing kept and `failure` saying why, when the folder or
  // the copy cannot be made or flushed.
  bool keep(const std::string& folder, const struct stat& file, const std::string& path, std::string_view old,
            std::string_view replacement, Failure& failure);
  // Removes the copy: its rewrite has been flushed.
  void drop();

 private:
  Descriptor folder_;
  Descriptor fd_;
  std::string name_;
};

// What a rescue copy in `folder` that outlived its rewrite means for the
// file at `path` (FileSystem::recoverCutOffSave says the rules): put back
// when the file is as the cut-off rewrite left it, removed when the file
// holds the old or the whole new content or is another file under a reused
// inode, InDoubt (nothing changed) when the file was changed since. Also
// removes unfinished copies (".new") that no running rewrite holds. Nothing
// when no copy remains or its rewrite is still running; Failed, with the
// copy kept, when the file cannot be read or written.
CutOffSave recoverFromRescueCopy(const std::string& folder, const std::string& path);

// The user's decision on a copy found InDoubt: the old content back
// (`restore`) or the file as it is; the copy goes unless restoring failed.
Recovery settleRescueCopy(const std::string& folder, const std::string& path, bool restore);

}  // namespace zl
