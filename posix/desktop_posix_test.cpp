#include "posix/desktop_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

mode_t modeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(PosixDesktop, WritesWholeFilesInNewFoldersAndLeavesNoTemporaryFile) {
  TempFolder folder;
  FakeDesktop desktop;
  const std::string entry = folder / "a/b/c.desktop";
  ASSERT_TRUE(desktop.writeFile(entry, "new", FileKind::Whole, true));
  EXPECT_EQ(readBytes(entry), "new");
  EXPECT_EQ(modeOf(folder / "a"), 0700u);
  EXPECT_EQ(modeOf(entry) & 0111, (modeOf(entry) & 0444) >> 2);  // executable where readable
  EXPECT_NE(modeOf(entry) & 0100, 0u);

  // A replaced file keeps its mode; a link keeps pointing at the file.
  writeBytes(folder / "kept.list", "old");
  ::chmod((folder / "kept.list").c_str(), 0640);
  std::filesystem::create_symlink(folder / "kept.list", folder / "a/mimeapps.list");
  ASSERT_TRUE(desktop.writeFile(folder / "a/mimeapps.list", "new", FileKind::Kept, false));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "a/mimeapps.list"));
  EXPECT_EQ(readBytes(folder / "kept.list"), "new");
  EXPECT_EQ(modeOf(folder / "kept.list"), 0640u);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"a", "kept.list"}));

  // Where the user may not write, nothing changes and nothing is left.
  ::chmod((folder / "kept.list").c_str(), 0440);
  ::chmod((folder / "a/b").c_str(), 0500);
  const bool ran = asPlainUser({folder.path(), folder / "a", folder / "a/b", folder / "kept.list"}, [&] {
    EXPECT_FALSE(desktop.writeFile(folder / "kept.list", "other", FileKind::Kept, false));
    EXPECT_FALSE(desktop.writeFile(entry, "other", FileKind::Whole, true));
    EXPECT_FALSE(desktop.writeFile(folder / "a/b/d/e.desktop", "other", FileKind::Whole, false));
  });
  if (!ran) GTEST_SKIP() << "cannot run as a plain user";
  EXPECT_EQ(readBytes(folder / "kept.list"), "new");
  EXPECT_EQ(readBytes(entry), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "a/b"), {}), 1);
}

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

  std::filesystem::create_directories(home / ".config");
  writeBytes(home / ".config/user-dirs.dirs",
             "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  EXPECT_EQ(userDesktopFolders().desktop, home / "Schreibtisch");
  EXPECT_EQ(desktopFolderIn("XDG_DESKTOP_DIR=\"/srv/Mein \\\"Tisch\\\"/\"\n", "/home/anna"), "/srv/Mein \"Tisch\"/");
  EXPECT_EQ(desktopFolderIn("XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DESKTOP_DIR=relative\n", "/home/anna"), "");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", realHome.c_str(), 1);
}

}  // namespace
}  // namespace zl
