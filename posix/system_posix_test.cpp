#include "posix/system_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    runtime_ = dir_ / "run" / std::to_string(::geteuid());
    std::filesystem::create_directories(runtime_);
    std::filesystem::create_directories(dir_ / "tmp");
    ::chmod(runtime_.c_str(), 0700);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // An instance of the program, with the test's stand-ins for /run/user and /tmp.
  std::unique_ptr<PosixSystem> instance() const {
    return std::make_unique<PosixSystem>((dir_ / "run").string(), (dir_ / "tmp").string());
  }
  std::filesystem::path dir_, runtime_;
};

TEST_F(PosixSystemTest, OnlyOneHolderOfTheLockAtATime) {
  auto first = instance();
  EXPECT_FALSE(first->anotherInstanceRuns("Zelvo_Test"));
  EXPECT_TRUE(std::filesystem::exists(runtime_ / "Zelvo_Test.lock"));
  EXPECT_TRUE(instance()->anotherInstanceRuns("Zelvo_Test"));
  first.reset();  // the first instance ends: the lock is free again
  EXPECT_FALSE(instance()->anotherInstanceRuns("Zelvo_Test"));
}

// Regression: without /run/user/<uid>, a start with another
// $XDG_RUNTIME_DIR took a lock of its own, and two instances ran.
TEST_F(PosixSystemTest, TheSameUserMeetsTheSameLockWhateverTheEnvironment) {
  std::filesystem::create_directories(dir_ / "elsewhere");
  const struct {
    bool runtimeFolder;
    mode_t elsewhere;  // the folder the variable names: the user's alone, or not
  } cases[] = {{true, 0700}, {false, 0700}, {false, 01777}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.runtimeFolder ? "with" : "without") + " /run/user/<uid>, elsewhere " +
                 std::to_string(c.elsewhere));
    if (!c.runtimeFolder) std::filesystem::remove_all(runtime_);
    ::chmod((dir_ / "elsewhere").c_str(), c.elsewhere);
    ::setenv("XDG_RUNTIME_DIR", (dir_ / "elsewhere").c_str(), 1);
    auto first = instance();
    EXPECT_FALSE(first->anotherInstanceRuns("Zelvo_Test"));
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(instance()->anotherInstanceRuns("Zelvo_Test"));
  }
}

// A file another process puts at the staged name between the steps of an
// installation is not what gets installed.
class SwappingSystem : public PosixSystem {
 protected:
  int renamePath(const std::string& from, const std::string& to) override {
    if (from.ends_with(".upd")) {
      std::ofstream(from + ".other") << "not checked";
      std::filesystem::rename(from + ".other", from);
    }
    return PosixSystem::renamePath(from, to);
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

TEST_F(PosixSystemTest, AFolderAnotherUserCouldFillIsNeverUsed) {
  // Where another user could have put the lock, to hold it for ever.
  const auto planted = dir_ / "tmp" / ("zelvo-lingotak-" + std::to_string(::geteuid()));
  std::filesystem::create_directories(planted);
  const passwd* nobody = ::getpwnam("nobody");
  if (::geteuid() == 0 && nobody != nullptr) {
    ASSERT_EQ(::chown(planted.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  } else {
    ::chmod(planted.c_str(), 0777);
  }
  ::chmod(runtime_.c_str(), 0777);
  ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);  // also when the environment names it
  std::vector<int> held;
  for (const auto& folder : {planted, runtime_}) {
    held.push_back(::open((folder / "Zelvo_Test.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    ASSERT_EQ(::flock(held.back(), LOCK_EX), 0);
  }
  EXPECT_FALSE(instance()->anotherInstanceRuns("Zelvo_Test"));  // the program starts all the same
  for (const int fd : held) ::close(fd);
  ::unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(PosixSystemTest, ALockThatCannotBeMadeLetsTheProgramRun) {
  std::filesystem::create_directories(runtime_ / "Zelvo_Dir.lock");  // a folder in the way
  EXPECT_FALSE(instance()->anotherInstanceRuns("Zelvo_Dir"));
}

TEST_F(PosixSystemTest, ALinkInPlaceOfTheLockFileIsNotFollowed) {
  const auto target = dir_ / "target";
  std::ofstream(target) << "keep";
  std::filesystem::create_symlink(target, runtime_ / "Zelvo_Link.lock");
  instance()->anotherInstanceRuns("Zelvo_Link");
  std::ifstream in(target);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "keep");
}

TEST_F(PosixSystemTest, TheProgramKnowsItsOwnFile) {
  PosixSystem system;
  EXPECT_EQ(std::filesystem::path(system.executablePath()).filename(), "zl_core_tests");
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
