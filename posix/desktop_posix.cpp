#include "posix/desktop_posix.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "posix/descriptors.h"

extern char** environ;

namespace zl {

namespace {

std::string absoluteOr(const char* variable, const std::string& fallback) {
  std::string value = environment(variable);
  return !value.empty() && value.front() == '/' ? value : fallback;
}

}  // namespace

PosixDesktopShell::PosixDesktopShell() : folders_(userDesktopFolders()) {}

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

std::string userFolderIn(std::string_view userDirs, std::string_view name, const std::string& home) {
  const std::string key = "XDG_" + std::string(name) + "_DIR=\"";
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
  folders.home = home;
  folders.data = absoluteOr("XDG_DATA_HOME", home + "/.local/share");
  folders.config = absoluteOr("XDG_CONFIG_HOME", home + "/.config");
  std::string userDirs;
  readWholeFile(folders.config + "/user-dirs.dirs", userDirs);
  folders.desktop = userFolderIn(userDirs, "DESKTOP", home);
  if (folders.desktop.empty()) folders.desktop = home + "/Desktop";
  folders.documents = userFolderIn(userDirs, "DOCUMENTS", home);
  if (folders.documents.empty()) folders.documents = home + "/Documents";
  for (std::string* folder : {&folders.home, &folders.data, &folders.config, &folders.desktop, &folders.documents})
    while (folder->size() > 1 && folder->back() == '/') folder->pop_back();
  return folders;
}

}  // namespace zl
