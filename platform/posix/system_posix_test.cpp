#include "platform/posix/system_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zl {
namespace {

class PosixSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("zl-posix-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(PosixSystemTest, OnlyOneHolderOfTheLockAtATime) {
  auto first = std::make_unique<PosixSystem>();
  EXPECT_FALSE(first->anotherInstanceRuns("Zelvo_Test"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Zelvo_Test.lock"));
  {
    PosixSystem second;
    EXPECT_TRUE(second.anotherInstanceRuns("Zelvo_Test"));
  }
  first.reset();  // the first instance ends: the lock is free again
  PosixSystem third;
  EXPECT_FALSE(third.anotherInstanceRuns("Zelvo_Test"));
}

TEST_F(PosixSystemTest, ALockThatCannotBeMadeLetsTheProgramRun) {
  std::filesystem::create_directories(dir_ / "Zelvo_Dir.lock");  // a folder in the way
  PosixSystem system;
  EXPECT_FALSE(system.anotherInstanceRuns("Zelvo_Dir"));
}

TEST_F(PosixSystemTest, ALinkInPlaceOfTheLockFileIsNotFollowed) {
  const auto target = dir_ / "target";
  std::ofstream(target) << "keep";
  std::filesystem::create_symlink(target, dir_ / "Zelvo_Link.lock");
  PosixSystem system;
  system.anotherInstanceRuns("Zelvo_Link");
  std::ifstream in(target);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "keep");
}

TEST_F(PosixSystemTest, FilesAndFolders) {
  PosixSystem system;
  const std::string file = (dir_ / "a.tmp").string();
  std::ofstream(file) << "x";
  EXPECT_TRUE(system.isRegularFile(file));
  EXPECT_FALSE(system.isRegularFile(dir_.string()));
  system.removeFile(file);
  EXPECT_FALSE(system.isRegularFile(file));
  system.removeFile(file);  // a second removal is silently ignored
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

TEST_F(PosixSystemTest, AdministratorMeansTheDataFolderCanBeWritten) {
  ::setenv("XDG_DATA_HOME", (dir_ / "not" / "yet" / "there").c_str(), 1);
  PosixSystem system;
  EXPECT_TRUE(system.isAdministrator());  // the nearest existing folder is ours
  if (::geteuid() != 0) {                 // root may write anywhere
    const auto locked = dir_ / "locked";
    std::filesystem::create_directories(locked);
    ::chmod(locked.c_str(), 0500);
    ::setenv("XDG_DATA_HOME", locked.c_str(), 1);
    EXPECT_FALSE(system.isAdministrator());
    ::chmod(locked.c_str(), 0700);
  }
  ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace zl
