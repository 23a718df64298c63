#include "posix/file_system_posix.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "test_support/fake_platform.h"

namespace zl {

// Every umask call of this test program, counted: the mask is the whole
// process's, and while a save has it changed, files that other threads
// create get the wrong mode.
int umaskCalls = 0;

namespace {

namespace fs = std::filesystem;

const char* const kNoPlainUser = "no user without root's rights to run as";

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

TEST_F(PosixFiles, SavingNeverTouchesTheProcessUmask) {
  writeBytes(path("a.ltk"), "old");
  umaskCalls = 0;
  ASSERT_TRUE(files.replaceFile(path("new.ltk"), "x"));
  ASSERT_TRUE(files.replaceFile(path("a.ltk"), "new", path("a.lts")));
  EXPECT_EQ(umaskCalls, 0);
}

TEST_F(PosixFiles, TheBackupKeepsTheModeAndOwnerOfTheOldFile) {
  const passwd* nobody = ::getpwnam("nobody");
  const uid_t owner = ::geteuid() == 0 && nobody ? nobody->pw_uid : ::geteuid();  // root saves another's file
  for (const bool moreLinks : {false, true}) {  // the backup made by swapping names, or by a copy
    SCOPED_TRACE(moreLinks ? "copied" : "swapped");
    writeBytes(path("a.lts"), "an older backup, and longer");  // lends its room to the new content
    ::chmod(path("a.lts").c_str(), 0600);
    writeBytes(path("a.ltk"), "old");
    ::chmod(path("a.ltk").c_str(), 0640);
    ASSERT_EQ(::chown(path("a.ltk").c_str(), owner, -1), 0);
    if (moreLinks) fs::create_hard_link(path("a.ltk"), path("other.ltk"));
    ASSERT_TRUE(files.replaceFile(path("a.ltk"), "new", path("a.lts")));
    struct stat st {};
    ::stat(path("a.lts").c_str(), &st);
    EXPECT_EQ(readBytes(path("a.lts")), "old");
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, owner);
    ::stat(path("a.ltk").c_str(), &st);
    EXPECT_EQ(readBytes(path("a.ltk")), "new");
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, owner);
  }
  writeBytes(path("b.lts"), "old");  // a backup saved as such is not its own backup
  ASSERT_TRUE(files.replaceFile(path("b.lts"), "new", path("b.lts")));
  EXPECT_EQ(readBytes(path("b.lts")), "new");
}

TEST_F(PosixFiles, AFileThatNoNewFileMayReplaceIsRewrittenInPlace) {
  // A file with a second hard link, one in a folder that takes no new file,
  // and, when root can stand in for a user, another user's file in a sticky
  // folder, where only the owner may rename it.
  const std::vector<std::string> names = {"a", "locked/a", "shared/a"};
  fs::create_directory(path("locked"));
  fs::create_directory(path("shared"));
  for (const std::string& name : names) {
    writeBytes(path(name + ".ltk"), "old and longer");
    ::chmod(path(name + ".ltk").c_str(), 0666);
  }
  fs::create_hard_link(path("a.ltk"), path("link.ltk"));
  ::chmod(path("locked").c_str(), 0555);
  ::chmod(path("shared").c_str(), 01777);
  const bool ran = asPlainUser({folder.path(), path("a.ltk"), path("locked"), path("locked/a.ltk")}, [&] {
    for (const std::string& name : names)
      EXPECT_TRUE(files.replaceFile(path(name + ".ltk"), "new", path(name + ".lts"))) << name;
  });
  ::chmod(path("locked").c_str(), 0755);  // so that the test's folder can be removed
  if (!ran) GTEST_SKIP() << kNoPlainUser;
  for (const std::string& name : names) EXPECT_EQ(readBytes(path(name + ".ltk")), "new") << name;
  EXPECT_EQ(readBytes(path("link.ltk")), "new");          // the links still share the file
  EXPECT_EQ(readBytes(path("a.lts")), "old and longer");  // a real copy, made first
}

TEST_F(PosixFiles, ASaveClearsWhatKilledSavesLeftButNotARunningSave) {
  writeBytes(path("a.ltk"), "old");
  const pid_t child = ::fork();
  if (child == 0) {
    files.beforeWrite = [] { ::raise(SIGKILL); };
    files.replaceFile(path("a.ltk"), "killed");
    ::_exit(0);
  }
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  ASSERT_EQ(entries(), 2u);  // the killed save's temporary file
  files.beforeWrite = [&] { EXPECT_TRUE(PosixFileSystem().replaceFile(path("b.ltk"), "b")); };
  EXPECT_TRUE(files.replaceFile(path("a.ltk"), "new"));
  EXPECT_EQ(readBytes(path("a.ltk")), "new");
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.ltk", "b.ltk"}));
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

extern "C" mode_t umask(mode_t mask) {
  ++zl::umaskCalls;
  return static_cast<mode_t>(::syscall(SYS_umask, mask));
}
