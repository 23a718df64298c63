#include "posix/desktop_posix.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "posix/descriptors.h"

extern char** environ;

namespace zl {

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string absoluteOr(const char* variable, const std::string& fallback) {
  std::string value = environment(variable);
  return !value.empty() && value.front() == '/' ? value : fallback;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Makes `folder` and the folders above it that are missing, mode 0700: the
// user's data and config folders are the user's alone.
bool makeFolders(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = folderOf(folder);
  if (parent != folder && !makeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// True when the link at `link` may have been put there to lead a write
// elsewhere: another user owns it, in a folder that others may write too.
bool plantedLink(const std::string& link, const struct stat& st) {
  struct stat folder {};
  return st.st_uid != ::geteuid() &&
         (::stat(folderOf(link).c_str(), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0);
}

// The file that the kept file at `path` is: `path` itself or the file its
// links lead to, followed one by one (mimeapps.list is often a link into a
// folder of kept settings). False at a planted link or a circle of links.
bool keptFile(const std::string& path, std::string& file) {
  constexpr int MaxLinks = 40;  // as many links in a row as the kernel follows
  file = path;
  for (int links = 0; links < MaxLinks; ++links) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    if (plantedLink(file, st)) return false;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(file.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) == sizeof target) return false;
    const std::string next(target, static_cast<std::size_t>(n));
    file = next.front() == '/' ? next : folderOf(file) + "/" + next;
  }
  return false;
}

bool readWhole(const std::string& path, std::string& content) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const bool ok = fd >= 0 && readAll(fd, content);
  if (fd >= 0) ::close(fd);
  if (!ok) content.clear();
  return ok;
}

// Creates a new, empty file beside `target` under a name of its own.
int createTemporary(const std::string& target, std::string& name) {
  static std::mt19937 random{std::random_device{}()};
  const std::size_t slash = target.rfind('/');
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + "." + std::to_string(random()) + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

PosixDesktopShell::PosixDesktopShell() : folders_(userDesktopFolders()) {}

bool PosixDesktopShell::hasFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixDesktopShell::readFile(const std::string& path, std::string& content) {
  std::string file;
  content.clear();
  return keptFile(path, file) && readWhole(file, content);
}

bool PosixDesktopShell::writeFile(const std::string& path, std::string_view content, FileKind kind, bool executable) {
  std::string target = path;
  if (kind == FileKind::Kept && !keptFile(path, target)) return false;
  // A link still at `target` is at a file made whole: the rename replaces it.
  struct stat old {};
  const bool replacing = ::lstat(target.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
  if (replacing && (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
    return false;
  }
  if (!makeFolders(folderOf(target))) return false;
  std::string temporary;
  const int fd = createTemporary(target, temporary);
  if (fd < 0) return false;
  struct stat created {};
  bool ok = ::fstat(fd, &created) == 0;
  mode_t mode = replacing ? old.st_mode & 0777 : created.st_mode & 0777;
  if (executable) mode |= (mode & 0444) >> 2;
  ok = ok && ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

bool PosixDesktopShell::removeFile(const std::string& path, const std::string& root, FileKind kind) {
  std::string file = path;
  if (kind == FileKind::Kept && !keptFile(path, file)) return false;
  if (file != path) return writeFile(file, "", kind, false);
  if (::unlink(path.c_str()) != 0) return errno == ENOENT;
  for (std::string folder = folderOf(path); folder.size() > root.size() && folder.starts_with(root + "/");
       folder = folderOf(folder)) {
    if (::rmdir(folder.c_str()) != 0) break;
  }
  return true;
}

void PosixDesktopShell::runTool(const std::string& tool, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(tool.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // The tools talk about what they did; the user sees none of it.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
  }
  pid_t pid = 0;
  const int failed = ::posix_spawnp(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

std::string desktopFolderIn(std::string_view userDirs, const std::string& home) {
  static constexpr std::string_view key = "XDG_DESKTOP_DIR=\"";
  std::string folder;
  while (!userDirs.empty()) {
    const std::size_t end = userDirs.find('\n');
    std::string_view line = userDirs.substr(0, end);
    userDirs.remove_prefix(end == std::string_view::npos ? userDirs.size() : end + 1);
    if (!line.starts_with(key) || !line.ends_with('"')) continue;
    line = line.substr(key.size(), line.size() - key.size() - 1);
    std::string value;
    if (line.starts_with("$HOME")) {
      value = home;
      line.remove_prefix(5);
    } else if (!line.starts_with('/')) {
      continue;
    }
    for (std::size_t i = 0; i < line.size(); ++i) value += line[i] == '\\' && i + 1 < line.size() ? line[++i] : line[i];
    folder = value;  // the last such line counts, as when the shell reads the file
  }
  return folder;
}

DesktopFolders userDesktopFolders() {
  const std::string home = environment("HOME");
  DesktopFolders folders;
  folders.data = absoluteOr("XDG_DATA_HOME", home + "/.local/share");
  folders.config = absoluteOr("XDG_CONFIG_HOME", home + "/.config");
  std::string userDirs;
  readWhole(folders.config + "/user-dirs.dirs", userDirs);
  folders.desktop = desktopFolderIn(userDirs, home);
  if (folders.desktop.empty()) folders.desktop = home + "/Desktop";
  for (std::string* folder : {&folders.data, &folders.config, &folders.desktop})
    while (folder->size() > 1 && folder->back() == '/') folder->pop_back();
  return folders;
}

}  // namespace zl
