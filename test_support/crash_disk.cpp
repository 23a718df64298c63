#include "test_support/crash_disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <utility>

extern "C" {
int zl_crash_recording = 0;
void zl_crash_step(const char* call, int fd, int kind);
}

namespace zl {

namespace {

CrashDisk* recorder = nullptr;
pid_t recordingThread = 0;
bool noting = false;  // while a step is noted: its own calls are none

std::string procPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// The path of the folder open at `fd`, with its trailing "/".
std::string folderPath(int fd) {
  char path[4096];
  const ssize_t n = ::readlink(procPath(fd).c_str(), path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) + "/" : std::string();
}

// The pages of `written` and of `synced` in turn (a page that `synced`
// lacks reads as zeros), as long as `written`.
std::string torn(const std::string& written, const std::string& synced) {
  constexpr std::size_t Page = 4096;
  std::string bytes = written;
  for (std::size_t page = Page; page < bytes.size(); page += 2 * Page)
    for (std::size_t i = page; i < std::min(page + Page, bytes.size()); ++i)
      bytes[i] = i < synced.size() ? synced[i] : '\0';
  return bytes;
}

void writeWhole(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n <= 0) throw std::runtime_error("cannot restore a file");
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

CrashDisk::CrashDisk(std::vector<std::string> roots) : roots_(std::move(roots)) {
  struct stat st {};
  if (roots_.empty() || ::stat(roots_.front().c_str(), &st) != 0) throw std::runtime_error("no folder to watch");
  device_ = st.st_dev;
}

CrashDisk::~CrashDisk() {
  for (const int fd : carriers_) ::close(fd);
}

void CrashDisk::record(const std::function<void()>& work) {
  Step start = snapshot();
  start.call = "the start";
  for (std::size_t file = 0; file < start.contents.size(); ++file) start.synced[file] = start.contents[file];
  steps_ = {std::move(start)};
  recorder = this;
  recordingThread = ::gettid();
  zl_crash_recording = 1;
  work();
  zl_crash_recording = 0;
  recorder = nullptr;
}

void CrashDisk::note(const char* call, int fd, int kind) {
  int file = -1;
  std::string syncedFolder;
  if (kind != 0) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return;
    if (S_ISDIR(st.st_mode) && kind == 2) {
      syncedFolder = folderPath(fd);
      if (std::none_of(roots_.begin(), roots_.end(), [&](const auto& root) { return syncedFolder.starts_with(root); }))
        return;
    } else if (S_ISREG(st.st_mode) && st.st_dev == device_) {
      file = fileOf(st, procPath(fd));
    } else {
      return;  // a pipe, a terminal, another disk
    }
  }
  Step step = snapshot();
  step.call = call;
  if (!syncedFolder.empty()) step.folderSynced[syncedFolder] = step.lastSync = static_cast<int>(steps_.size());
  if (kind == 2 && file >= 0)
    step.synced[static_cast<std::size_t>(file)] = step.contents[static_cast<std::size_t>(file)];
  steps_.push_back(std::move(step));
}

CrashDisk::Step CrashDisk::snapshot() const {
  Step step;
  if (!steps_.empty()) {
    step.synced = steps_.back().synced;
    step.folderSynced = steps_.back().folderSynced;
    step.lastSync = steps_.back().lastSync;
  }
  for (const std::string& root : roots_) list(root, step);
  for (std::size_t file = 0; file < carriers_.size(); ++file)
    step.contents.push_back(readContent(static_cast<int>(file)));
  step.synced.resize(carriers_.size());
  return step;
}

void CrashDisk::list(const std::string& folder, Step& step) const {
  Listing& listing = step.folders[folder];
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> folders;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::lstat((folder + name).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      listing[name] = kFolder;
      folders.push_back(folder + name + "/");
    } else if (S_ISREG(st.st_mode)) {
      listing[name] = fileOf(st, folder + name);
    }
  }
  ::closedir(dir);
  for (const std::string& sub : folders) list(sub, step);
}

int CrashDisk::fileOf(const struct stat& st, const std::string& openable) const {
  const auto [known, added] = numbers_.try_emplace({st.st_dev, st.st_ino}, static_cast<int>(carriers_.size()));
  if (added) {
    const int fd = ::open(openable.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot keep a file open: " + openable);
    carriers_.push_back(fd);
  }
  return known->second;
}

std::string CrashDisk::readContent(int file) const {
  std::string content;
  char buffer[65536];
  for (off_t offset = 0;;) {
    const ssize_t n = ::pread(carriers_[static_cast<std::size_t>(file)], buffer, sizeof buffer, offset);
    if (n <= 0) return content;
    content.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
}

std::map<std::string, CrashDisk::Listing> CrashDisk::syncedNames(int cut) const {
  const Step& at = steps_[static_cast<std::size_t>(cut)];
  std::map<std::string, Listing> names;
  std::vector<std::string> pending = roots_;
  while (!pending.empty()) {
    const std::string folder = pending.back();
    pending.pop_back();
    const auto synced = at.folderSynced.find(folder);
    const Step& then = steps_[synced == at.folderSynced.end() ? 0 : static_cast<std::size_t>(synced->second)];
    const auto listing = then.folders.find(folder);
    Listing& kept = names[folder];
    if (listing == then.folders.end()) continue;  // made since, and never synced: empty
    kept = listing->second;
    for (const auto& [name, file] : kept)
      if (file == kFolder) pending.push_back(folder + name + "/");
  }
  return names;
}

DiskState CrashDisk::stateOf(const std::map<std::string, Listing>& names, const Step& at, int data) const {
  DiskState state;
  for (const auto& [folder, listing] : names) {
    if (std::find(roots_.begin(), roots_.end(), folder) == roots_.end()) state.folders.push_back(folder);
    for (const auto& [name, file] : listing) {
      if (file == kFolder) continue;
      state.files[folder + name] = file;
      const auto number = static_cast<std::size_t>(file);
      const std::string synced = at.synced[number].value_or("");
      const std::string& written = at.contents[number];
      state.contents[file] = data == 0 ? synced : data == 1 ? written : torn(written, synced);
    }
  }
  return state;
}

std::vector<DiskState> CrashDisk::statesAfter(int cut) const {
  const Step& at = steps_[static_cast<std::size_t>(cut)];
  std::vector<std::pair<std::string, std::map<std::string, Listing>>> names = {{"names as synced", syncedNames(cut)}};
  for (int step = at.lastSync; step <= cut; ++step)
    names.emplace_back("names as after step " + std::to_string(step), steps_[static_cast<std::size_t>(step)].folders);
  std::vector<DiskState> states;
  for (const auto& [howNamed, listings] : names) {
    for (int data = 0; data < 3; ++data) {
      DiskState state = stateOf(listings, at, data);
      if (std::find(states.begin(), states.end(), state) != states.end()) continue;
      state.how = "power cut after step " + std::to_string(cut) + " of " + std::to_string(steps()) + " (" + at.call +
                  "): " + howNamed + ", data " +
                  (data == 0   ? "as synced"
                   : data == 1 ? "as written"
                               : "torn");
      states.push_back(std::move(state));
    }
  }
  return states;
}

void CrashDisk::restore(const DiskState& state) {
  namespace fs = std::filesystem;
  // The files that still exist keep their inodes: held under a name of
  // their own while the folders are emptied.
  std::map<int, std::string> held;
  for (const auto& [file, content] : state.contents) {
    const int carrier = carriers_[static_cast<std::size_t>(file)];
    struct stat st {};
    const std::string hold = roots_.front() + ".crash-held-" + std::to_string(file);
    if (::fstat(carrier, &st) == 0 && st.st_nlink > 0 &&
        ::linkat(AT_FDCWD, procPath(carrier).c_str(), AT_FDCWD, hold.c_str(), AT_SYMLINK_FOLLOW) == 0)
      held[file] = hold;
  }
  for (const std::string& root : roots_)
    for (const auto& entry : fs::directory_iterator(root))
      if (!entry.path().filename().string().starts_with(".crash-held-")) fs::remove_all(entry.path());
  for (const std::string& folder : state.folders) fs::create_directory(folder);
  std::map<int, std::string> made;
  for (const auto& [path, file] : state.files) {
    const std::string& content = state.contents.at(file);
    if (const auto first = made.find(file); first != made.end()) {
      fs::create_hard_link(first->second, path);
    } else if (const auto kept = held.find(file); kept != held.end()) {
      fs::create_hard_link(kept->second, path);
      const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
      writeWhole(fd, content);
      ::close(fd);
    } else {
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      writeWhole(fd, content);
      ::close(std::exchange(carriers_[static_cast<std::size_t>(file)], fd));
    }
    made.emplace(file, path);
  }
  for (const auto& [file, hold] : held) ::unlink(hold.c_str());
}

}  // namespace zl

extern "C" void zl_crash_step(const char* call, int fd, int kind) {
  if (!zl::recorder || zl::noting || ::gettid() != zl::recordingThread) return;
  const int saved = errno;
  zl::noting = true;
  zl::recorder->note(call, fd, kind);
  zl::noting = false;
  errno = saved;
}
