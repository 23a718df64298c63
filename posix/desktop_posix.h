// The desktop on Linux, the freedesktop.org way: the user's folders from
// the XDG variables and user-dirs.dirs, and the desktop's cache tools
// started without a shell (posix_spawnp) and waited for. Its files are
// written by the file system (file_system_posix.h).
//
// The folders are read once, when the shell is made; the process
// environment does not change while the program runs. Opening a URL needs
// the toolkit, so this class leaves it to qt/desktop_qt.h.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/system.h"

namespace zl {

class PosixDesktopShell : public DesktopShell {
 public:
  // The folders of the user running the program.
  PosixDesktopShell();
  // Folders of the caller's choice, for tests.
  explicit PosixDesktopShell(DesktopFolders folders) : folders_(std::move(folders)) {}

  DesktopFolders folders() override { return folders_; }
  void runTool(const std::string& tool, const std::vector<std::string>& arguments) override;

 private:
  DesktopFolders folders_;
};

// The folders of the user running the program: $XDG_DATA_HOME and
// $XDG_CONFIG_HOME where they are absolute paths, else ~/.local/share and
// ~/.config; the desktop and the documents folder as user-dirs.dirs in that
// config folder names them, else ~/Desktop and ~/Documents.
DesktopFolders userDesktopFolders();

// The folder that the text of a user-dirs.dirs names in its line
// XDG_<name>_DIR="$HOME/..." or XDG_<name>_DIR="/..." (name: DESKTOP,
// DOCUMENTS, ...), with a leading $HOME replaced by `home` and backslash
// escapes undone; "" when no line names it so.
std::string userFolderIn(std::string_view userDirs, std::string_view name, const std::string& home);

}  // namespace zl
