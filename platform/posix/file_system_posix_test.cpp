#include "platform/posix/file_system_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/fake/fake_platform.h"

namespace zl {
namespace {

namespace fs = std::filesystem;

class PosixFiles : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return folder / name; }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()));
  }
  TempFolder folder;
  FaultyFileSystem files;
};

TEST_F(PosixFiles, ReplacingWritesTheContentAndKeepsThePermissions) {
  writeBytes(path("a.ltk"), "old");
  ::chmod(path("a.ltk").c_str(), 0640);
  ASSERT_TRUE(files.replaceFile(path("a.ltk"), "new content"));
  EXPECT_EQ(readBytes(path("a.ltk")), "new content");
  struct stat st {};
  ::stat(path("a.ltk").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(entries(), 1u);
}

TEST_F(PosixFiles, ANewFileGetsTheUsualPermissions) {
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(files.replaceFile(path("new.ltk"), "x"));
  ::umask(mask);
  struct stat st {};
  ::stat(path("new.ltk").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(PosixFiles, ALinkKeepsPointingToTheReplacedFile) {
  fs::create_directory(path("real"));
  writeBytes(path("real/list.ltk"), "old");
  fs::create_symlink(path("real/list.ltk"), path("link.ltk"));
  ASSERT_TRUE(files.replaceFile(path("link.ltk"), "new"));
  EXPECT_TRUE(fs::is_symlink(path("link.ltk")));
  EXPECT_EQ(readBytes(path("real/list.ltk")), "new");
}

TEST_F(PosixFiles, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
  writeBytes(path("a.ltk"), std::string(10000, 'o'));
  files.bytesBeforeDiskFull = 100;
  EXPECT_FALSE(files.replaceFile(path("a.ltk"), std::string(20000, 'n')));
  files.bytesBeforeDiskFull = -1;
  files.failSync = true;
  EXPECT_FALSE(files.replaceFile(path("a.ltk"), "n"));
  EXPECT_EQ(readBytes(path("a.ltk")), std::string(10000, 'o'));
  EXPECT_EQ(entries(), 1u);
}

TEST_F(PosixFiles, NothingCanReplaceAFolderOrWriteIntoAMissingOne) {
  fs::create_directory(path("dir.ltk"));
  EXPECT_FALSE(files.replaceFile(path("dir.ltk"), "x"));
  EXPECT_FALSE(files.replaceFile(path("missing/a.ltk"), "x"));
  EXPECT_TRUE(fs::is_directory(path("dir.ltk")));
}

TEST_F(PosixFiles, ReadingGivesTheWholeFileAndRefusesFolders) {
  std::string big(3 * 1024 * 1024 + 7, 'b');
  big[12345] = '\0';
  writeBytes(path("big"), big);
  ByteBuffer content;
  ASSERT_TRUE(files.readFile(path("big"), content));
  EXPECT_EQ(viewOf(content), big);
  EXPECT_FALSE(files.readFile(path("."), content));
  EXPECT_FALSE(files.readFile(path("missing"), content));
  EXPECT_TRUE(content.empty());
  if (::geteuid() != 0) {  // root reads anything
    ::chmod(path("big").c_str(), 0);
    EXPECT_FALSE(files.readFile(path("big"), content));
  }
}

TEST_F(PosixFiles, StatusAndSameFile) {
  writeBytes(path("a"), "12345");
  fs::create_symlink(path("a"), path("b"));
  EXPECT_EQ(files.status(path("a")).size, 5u);
  EXPECT_TRUE(files.status(path("a")).regular);
  EXPECT_FALSE(files.status(folder.path()).regular);
  EXPECT_TRUE(files.status(folder.path()).exists);
  EXPECT_FALSE(files.status(path("none")).exists);
  EXPECT_TRUE(files.isSameFile(path("a"), path("b")));
  EXPECT_FALSE(files.isSameFile(path("a"), path("none")));
  writeBytes(path("c"), "12345");
  EXPECT_FALSE(files.isSameFile(path("a"), path("c")));
}

}  // namespace
}  // namespace zl
