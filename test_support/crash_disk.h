// A simulated power cut. While it records, a CrashDisk notes every change
// below its folders that the program makes (each write, truncation, new
// file, rename, link, removal: a step) and every sync, and keeps what the
// folders and files held after each step. From that it tells the states in
// which a power cut after any step may leave the disk, as a journaling file
// system does (ext4 with data=ordered, xfs):
//   - names: only what the syncs of their folders made lasting, or the
//     names as they were after any step since the last sync of a folder
//     (the journal keeps the order of the changes);
//   - data: as last synced (a file never synced is empty), as written, or
//     torn between the two, page by page;
// and it puts such a state on the disk, so that what the program does at
// its next start can be run on it and its result checked. A file that
// still exists keeps its inode there, as it would on a real disk (a rescue
// copy names the file by it).
//
// It sees the calls of the program's own code: the test program links
// crash_disk_calls.cpp, which takes them over. Only one CrashDisk records
// at a time, on the thread that called record().
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zl {

// The folders and files below the roots as a power cut left them.
struct DiskState {
  std::string how;                      // which cut and which choices, for a test's trace
  std::vector<std::string> folders;     // every folder below the roots, with its trailing "/", parents first
  std::map<std::string, int> files;     // each file's path and the file it names (several names: hard links)
  std::map<int, std::string> contents;  // each file's content
  bool operator==(const DiskState& other) const {
    return folders == other.folders && files == other.files && contents == other.contents;
  }
};

class CrashDisk {
 public:
  // Watches `roots` (folders with their trailing "/", on one file system),
  // which stay in place after any power cut.
  explicit CrashDisk(std::vector<std::string> roots);
  ~CrashDisk();
  CrashDisk(const CrashDisk&) = delete;
  CrashDisk& operator=(const CrashDisk&) = delete;

  // Runs `work` and records its steps. What the folders hold before is
  // taken to be on the disk whole.
  void record(const std::function<void()>& work);
  // How many steps were recorded; a power cut can come after any of them,
  // or (0) before the first.
  int steps() const { return static_cast<int>(steps_.size()) - 1; }
  // Every different state that a power cut after step `cut` can leave.
  std::vector<DiskState> statesAfter(int cut) const;
  // Puts `state` below the roots in place of what is there now.
  void restore(const DiskState& state);

  // Called for each step by the calls taken over (crash_disk_calls.cpp):
  // `kind` 0 a change of names, 1 of the content at `fd`, 2 a sync of `fd`.
  void note(const char* call, int fd, int kind);

 private:
  using Listing = std::map<std::string, int>;  // name → file, or kFolder
  static constexpr int kFolder = -1;
  struct Step {
    std::string call;
    std::map<std::string, Listing> folders;          // each folder that exists, with its trailing "/"
    std::vector<std::string> contents;               // each file's content, by its number
    std::vector<std::optional<std::string>> synced;  // as last synced; none: never
    std::map<std::string, int> folderSynced;         // each folder's last sync: the step
    int lastSync = 0;                                // the last sync of any folder
  };

  Step snapshot() const;
  void list(const std::string& folder, Step& step) const;
  int fileOf(const struct stat& st, const std::string& openable) const;
  std::string readContent(int file) const;
  // The names that the syncs up to `cut` made lasting.
  std::map<std::string, Listing> syncedNames(int cut) const;
  DiskState stateOf(const std::map<std::string, Listing>& names, const Step& at, int data) const;

  std::vector<std::string> roots_;
  dev_t device_ = 0;
  std::vector<Step> steps_;
  // Each file seen, by its number: a descriptor that keeps it (a file
  // removed and a new one would otherwise share its inode), and its inode.
  mutable std::vector<int> carriers_;
  mutable std::map<std::pair<dev_t, ino_t>, int> numbers_;
};

}  // namespace zl
