#include "posix/desktop_posix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

TEST(PosixDesktop, TheUsersFoldersFollowTheXdgVariablesAndUserDirs) {
  TempFolder home;
  const std::string realHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", home.path().substr(0, home.path().size() - 1).c_str(), 1);  // without its "/"
  ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: not taken
  DesktopFolders folders = userDesktopFolders();
  EXPECT_EQ(folders.data, home / "data");
  EXPECT_EQ(folders.config, home / ".config");
  EXPECT_EQ(folders.desktop, home / "Desktop");
  EXPECT_EQ(folders.documents, home / "Documents");

  std::filesystem::create_directories(home / ".config");
  writeBytes(home / ".config/user-dirs.dirs",
             "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
             "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  folders = userDesktopFolders();
  EXPECT_EQ(folders.desktop, home / "Schreibtisch");
  EXPECT_EQ(folders.documents, home / "Dokumente");
  EXPECT_EQ(userFolderIn("XDG_DESKTOP_DIR=\"/srv/Mein \\\"Tisch\\\"/\"\n", "DESKTOP", "/home/anna"), "/srv/Mein \"Tisch\"/");
  EXPECT_EQ(userFolderIn("XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DESKTOP_DIR=relative\n", "DESKTOP", "/home/anna"), "");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", realHome.c_str(), 1);
}

}  // namespace
}  // namespace zl
