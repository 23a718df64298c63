#include "posix/system_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

class PosixSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("zl-posix-" + std::to_string(::getpid()));
    lockFolder_ = dir_ / "tmp" / ("zelvo-lingotak-" + std::to_string(::geteuid()));
    std::filesystem::create_directories(dir_ / "tmp");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // An instance of the program, with the test's stand-in for /tmp.
  std::unique_ptr<PosixSystem> instance() const { return std::make_unique<PosixSystem>((dir_ / "tmp").string()); }
  std::filesystem::path dir_, lockFolder_;
};

TEST_F(PosixSystemTest, OnlyOneHolderOfTheLockAtATime) {
  auto first = instance();
  EXPECT_FALSE(first->anotherInstanceRuns("Zelvo_Test"));
  EXPECT_TRUE(std::filesystem::exists(lockFolder_ / "Zelvo_Test.lock"));
  EXPECT_TRUE(instance()->anotherInstanceRuns("Zelvo_Test"));
  first.reset();  // the first instance ends: the lock is free again
  EXPECT_FALSE(instance()->anotherInstanceRuns("Zelvo_Test"));
}

// Regression: a start without /run/user/<uid> locked in /tmp, and once the
// runtime folder appeared (a login), a second start locked there and both
// ran; before that, a start with another $XDG_RUNTIME_DIR took a lock of
// its own.
TEST_F(PosixSystemTest, EveryStartOfTheUserMeetsTheSameLockWhateverTheRuntimeFolder) {
  const std::filesystem::path runtime = dir_ / "run";
  std::filesystem::create_directories(runtime);
  const struct {
    const char* first;   // $XDG_RUNTIME_DIR of the first start ("" unset)
    const char* second;  // and of the second
    mode_t runtimeMode;
  } cases[] = {{"", "run", 0700}, {"run", "", 0700}, {"run", "run", 01777}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " then " + c.second);
    ::chmod(runtime.c_str(), c.runtimeMode);
    const auto environment = [&](const char* name) {
      if (*name)
        ::setenv("XDG_RUNTIME_DIR", (dir_ / name).c_str(), 1);
      else
        ::unsetenv("XDG_RUNTIME_DIR");
    };
    environment(c.first);
    auto first = instance();
    EXPECT_FALSE(first->anotherInstanceRuns("Zelvo_Test"));
    environment(c.second);
    EXPECT_TRUE(instance()->anotherInstanceRuns("Zelvo_Test"));
  }
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(std::filesystem::directory_iterator(runtime), std::filesystem::directory_iterator());
}

// A file another process puts at the staged name between the steps of an
// installation is not what gets installed.
class SwappingSystem : public PosixSystem {
 protected:
  int renamePath(const std::string& from, const std::string& to, unsigned flags) override {
    if (from.ends_with(".upd")) {
      std::ofstream(from + ".other") << "not checked";
      std::filesystem::rename(from + ".other", from);
    }
    return PosixSystem::renamePath(from, to, flags);
  }
};

TEST_F(PosixSystemTest, OnlyTheCheckedFileIsInstalled) {
  const std::string program = (dir_ / "prog").string();
  std::ofstream(program) << "old";
  SwappingSystem system;
  const std::unique_ptr<NewProgramFile> update = system.createProgramFile(dir_.string());
  ASSERT_TRUE(update && update->write("new") && update->finish());
  EXPECT_FALSE(update->install(program, program + ".upd", program + ".tmp"));
  std::ifstream in(program);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "old");
  EXPECT_FALSE(std::filesystem::exists(program + ".tmp"));
}

TEST_F(PosixSystemTest, AFolderOrLinkAnotherUserCouldFillIsNeverUsed) {
  // Where another user could have put the lock and hold it for ever: the
  // folder as another user's, as one that others may write, and as another
  // user's link in /tmp to a folder with a held lock.
  const passwd* nobody = ::getpwnam("nobody");
  const bool root = ::geteuid() == 0 && nobody != nullptr;
  const auto held = dir_ / "held";
  for (const char* planted : {"owned", "open", "link"}) {
    SCOPED_TRACE(planted);
    if (!root && std::string_view(planted) != "open") continue;
    std::filesystem::remove_all(lockFolder_);
    std::filesystem::remove_all(held);
    std::filesystem::create_directories(held);
    ::chmod(held.c_str(), 0700);
    const int lock = ::open((held / "Zelvo_Test.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    if (std::string_view(planted) == "link") {
      ::chmod((dir_ / "tmp").c_str(), 01777);
      std::filesystem::create_directory_symlink(held, lockFolder_);
      ASSERT_EQ(::lchown(lockFolder_.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    } else {
      std::filesystem::rename(held, lockFolder_);
      if (std::string_view(planted) == "owned")
        ASSERT_EQ(::chown(lockFolder_.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
      else
        ::chmod(lockFolder_.c_str(), 0777);
    }
    EXPECT_FALSE(instance()->anotherInstanceRuns("Zelvo_Test"));  // the program starts all the same
    ::close(lock);
  }
}

TEST_F(PosixSystemTest, ALockThatCannotBeMadeLetsTheProgramRun) {
  std::filesystem::create_directories(lockFolder_ / "Zelvo_Dir.lock");  // a folder in the way
  ::chmod(lockFolder_.c_str(), 0700);
  EXPECT_FALSE(instance()->anotherInstanceRuns("Zelvo_Dir"));
}

TEST_F(PosixSystemTest, ALinkInPlaceOfTheLockFileIsNotFollowed) {
  const auto target = dir_ / "target";
  std::ofstream(target) << "keep";
  std::filesystem::create_directories(lockFolder_);
  ::chmod(lockFolder_.c_str(), 0700);
  std::filesystem::create_symlink(target, lockFolder_ / "Zelvo_Link.lock");
  instance()->anotherInstanceRuns("Zelvo_Link");
  std::ifstream in(target);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "keep");
}

// The program's file as another one: one put in its place (or none).
class MovedProgram : public PosixSystem {
 public:
  explicit MovedProgram(std::string path) : path_(std::move(path)) {}
  std::string executablePath() override { return path_; }

 private:
  std::string path_;
};

TEST_F(PosixSystemTest, TheProgramKnowsItsOwnFileAndWhenItWasReplaced) {
  PosixSystem system;
  EXPECT_EQ(std::filesystem::path(system.executablePath()).filename(), "zl_core_tests");
  EXPECT_FALSE(system.programFileReplaced());
  std::ofstream(dir_ / "other") << "another program";
  EXPECT_TRUE(MovedProgram((dir_ / "other").string()).programFileReplaced());
  EXPECT_TRUE(MovedProgram(system.executablePath() + " (deleted)").programFileReplaced());
}

// Regression: the restart after an update gave up on the old instance after
// 60 seconds, took it for a second one and ended.
TEST_F(PosixSystemTest, TheRestartOfAnUpdateWaitsForTheOldInstanceToEnd) {
  const std::string tmp = (dir_ / "tmp").string();
  const std::string self = PosixSystem().executablePath();  // this program plays the old one
  int release[2], report[2];
  ASSERT_EQ(::pipe(release), 0);
  ASSERT_EQ(::pipe(report), 0);
  const pid_t old = ::fork();
  if (old == 0) {         // the old instance: starts the new one, holds the lock, ends when told
    if (::fork() == 0) {  // the new instance, as after exec: without the old one's descriptors
      PosixSystem restarted(tmp);
      const bool waited = restarted.waitForUpdatingInstance(self);
      const char answer[2] = {waited ? 'w' : '-', restarted.anotherInstanceRuns("Zelvo_Test") ? '-' : 'r'};
      ::_exit(::write(report[1], answer, 2) == 2 ? 0 : 1);
    }
    PosixSystem system(tmp);
    if (system.anotherInstanceRuns("Zelvo_Test")) ::_exit(2);
    char byte = 0;
    ::_exit(::read(release[0], &byte, 1) == 1 ? 0 : 1);
  }
  ::close(report[1]);
  pollfd answered{report[0], POLLIN, 0};
  EXPECT_EQ(::poll(&answered, 1, 500), 0);  // still waiting while the old one runs
  ASSERT_EQ(::write(release[1], "x", 1), 1);
  char answer[3] = {};
  EXPECT_EQ(::read(report[0], answer, 2), 2);
  EXPECT_STREQ(answer, "wr");  // it waited, then took the lock
  ASSERT_EQ(::waitpid(old, nullptr, 0), old);
  for (const int fd : {release[0], release[1], report[0]}) ::close(fd);
  // Started by another program than the old one (this test's runner), it
  // goes on at once.
  EXPECT_FALSE(PosixSystem(tmp).waitForUpdatingInstance(self));
}

TEST_F(PosixSystemTest, RelativePathsBecomeFullPathsFromTheWorkingDirectory) {
  std::filesystem::create_directories(dir_ / "lists");
  std::filesystem::create_directory_symlink(dir_ / "lists", dir_ / "link");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_ / "lists");
  const std::string real = std::filesystem::canonical(dir_).string();
  PosixSystem system;
  EXPECT_EQ(system.fullPath("neu.ltk"), real + "/lists/neu.ltk");
  EXPECT_EQ(system.fullPath("./neu.ltk"), real + "/lists/neu.ltk");
  EXPECT_EQ(system.fullPath("../link/neu.ltk"), real + "/lists/neu.ltk");
  EXPECT_EQ(system.fullPath("missing/sub/neu.ltk"), real + "/lists/missing/sub/neu.ltk");
  EXPECT_EQ(system.fullPath("/abs/../neu.ltk"), "/abs/../neu.ltk");  // a full path stays as given
  EXPECT_EQ(system.fullPath(""), "");
  std::filesystem::current_path(before);
}

TEST_F(PosixSystemTest, AdministratorMeansTheAssociationsFoldersAndListCanBeWritten) {
  const auto data = dir_ / "data", config = dir_ / "config", list = config / "mimeapps.list";
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);  // with applications/, without mime/ and icons/
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  std::filesystem::create_directories(data / "applications");
  std::filesystem::create_directories(config);
  std::ofstream(list) << "[Default Applications]\n";
  ::chmod(list.c_str(), 0400);
  const bool ran = asPlainUser({dir_, data, data / "applications", config, list}, [&] {
    PosixSystem system;
    EXPECT_FALSE(system.isAdministrator());  // the list cannot be written
    ::chmod(list.c_str(), 0600);
    EXPECT_TRUE(system.isAdministrator());  // the nearest existing folders are the user's
    ::chmod((data / "applications").c_str(), 0500);
    EXPECT_FALSE(system.isAdministrator());
  });
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  if (!ran) GTEST_SKIP() << "cannot run as a plain user";
}

}  // namespace
}  // namespace zl
